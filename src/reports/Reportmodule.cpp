#include "Reportmodule.h"

#include "DeviceTexts.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "ReportTexts.h"

using namespace report;

namespace {

TPrintHandler ModuleColumn(
    std::string (*text)(const TModuleTexts&, const TPX10ConfigDeviceConfiguration&, int))
{
    return [text](const TPrintRun& run, std::string& value, TFontSpec&) {
        const TModuleTexts texts(*run.Config.Modules);
        value = text(texts, *run.Config.Modules, run.RecNo);
    };
}

} // namespace

TfrmReportModules::TfrmReportModules()
    : TReport("frmReportModules", Rows)
{
    Title.Height = 15.0;
    AddStandardBands(*this, "Modules");
    AddHeading("Address", 0.0, 23.5, TAlign::Center);
    AddHeading("Description", 25.4, 48.9, TAlign::Left);
    AddHeading("Zone", 76.2, 21.4, TAlign::Center);
    AddHeading("Type", 101.6, 21.4, TAlign::Center);
    AddHeading("Action", 129.1, 18.3, TAlign::Left);
    AddHeading("CBE Rule", 152.4, 29.9, TAlign::Center);

    Detail.Height = 8.5;
    AddColumn("AddressLabel", 0.0, 23.5, TAlign::Center,
        [](const TPrintRun& run, std::string& value, TFontSpec&) { value = TwoDigits(run.RecNo); });
    AddColumn("DescriptionLabel", 25.4, 48.9, TAlign::Left,
        ModuleColumn([](const auto&, const auto& m, int a) { return FromConfig(m.GetDescription(a)); }));
    AddColumn("ZoneLabel", 80.4, 13.0, TAlign::Center,
        ModuleColumn([](const auto&, const auto& m, int a) { return TwoDigits(m.GetZone(a)); }));
    AddColumn("TypeLabel", 95.2, 34.1, TAlign::Center,
        ModuleColumn([](const auto& t, const auto&, int a) { return t.ModuleTypeText(a); }));
    AddColumn("ActionLabel", 129.1, 18.3, TAlign::Left, ModuleColumn([](const auto& t, const auto&, int a) {
        const std::string action = t.GetAction(a);
        return action.empty() ? action : Translate(action);
    }));
    AddColumn("RuleLabel", 150.3, 38.4, TAlign::Center, ModuleColumn([](const auto& t, const auto& m, int a) {
        // Read without the rule-1 repair: printing never changes the configuration.
        return FunctionTakesCBERules(m.GetType(a), t.StoredAction(a)) ? m.GetShownCBERuleListText(a)
                                                                      : std::string();
    }));
}
