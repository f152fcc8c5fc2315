#include "Reportsensor.h"

#include "DeviceEditRules.h"
#include "DeviceTexts.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "ReportTexts.h"

using namespace report;

namespace {

// A sensor column: `text` gets the sensor texts of the run's configuration.
TPrintHandler SensorColumn(
    std::string (*text)(const TSensorTexts&, const TPX10ConfigDeviceConfiguration&, int))
{
    return [text](const TPrintRun& run, std::string& value, TFontSpec&) {
        const TSensorTexts texts(*run.Config.Sensors, PanelHasGroups(run.Config));
        value = text(texts, *run.Config.Sensors, run.RecNo);
    };
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
    AddHeading("A.Num.", 183.4, 0, TAlign::Left);
    Title.Labels.back().OnPrint = [](const TPrintRun&, std::string& value, TFontSpec&) { value = "A.Num."; };

    Detail.Height = 5.0;
    AddColumn("AddressLabel", 0.0, 23.5, TAlign::Center,
        [](const TPrintRun& run, std::string& value, TFontSpec&) { value = TwoDigits(run.RecNo); });
    AddColumn("DescriptionLabel", 24.6, 48.9, TAlign::Left,
        SensorColumn([](const auto&, const auto& s, int a) { return FromConfig(s.GetDescription(a)); }));
    AddColumn("ZoneLabel", 74.1, 21.4, TAlign::Center,
        SensorColumn([](const auto&, const auto& s, int a) { return TwoDigits(s.GetZone(a)); }));
    AddColumn("TypeLabel", 95.2, 21.4, TAlign::Center,
        SensorColumn([](const auto& t, const auto&, int a) { return t.SensorTypeText(a); }));
    AddColumn("AlarmLabel", 116.4, 15.1, TAlign::Center, SensorColumn([](const auto& t, const auto&, int a) {
        return Joined(t.GetFireSensitivity(a), t.GetPrealarmSensitivity(a));
    }));
    AddColumn("DayLabel", 131.2, 13.0, TAlign::Center, SensorColumn([](const auto& t, const auto&, int a) {
        return Joined(t.GetDayModeSensitivity(a), t.GetDaymodePrealarmSensitivity(a));
    }));
    AddColumn("GroupLabel", 144.2, 13.0, TAlign::Center, SensorColumn([](const auto&, const auto& s, int a) {
        const int type = s.GetType(a);
        return (type >= 2 && type <= 7) || (type >= 9 && type <= 11) ? std::to_string(s.GetGroup(a))
                                                                     : std::string();
    }));
    AddColumn("RemOPLabel", 158.0, 23.5, TAlign::Left, SensorColumn([](const auto&, const auto& s, int a) {
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
    AddColumn("ANumLabel", 183.4, 0, TAlign::Left, SensorColumn([](const auto& t, const auto&, int a) {
        const std::string n = t.GetApplNumber(a);
        return n.empty() ? std::string(" - ") : n;
    }));
}
