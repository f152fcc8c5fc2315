#include "Reportpanel.h"

#include "CodePage.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "PanelTypeList.h"
#include "Panelsetupoptionslogic.h"
#include "ReportTexts.h"

using namespace report;
using platform::Cp1252ToUtf8;

namespace {

using Setup = TPX10ConfigGeneralPanelSetup;
using Value = std::string (*)(const TPX10ConfigData&, const TReportContext&, int recNo);

// A heading prints its caption bold; a sub-heading in normal weight. Both
// print on the page of the row under them.
enum RowKind { Plain, Heading, SubHeading };

struct PanelReportRow {
    const char* Caption;
    RowKind Kind;
    Value Formatter; // null: blank
};

const Setup& G(const TPX10ConfigData& c)
{
    return *c.GeneralPanelSetup;
}

std::string Item(PanelOption option, int code)
{
    return ItemOf(PanelSetupOptions::OptionItems(option), code);
}

std::string WithUnit(int value, const char* unit)
{
    return std::to_string(value) + " " + Translate(unit);
}

#define PX10_VALUE(expr)                                                                                     \
    [](const TPX10ConfigData& c, const TReportContext& x, int n) -> std::string { return expr; }

std::string PhoneNo(const TPX10ConfigData& c, const TReportContext&, int n)
{
    const int item = TfrmReportPanel::GsmItemOfRow(n);
    return item ? Cp1252ToUtf8(c.GsmItems->GetNumber(item)) : std::string();
}

std::string GsmOptions(const TPX10ConfigData& c, const TReportContext&, int n)
{
    const int item = TfrmReportPanel::GsmItemOfRow(n);
    return item ? TfrmReportPanel::GsmOptionsText(c, item) : std::string();
}

std::string RS232Options(const TPX10ConfigData& c, const TReportContext&, int)
{
    // A GSM modem has no options list: nothing to print.
    const auto* list
        = PanelSetupOptions::RS232OptionsListFor(G(c).GetRS232Protocol(), c.FileHeader->GetPanelType());
    if (!list || list->empty())
        return {};
    const int v = G(c).GetRS232Options();
    return ItemOf(*list, v >= 0 && v < int(list->size()) ? v : 0);
}

// Entries 1 to 83 in print order; entry 0 holds no row.
const PanelReportRow PanelReportRows[TfrmReportPanel::Rows + 1] = {
    { "", Plain, nullptr },
    { IvNative("Panel Options"), Heading, nullptr },
    // Every panel type a configuration may hold, received ones included.
    { IvNative("Panel Type:"), Plain, PX10_VALUE(ItemOfData(PanelTypesAll(), c.FileHeader->GetPanelType())) },
    { IvNative("Date Format:"), Plain, PX10_VALUE(Item(PanelOption::DateFormat, G(c).GetDateFormat())) },
    { IvNative("Control Keys Require:"), Plain, PX10_VALUE(YesNo(G(c).GetControlKeys(), "YES", "NO")) },
    { IvNative("Level 2 Access"), Plain, nullptr },
    { IvNative("Control Key 3 Mode:"), Plain,
        PX10_VALUE(Item(PanelOption::ControlKey3Mode, G(c).GetControlKey3Mode())) },
    { IvNative("LED 1H Mode:"), Plain, PX10_VALUE(Item(PanelOption::LED1HMode, G(c).GetLED1HMode())) },
    { IvNative("LED 2C Mode:"), Plain, PX10_VALUE(Item(PanelOption::LED2CMode, G(c).GetLED2CMode())) },
    { IvNative("Un-mute Internal Tone:"), Plain,
        PX10_VALUE(Item(PanelOption::UnmuteOption, G(c).GetUnmuteOption())) },
    { IvNative("Automatic Resound Mode:"), Plain,
        PX10_VALUE(Item(PanelOption::AutoResoundMode, G(c).GetAutoResoundMode())) },
    { IvNative("Lamp Test at Access Level 1:"), Plain,
        PX10_VALUE(Item(PanelOption::LampTest, G(c).GetLampTest())) },
    { IvNative("Torq Protocol:"), Plain, PX10_VALUE(Item(PanelOption::TorqSwitch, G(c).GetTorqSwitch())) },
    { IvNative("Event Printing:"), Plain,
        PX10_VALUE(YesNo(G(c).GetEventPrinting(), "Continuous", "On-Demand")) },
    { IvNative("Print Format:"), Plain,
        PX10_VALUE(YesNo(G(c).GetPrintFormat(), "Double Height", "Single Height")) },
    { IvNative("Mains Fault Delay:"), Plain, PX10_VALUE(std::to_string(G(c).GetMainsDelay())) },
    { "", Plain, nullptr },
    { IvNative("Site Details"), Heading, nullptr },
    { IvNative("Site Name:"), Plain, PX10_VALUE(Cp1252ToUtf8(G(c).GetSiteName())) },
    { IvNative("Service Phone No.:"), Plain, PX10_VALUE(Cp1252ToUtf8(G(c).GetServicePhoneNo())) },
    { "", Plain, nullptr },
    { IvNative("Device Options"), Heading, nullptr },
    { IvNative("Device Blinking:"), Plain, PX10_VALUE(YesNo(G(c).GetBlinking(), "ON", "OFF")) },
    { IvNative("Sensors Blinking Colour:"), Plain,
        PX10_VALUE(
            G(c).GetBlinking() ? YesNo(G(c).GetSensorsBlinkColour(), "Green", "Red") : Translate("N/A")) },
    { IvNative("Modules Blinking Colour:"), Plain,
        PX10_VALUE(
            G(c).GetBlinking() ? YesNo(G(c).GetModulesBlinkColour(), "Red", "Green") : Translate("N/A")) },
    { IvNative("Pulse Ratio:"), Plain, PX10_VALUE(std::string(G(c).GetPulseRatio() ? "4:1" : "1:1")) },
    { IvNative("Automatic Hightest Time:"), Plain,
        PX10_VALUE(G(c).GetHightestTimeText(x.TimeSeparator) + " ["
            + YesNo(G(c).GetHightestEnable(), "ENABLED", "DISABLED") + "]") },
    { IvNative("Transmission Device:"), Plain,
        PX10_VALUE(YesNo(G(c).GetTransmissionDevice(), "6s Pulse", "Continuous")) },
    { IvNative("TD/ES Auto Disable:"), Plain, PX10_VALUE(YesNo(G(c).GetRoutingAutoDisable(), "Yes", "No")) },
    { IvNative("Digital Input 1:"), Plain,
        PX10_VALUE(YesNo(G(c).GetDigitalInput1(), "Day Mode Start", "Class Change")) },
    { IvNative("Fireman's Work Panel:"), Plain,
        PX10_VALUE(Item(PanelOption::FiremansWorkPanelOption, G(c).GetFiremansWorkPanelOption())) },
    { IvNative("FWP Input 4 Disable:"), Plain,
        PX10_VALUE(YesNo(G(c).GetFWPInput4Disable(), "Sounders", "Extinguishant")) },
    { IvNative("FWP 2 Output Activation:"), Plain,
        PX10_VALUE(YesNo(G(c).GetFWP2OutputActivation(), "On Transmission Device Return Signal",
            "On Transmission Device Trigger")) },
    { IvNative("Extinguishing System"), SubHeading, nullptr },
    { IvNative("Activation Delay Time:"), Plain, PX10_VALUE(WithUnit(G(c).GetExtSystemDelay(), "seconds")) },
    { IvNative("Soak Time:"), Plain, PX10_VALUE(WithUnit(G(c).GetExtSystemSoakTime(), "seconds")) },
    { IvNative("Hold Switch Operation:"), Plain,
        PX10_VALUE(Item(PanelOption::HoldSwitchOperation, G(c).GetHoldSwitchOperation())) },
    { IvNative("Suppress Double Address:"), Plain,
        PX10_VALUE(Item(PanelOption::SuppressDoubleAddress, G(c).GetSuppressDoubleAddress())) },
    { IvNative("Max. Number of Head LEDs:"), Plain,
        PX10_VALUE(Item(PanelOption::MaxHeadLEDs, G(c).GetMaxHeadLEDs())) },
    { IvNative("Day Mode Device Sensitivity"), SubHeading, nullptr },
    { IvNative("Start Time:"), Plain, PX10_VALUE(G(c).GetDayModeSensitivityStartTimeText(x.TimeSeparator)) },
    { IvNative("End Time:"), Plain, PX10_VALUE(G(c).GetDayModeSensitivityEndTimeText(x.TimeSeparator)) },
    { IvNative("Weekend Night Mode:"), Plain,
        PX10_VALUE(YesNo(G(c).GetWeekendSensitivityNightMode(), "ENABLED", "DISABLED")) },
    { "", Plain, nullptr },
    { IvNative("Peripheral Options"), Heading, nullptr },
    { IvNative("RS485"), Heading, nullptr },
    { IvNative("RS485 Protocol:"), Plain,
        PX10_VALUE(ItemOf(PanelSetupOptions::RS485DefaultProtocolList(), G(c).GetRS485Protocol())) },
    { IvNative("No. of Repeaters:"), Plain, PX10_VALUE(std::to_string(G(c).GetRS485QtyRepeaters())) },
    { IvNative("Third Party Data Mon:"), Plain,
        PX10_VALUE(YesNo(G(c).GetRS485ThirdPartyDatalinkMonitoring(), "Enabled", "Disabled")) },
    { IvNative("Third Party Suspend Comms Limit:"), Plain,
        PX10_VALUE(WithUnit(G(c).GetRS485ThirdPartySuspendCommsLimit(), "minutes")) },
    { IvNative("RS232"), Heading, nullptr },
    { IvNative("RS232 Protocol:"), Plain,
        PX10_VALUE(ItemOf(PanelSetupOptions::RS232ProtocolList(), G(c).GetRS232Protocol())) },
    { IvNative("RS232 Options:"), Plain, RS232Options },
    { IvNative("Third Party Data Mon:"), Plain,
        PX10_VALUE(YesNo(G(c).GetRS232ThirdPartyDatalinkMonitoring(), "Enabled", "Disabled")) },
    { IvNative("Third Party Suspend Comms Limit:"), Plain,
        PX10_VALUE(WithUnit(G(c).GetRS232ThirdPartySuspendCommsLimit(), "minutes")) },
    { IvNative("GSM Item 1"), Heading, nullptr },
    { IvNative("Phone No.:"), Plain, PhoneNo },
    { IvNative("Options:"), Plain, GsmOptions },
    { IvNative("GSM Item 2"), Heading, nullptr },
    { IvNative("Phone No.:"), Plain, PhoneNo },
    { IvNative("Options:"), Plain, GsmOptions },
    { IvNative("GSM Item 3"), Heading, nullptr },
    { IvNative("Phone No.:"), Plain, PhoneNo },
    { IvNative("Options:"), Plain, GsmOptions },
    { IvNative("GSM Item 4"), Heading, nullptr },
    { IvNative("Phone No.:"), Plain, PhoneNo },
    { IvNative("Options:"), Plain, GsmOptions },
    { IvNative("GSM Item 5"), Heading, nullptr },
    { IvNative("Phone No.:"), Plain, PhoneNo },
    { IvNative("Options:"), Plain, GsmOptions },
    { "", Plain, nullptr },
    { IvNative("Day/Night Settings"), Heading, nullptr },
    { IvNative("Day Mode Delays"), SubHeading, nullptr },
    { IvNative("Start Time:"), Plain, PX10_VALUE(G(c).GetDayModeStartTimeText(x.TimeSeparator)) },
    { IvNative("End Time:"), Plain, PX10_VALUE(G(c).GetDayModeEndTimeText(x.TimeSeparator)) },
    { IvNative("Night Mode"), SubHeading, nullptr },
    { IvNative("Weekend Night Mode:"), Plain,
        PX10_VALUE(YesNo(G(c).GetWeekendNightMode(), "ENABLED", "DISABLED")) },
    { IvNative("Day Mode Start:"), Plain,
        PX10_VALUE(YesNo(G(c).GetDayModeStartOption(), "AUTOMATIC", "MANUAL")) },
    { IvNative("Primary Delay Time:"), Plain, PX10_VALUE(WithUnit(G(c).GetPrimaryDelay(), "seconds")) },
    { IvNative("Extend Delay Time:"), Plain, PX10_VALUE(WithUnit(G(c).GetExtendDelay(), "minutes")) },
    { IvNative("Heat Detectors End Delays:"), Plain,
        PX10_VALUE(YesNo(G(c).GetHeatDetectorsEndDelays(), "YES", "NO")) },
    // Stored inverted, as the editor's check box reads it.
    { IvNative("Two Alarm Zones End Delays:"), Plain,
        PX10_VALUE(YesNo(G(c).GetDayModeNewAlarmOption() != 0, "NO", "YES")) },
    { IvNative("Delays Active Indication:"), Plain,
        PX10_VALUE(Item(PanelOption::DelaysActiveIndication, G(c).GetDelaysActiveIndication())) },
    { "", Plain, nullptr },
};
#undef PX10_VALUE

} // namespace

TfrmReportPanel::TfrmReportPanel()
    : TReport("frmReportPanel", Rows)
{
    Title.Height = 12.0;
    AddStandardBands(*this, "Panel Setup Options");
    Detail.Height = 5.0;
    AddColumn(
        "Col1Label", 6.3, 0, TAlign::Left, [](const TPrintRun& run, std::string& value, TFontSpec& font) {
            const int n = run.RecNo;
            if (n > 0 && n <= Rows) {
                value = Translate(PanelReportRows[n].Caption);
                font.Bold = PanelReportRows[n].Kind == Heading;
            } else
                value.clear();
        });
    AddColumn("Col2Label", 82.5, 0, TAlign::Left, [](const TPrintRun& run, std::string& value, TFontSpec&) {
        const int n = run.RecNo;
        const Value f = n >= 1 && n <= Rows ? PanelReportRows[n].Formatter : nullptr;
        value = f ? f(run.Config, run.Context, n) : std::string();
    });
    Detail.Labels.front().Font.Bold = true; // bold at design time; each row sets its weight
    KeepWithNext = [](const TPrintRun& run) { return IsHeadingRow(run.RecNo); };
}

bool TfrmReportPanel::IsHeadingRow(int n)
{
    return n >= 1 && n <= Rows && PanelReportRows[n].Kind != Plain;
}

int TfrmReportPanel::GsmItemOfRow(int n)
{
    // Rows 55 to 69: a heading, "Phone No.:" and "Options:" per item.
    if (n < 55 || n > 69)
        return 0;
    return (n - 55) / 3 + 1;
}

std::string TfrmReportPanel::GsmOptionsText(const TPX10ConfigData& config, int i)
{
    const TPX10ConfigGsmItems& g = *config.GsmItems;
    const auto& qty = PanelSetupOptions::GsmQuantityItems();
    const struct {
        bool Set;
        const char* Name;
        int Quantity; // -1: none printed
    } conditions[] = {
        { g.GetAlarm(i), IvNative("Alarm"), g.GetQtyAlarm(i) },
        { g.GetFault(i), IvNative("Fault"), g.GetQtyFault(i) },
        { g.GetPrealarm(i), IvNative("Pre-alarm"), g.GetQtyPreAlarm(i) },
        { g.GetControls(i), IvNative("Controls"), -1 },
        { g.GetGeneralDisable(i), IvNative("General Disable"), -1 },
        { g.GetZoneDisable(i), IvNative("Zone Disable"), -1 },
        { g.GetDeviceDisable(i), IvNative("Device Disable"), -1 },
        { g.GetSystemDisable(i), IvNative("System Disable"), -1 },
    };
    std::string text;
    for (const auto& c : conditions) {
        if (!c.Set)
            continue;
        if (!text.empty())
            text += ", ";
        text += Translate(c.Name);
        if (c.Quantity >= 0)
            text += "(" + ItemOf(qty, c.Quantity) + ")";
    }
    return text;
}
