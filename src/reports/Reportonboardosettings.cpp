#include "Reportonboardosettings.h"

#include "Ivdictio.h"
#include "Onboardoutputlogic.h"
#include "PX10ConfigData.h"
#include "ReportTexts.h"

using namespace report;

namespace {
// A handler of the circuit lines; the empty lines print nothing.
TPrintHandler ForCircuit(std::string (*text)(const TPX10ConfigOnboardOutputCircuits&, int circuit))
{
    return [text](const TPrintRun& run, std::string& value, TFontSpec&) {
        const int c = TfrmReportOnboardOutputs::CircuitOfLine(run.RecNo);
        value = c >= 1 && c <= onboard::CircuitCount ? text(*run.Config.OnboardOutputCircuits, c)
                                                     : std::string();
    };
}
} // namespace

TfrmReportOnboardOutputs::TfrmReportOnboardOutputs()
    : TReport("frmReportOnboardOutputs", Rows)
{
    Title.Height = 15.0;
    AddStandardBands(*this, "Onboard Output Settings");
    AddHeading("Output Circuit", 4.2, 0, TAlign::Left);
    AddHeading("Config.", 69.8, 29.9, TAlign::Center);
    AddHeading("CBE Rule", 110.1, 78.6, TAlign::Left);
    Detail.Height = 5.0;
    AddColumn("OutputCircuitLabel", 4.2, 0, TAlign::Left, ForCircuit([](const auto&, int c) {
        return Translate(onboard::CircuitLabels().at(std::size_t(c - 1)));
    }));
    AddColumn("ConfigLabel", 59.3, 23.5, TAlign::Center,
        ForCircuit([](const auto& o, int c) { return ItemOf(onboard::TypeList(), o.GetCircuitType(c)); }));
    AddColumn("EOLLabel", 84.7, 23.5, TAlign::Center, ForCircuit([](const auto& o, int c) {
        if (c > onboard::EOLCircuits)
            return std::string();
        return ItemOf(onboard::EOLTexts(), onboard::IsDiode(o.GetEOLMode(), c) ? 1 : 0);
    }));
    AddColumn("RuleLabel", 110.1, 78.6, TAlign::Left,
        ForCircuit([](const auto& o, int c) { return o.GetCircuitRuleListText(c); }));
}
