#include "Reportmodule.h"

#include "DeviceTexts.h"
#include "DeviceCells.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"

using namespace report;

namespace {

TPrintHandler ModuleColumn(std::string (*text)(const TModuleTexts&, int))
{
    return [text](const TPrintRun& run, std::string& value, TFontSpec&) {
        value = text(TModuleTexts(*run.Config.Modules), run.RecNo);
    };
}

// The module grid's cell of `field`.
template <TModuleField field> std::string Cell(const TModuleTexts& texts, int a)
{
    return CellText(ModuleColumns, field, texts, a);
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
    AddColumn("AddressLabel", 0.0, 23.5, TAlign::Center, ModuleColumn(Cell<mfAddress>));
    AddColumn("DescriptionLabel", 25.4, 48.9, TAlign::Left, ModuleColumn(Cell<mfDescription>));
    AddColumn("ZoneLabel", 80.4, 13.0, TAlign::Center, ModuleColumn(Cell<mfZone>));
    // Protocol, model and function in one column, a channel 2 or 3 naming the
    // model of its first channel.
    AddColumn("TypeLabel", 95.2, 34.1, TAlign::Center,
        ModuleColumn([](const auto& t, int a) { return t.ModuleTypeText(a); }));
    // The grid's action, translated as the report prints its texts.
    AddColumn("ActionLabel", 129.1, 18.3, TAlign::Left, ModuleColumn([](const auto& t, int a) {
        const std::string action = Cell<mfAction>(t, a);
        return action.empty() ? action : Translate(action);
    }));
    AddColumn("RuleLabel", 150.3, 38.4, TAlign::Center, ModuleColumn(Cell<mfCBERule>));
}
