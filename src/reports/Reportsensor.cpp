#include "Reportsensor.h"

#include "DeviceCells.h"
#include "DeviceEditRules.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"

using namespace report;

namespace {

// A sensor column: `text` gets the sensor texts of the run's configuration.
TPrintHandler SensorColumn(std::string (*text)(const TSensorTexts&, int))
{
    return [text](const TPrintRun& run, std::string& value, TFontSpec&) {
        value = text(TSensorTexts(*run.Config.Sensors, PanelHasGroups(run.Config)), run.RecNo);
    };
}

// The sensor grid's cell of `field`.
template <TSensorField field> std::string Cell(const TSensorTexts& texts, int a)
{
    return CellText(SensorColumns, field, texts, a);
}

std::string Joined(const std::string& first, const std::string& second)
{
    return second.empty() ? first : first + ", " + second;
}

} // namespace

TfrmReportSensors::TfrmReportSensors()
    : TReport("frmReportSensors", Rows)
{
    Title.Height = 15.0;
    AddStandardBands(*this, "Sensors");
    AddHeading("Address", 0.0, 23.5, TAlign::Center);
    AddHeading("Description", 24.6, 48.9, TAlign::Left);
    AddHeading("Zone", 74.1, 21.4, TAlign::Center);
    AddHeading("Type", 95.2, 21.4, TAlign::Center);
    AddHeading("Alarm", 116.4, 15.1, TAlign::Center);
    AddHeading("Day", 131.2, 13.0, TAlign::Center);
    AddHeading("Group", 144.2, 13.0, TAlign::Center);
    AddHeading("Rem.Op.", 158.0, 23.5, TAlign::Left);
    // Its column at the page's edge is narrower than the heading: the
    // heading ends at the edge instead, whole on its line.
    AddHeading("A.Num.", 177.0, 13.0, TAlign::Right);
    Title.Labels.back().OnPrint = [](const TPrintRun&, std::string& value, TFontSpec&) { value = "A.Num."; };

    Detail.Height = 5.0;
    AddColumn("AddressLabel", 0.0, 23.5, TAlign::Center, SensorColumn(Cell<sfAddress>));
    AddColumn("DescriptionLabel", 24.6, 48.9, TAlign::Left, SensorColumn(Cell<sfDescription>));
    AddColumn("ZoneLabel", 74.1, 21.4, TAlign::Center, SensorColumn(Cell<sfZone>));
    // The grid's protocol and type cells joined, as the CBE rule editor names a sensor.
    AddColumn("TypeLabel", 95.2, 21.4, TAlign::Center,
        SensorColumn([](const auto& t, int a) { return t.SensorTypeText(a); }));
    AddColumn("AlarmLabel", 116.4, 15.1, TAlign::Center,
        SensorColumn([](const auto& t, int a) { return Joined(Cell<sfAlarm>(t, a), Cell<sfPA>(t, a)); }));
    AddColumn("DayLabel", 131.2, 13.0, TAlign::Center,
        SensorColumn([](const auto& t, int a) { return Joined(Cell<sfDay>(t, a), Cell<sfPD>(t, a)); }));
    // Every type that can have a group prints it, on any panel; the grid shows
    // it only where it can be edited.
    AddColumn("GroupLabel", 144.2, 13.0, TAlign::Center, SensorColumn([](const auto& t, int a) {
        const auto& s = t.Devices();
        const int type = s.GetType(a);
        return (type >= 2 && type <= 7) || (type >= 9 && type <= 11) ? std::to_string(s.GetGroup(a))
                                                                     : std::string();
    }));
    // The remote output with the whole rule list, which the grid cuts to 40
    // characters in a column of its own.
    AddColumn("RemOPLabel", 158.0, 23.5, TAlign::Left, SensorColumn([](const auto& t, int a) {
        const auto& s = t.Devices();
        switch (s.GetRemoteOutput(a)) {
        case 1:
            return Translate("Follow");
        case devicecode::RemoteOutputCbe:
            // Read without the rule-1 repair: printing never changes the configuration.
            return Translate("CBE:") + s.GetShownCBERuleListText(a);
        default:
            return std::string(" - ");
        }
    }));
    // The application number as the sensor grid shows it.
    AddColumn("ANumLabel", 183.4, 0, TAlign::Left, SensorColumn([](const auto& t, int a) {
        const std::string n = Cell<sfAppNum>(t, a);
        return n.empty() ? std::string(" - ") : n;
    }));
}
