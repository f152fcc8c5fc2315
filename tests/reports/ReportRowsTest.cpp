// The report forms as text rows: what each line prints for a configuration.
#include "DeviceColumns.h"
#include "Panelsetupoptions.h"
#include "Printtabledataset.h"
#include "ReportJob.h"
#include "Reportonboardosettings.h"
#include "Reportpanel.h"
#include "support/FullConfiguration.h"

#include <QCheckBox>
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <set>

using namespace report;

namespace {

struct Reports : ::testing::Test {
    TPX10ConfigData Config { false, false, true, false };
    TReportContext Context;
    TReportForms Forms;

    std::vector<std::string> Row(const TReport& r, int n) const { return r.RowTexts(Config, Context, n); }
    std::string Value(int n) const { return Row(Forms.Of(TReportKind::Panel), n).at(1); }
    std::string Caption(int n) const { return Row(Forms.Of(TReportKind::Panel), n).at(0); }
};

TEST_F(Reports, PanelValuesOfAFreshConfiguration)
{
    EXPECT_EQ(Value(26), "00:00 [DISABLED]");
    EXPECT_TRUE(std::regex_match(Value(15), std::regex("[0-9]+")));
    EXPECT_EQ(Value(34), std::to_string(Config.GeneralPanelSetup->GetExtSystemDelay()) + " seconds");
    EXPECT_EQ(Value(79), std::to_string(Config.GeneralPanelSetup->GetExtendDelay()) + " minutes");
    for (int n : { 5, 33, 39, 72, 75 }) {
        EXPECT_FALSE(Caption(n).empty()) << n;
        EXPECT_EQ(Caption(n).find(':'), std::string::npos) << n;
        EXPECT_EQ(Value(n), "") << n;
    }
    for (int n : { 16, 20, 43, 70, 83 })
        EXPECT_EQ(Row(Forms.Of(TReportKind::Panel), n), (std::vector<std::string> { "", "" })) << n;
    // Outside the rows nothing prints.
    EXPECT_EQ(Row(Forms.Of(TReportKind::Panel), 84), (std::vector<std::string> { "", "" }));
}

// Every row of the panel report for a configuration that differs from a new
// one wherever it can, as the row table of the report reads.
TEST_F(Reports, PanelReportPrintsEveryRowAsItsTableGivesIt)
{
    auto& g = *Config.GeneralPanelSetup;
    Config.FileHeader->SetPanelType(2);
    g.SetDateFormat(2);
    g.SetControlKeys(true);
    g.SetControlKey3Mode(1);
    g.SetLED1HMode(2);
    g.SetLED2CMode(1);
    g.SetUnmuteOption(1);
    g.SetAutoResoundMode(1);
    g.SetLampTest(true);
    g.SetTorqSwitch(true);
    g.SetEventPrinting(true);
    g.SetPrintFormat(true);
    g.SetMainsDelay(45);
    g.SetSiteName("Main Street Depot");
    g.SetServicePhoneNo("01632 960123");
    g.SetBlinking(true);
    g.SetSensorsBlinkColour(true);
    g.SetModulesBlinkColour(true);
    g.SetPulseRatio(1);
    g.SetHightestTimeText("07:45");
    g.SetHightestEnable(true);
    g.SetTransmissionDevice(true);
    g.SetRoutingAutoDisable(1);
    g.SetDigitalInput1(true);
    g.SetFiremansWorkPanelOption(1);
    g.SetFWPInput4Disable(true);
    g.SetFWP2OutputActivation(1);
    g.SetExtSystemDelay(90);
    g.SetExtSystemSoakTime(600);
    g.SetHoldSwitchOperation(2);
    g.SetSuppressDoubleAddress(1);
    g.SetMaxHeadLEDs(true);
    g.SetDayModeSensitivityStartTimeText("06:30");
    g.SetDayModeSensitivityEndTimeText("18:15");
    g.SetWeekendSensitivityNightMode(true);
    g.SetRS485Protocol(4);
    g.SetRS485QtyRepeaters(7);
    g.SetRS485ThirdPartyDatalinkMonitoring(true);
    g.SetRS485ThirdPartySuspendCommsLimit(120);
    g.SetRS232Protocol(0);
    g.SetRS232Options(1);
    g.SetRS232ThirdPartyDatalinkMonitoring(false);
    g.SetRS232ThirdPartySuspendCommsLimit(30);
    g.SetDayModeStartTimeText("08:00");
    g.SetDayModeEndTimeText("17:30");
    g.SetWeekendNightMode(false);
    g.SetDayModeStartOption(true);
    g.SetPrimaryDelay(180);
    g.SetExtendDelay(5);
    g.SetHeatDetectorsEndDelays(false);
    g.SetDayModeNewAlarmOption(1);
    g.SetDelaysActiveIndication(1);
    auto& gsm = *Config.GsmItems;
    // Item by item: alarm, fault, pre-alarm, controls, general, zone,
    // device and system disable; quantities of alarm, fault, pre-alarm.
    const int flags[5][11] = { { 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0 }, { 0, 1, 1, 0, 0, 0, 0, 0, 0, 2, 0 },
        { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }, { 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0 },
        { 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0 } };
    for (int i = 1; i <= 5; ++i) {
        const int* f = flags[i - 1];
        gsm.SetNumber(i, "07700 90012" + std::to_string(i));
        gsm.SetAlarm(i, f[0]);
        gsm.SetFault(i, f[1]);
        gsm.SetPrealarm(i, f[2]);
        gsm.SetControls(i, f[3]);
        gsm.SetGeneralDisable(i, f[4]);
        gsm.SetZoneDisable(i, f[5]);
        gsm.SetDeviceDisable(i, f[6]);
        gsm.SetSystemDisable(i, f[7]);
        gsm.SetQtyAlarm(i, f[8]);
        gsm.SetQtyFault(i, f[9]);
        gsm.SetQtyPreAlarm(i, f[10]);
    }
    const struct {
        const char* Caption;
        const char* Value;
    } rows[83] = { { "Panel Options", "" }, { "Panel Type:", "412-302-xxx : PX20" },
        { "Date Format:", "yyyy/mm/dd" }, { "Control Keys Require:", "YES" }, { "Level 2 Access", "" },
        { "Control Key 3 Mode:", "Transmission Device Enable/Disable" },
        { "LED 1H Mode:", "F.C. System Fault" }, { "LED 2C Mode:", "Fault Output: Fault/Disable" },
        { "Un-mute Internal Tone:", "On new device in alarm" }, { "Automatic Resound Mode:", "New Zone" },
        { "Lamp Test at Access Level 1:", "Yes" }, { "Torq Protocol:", "Enabled" },
        { "Event Printing:", "Continuous" }, { "Print Format:", "Double Height" },
        { "Mains Fault Delay:", "45" }, { "", "" }, { "Site Details", "" },
        { "Site Name:", "Main Street Depot" }, { "Service Phone No.:", "01632 960123" }, { "", "" },
        { "Device Options", "" }, { "Device Blinking:", "ON" }, { "Sensors Blinking Colour:", "Green" },
        { "Modules Blinking Colour:", "Red" }, { "Pulse Ratio:", "4:1" },
        { "Automatic Hightest Time:", "07:45 [ENABLED]" }, { "Transmission Device:", "6s Pulse" },
        { "TD/ES Auto Disable:", "Yes" }, { "Digital Input 1:", "Day Mode Start" },
        { "Fireman's Work Panel:", "Swiss" }, { "FWP Input 4 Disable:", "Sounders" },
        { "FWP 2 Output Activation:", "On Transmission Device Return Signal" },
        { "Extinguishing System", "" }, { "Activation Delay Time:", "90 seconds" },
        { "Soak Time:", "600 seconds" }, { "Hold Switch Operation:", "ULI" },
        { "Suppress Double Address:", "On" }, { "Max. Number of Head LEDs:", "2 LEDs" },
        { "Day Mode Device Sensitivity", "" }, { "Start Time:", "06:30" }, { "End Time:", "18:15" },
        { "Weekend Night Mode:", "ENABLED" }, { "", "" }, { "Peripheral Options", "" }, { "RS485", "" },
        { "RS485 Protocol:", "THIRD PARTY" }, { "No. of Repeaters:", "7" },
        { "Third Party Data Mon:", "Enabled" }, { "Third Party Suspend Comms Limit:", "120 minutes" },
        { "RS232", "" }, { "RS232 Protocol:", "PRINTER" }, { "RS232 Options:", "XON/XOFF" },
        { "Third Party Data Mon:", "Disabled" }, { "Third Party Suspend Comms Limit:", "30 minutes" },
        { "GSM Item 1", "" }, { "Phone No.:", "07700 900121" }, { "Options:", "Alarm(5)" },
        { "GSM Item 2", "" }, { "Phone No.:", "07700 900122" }, { "Options:", "Fault(ALL), Pre-alarm(1)" },
        { "GSM Item 3", "" }, { "Phone No.:", "07700 900123" }, { "Options:", "" }, { "GSM Item 4", "" },
        { "Phone No.:", "07700 900124" }, { "Options:", "Controls, General Disable, Zone Disable" },
        { "GSM Item 5", "" }, { "Phone No.:", "07700 900125" },
        { "Options:", "Device Disable, System Disable" }, { "", "" }, { "Day/Night Settings", "" },
        { "Day Mode Delays", "" }, { "Start Time:", "08:00" }, { "End Time:", "17:30" }, { "Night Mode", "" },
        { "Weekend Night Mode:", "DISABLED" }, { "Day Mode Start:", "AUTOMATIC" },
        { "Primary Delay Time:", "180 seconds" }, { "Extend Delay Time:", "5 minutes" },
        { "Heat Detectors End Delays:", "NO" }, { "Two Alarm Zones End Delays:", "NO" },
        { "Delays Active Indication:", "Delays Active and Disablement LEDs" }, { "", "" } };
    const std::set<int> headings { 1, 17, 21, 44, 45, 50, 55, 58, 61, 64, 67, 71 };
    for (int n = 1; n <= TfrmReportPanel::Rows; ++n) {
        EXPECT_EQ(Row(Forms.Of(TReportKind::Panel), n),
            (std::vector<std::string> { rows[n - 1].Caption, rows[n - 1].Value }))
            << "row " << n;
        EXPECT_EQ(Forms.Of(TReportKind::Panel).RowFont(Config, Context, n).Bold, headings.count(n) == 1)
            << "row " << n;
    }
}

// Every row that prints one of two values, with its option off and then on;
// the options page shows each state as the report prints it.
TEST_F(Reports, TwoValuedPanelRowsPrintTheValueOfEachState)
{
    auto& g = *Config.GeneralPanelSetup;
    using S = TPX10ConfigGeneralPanelSetup;
    const struct {
        int Row;
        std::function<void(S&, bool)> Set;
        const char* Off;
        const char* On;
    } rows[] = {
        { 4, &S::SetControlKeys, "NO", "YES" },
        { 6, &S::SetControlKey3Mode, "End Delays/Evacuate", "Transmission Device Enable/Disable" },
        { 8, &S::SetLED2CMode, "Plant Alarm", "Fault Output: Fault/Disable" },
        { 9, &S::SetUnmuteOption, "On new zone in alarm", "On new device in alarm" },
        { 11, &S::SetLampTest, "No", "Yes" },
        { 12, &S::SetTorqSwitch, "Disabled", "Enabled" },
        { 13, &S::SetEventPrinting, "On-Demand", "Continuous" },
        { 14, &S::SetPrintFormat, "Single Height", "Double Height" },
        { 22, &S::SetBlinking, "OFF", "ON" }, // left on for the colours
        { 23, &S::SetSensorsBlinkColour, "Red", "Green" },
        { 24, &S::SetModulesBlinkColour, "Green", "Red" },
        { 25, &S::SetPulseRatio, "1:1", "4:1" },
        { 26, &S::SetHightestEnable, "00:00 [DISABLED]", "00:00 [ENABLED]" },
        { 27, &S::SetTransmissionDevice, "Continuous", "6s Pulse" },
        { 28, &S::SetRoutingAutoDisable, "No", "Yes" },
        { 29, &S::SetDigitalInput1, "Class Change", "Day Mode Start" },
        { 30, &S::SetFiremansWorkPanelOption, "German", "Swiss" },
        { 31, &S::SetFWPInput4Disable, "Extinguishant", "Sounders" },
        { 32, &S::SetFWP2OutputActivation, "On Transmission Device Trigger",
            "On Transmission Device Return Signal" },
        { 37, &S::SetSuppressDoubleAddress, "Off", "On" },
        { 38, &S::SetMaxHeadLEDs, "10 LEDs", "2 LEDs" },
        { 42, &S::SetWeekendSensitivityNightMode, "DISABLED", "ENABLED" },
        { 48, &S::SetRS485ThirdPartyDatalinkMonitoring, "Disabled", "Enabled" },
        { 53, &S::SetRS232ThirdPartyDatalinkMonitoring, "Disabled", "Enabled" },
        { 76, &S::SetWeekendNightMode, "DISABLED", "ENABLED" },
        { 77, &S::SetDayModeStartOption, "MANUAL", "AUTOMATIC" },
        { 80, &S::SetHeatDetectorsEndDelays, "NO", "YES" },
        // Stored inverted: the option is on when the byte is zero.
        { 81, [](S& s, bool on) { s.SetDayModeNewAlarmOption(on ? 0 : 1); }, "NO", "YES" },
        { 82, &S::SetDelaysActiveIndication, "Delays Active LED Only", "Delays Active and Disablement LEDs" },
    };
    TfrmPanelSetupOptions page;
    page.IsRegionalOptionEnabled2 = [] { return true; }; // the control key 3 mode shows what is stored
    page.SetConfiguration(&Config);
    // Which of the page's items are checked for the configuration.
    const auto checked = [&] {
        page.LoadFromConfig();
        std::vector<bool> c;
        for (const QAbstractButton* item : page.findChildren<QAbstractButton*>())
            c.push_back(item->isChecked());
        return c;
    };
    // An item the option turns over names the state printed ("4/1" for "4:1",
    // "Enable" for "Enabled", whatever the case); a check box is checked when on.
    const auto plain = [](QString s) { return s.toUpper().replace('/', ':'); };
    g.SetHightestTimeText("00:00");
    for (const auto& r : rows) {
        r.Set(g, false);
        EXPECT_EQ(Value(r.Row), r.Off) << "row " << r.Row;
        const auto off = checked();
        r.Set(g, true);
        EXPECT_EQ(Value(r.Row), r.On) << "row " << r.Row;
        const auto on = checked();
        const auto items = page.findChildren<QAbstractButton*>();
        EXPECT_NE(off, on) << "row " << r.Row;
        for (qsizetype i = 0; i < items.size(); ++i)
            EXPECT_TRUE(off[i] == on[i]
                || (qobject_cast<QCheckBox*>(items[i])
                        ? on[i]
                        : plain(on[i] ? r.On : r.Off).startsWith(plain(items[i]->text()))))
                << "row " << r.Row << ": " << items[i]->text().toStdString();
    }
}

TEST_F(Reports, PanelTimesUseTheEditorsSeparator)
{
    Config.GeneralPanelSetup->SetHightestTimeText("07:45");
    Config.GeneralPanelSetup->SetHightestEnable(true);
    Context.TimeSeparator = '.';
    EXPECT_EQ(Value(26), "07.45 [ENABLED]");
}

TEST_F(Reports, BlinkColoursAreNotApplicableWithoutBlinking)
{
    auto& g = *Config.GeneralPanelSetup;
    g.SetSensorsBlinkColour(true);
    g.SetModulesBlinkColour(true);
    g.SetBlinking(false);
    EXPECT_EQ(Value(22), "OFF");
    EXPECT_EQ(Value(23), "N/A");
    EXPECT_EQ(Value(24), "N/A");
    g.SetBlinking(true);
    EXPECT_EQ(Value(23), "Green");
    EXPECT_EQ(Value(24), "Red");
    g.SetSensorsBlinkColour(false);
    g.SetModulesBlinkColour(false);
    EXPECT_EQ(Value(23), "Red");
    EXPECT_EQ(Value(24), "Green");
}

TEST_F(Reports, GsmOptionTextsWithQuantities)
{
    auto& gsm = *Config.GsmItems;
    for (int i = 1; i <= 5; ++i) {
        gsm.SetAlarm(i, false);
        gsm.SetFault(i, false);
        gsm.SetPrealarm(i, false);
    }
    gsm.SetAlarm(1, true);
    gsm.SetFault(1, true);
    gsm.SetPrealarm(1, true);
    gsm.SetNumber(1, "0123");
    gsm.SetControls(2, true);
    gsm.SetSystemDisable(2, true);
    gsm.SetAlarm(5, true);
    gsm.SetQtyAlarm(5, 2);
    EXPECT_EQ(Caption(55), "GSM Item 1");
    EXPECT_EQ(Value(56), "0123");
    EXPECT_EQ(Value(57), "Alarm(1), Fault(1), Pre-alarm(1)");
    EXPECT_EQ(Value(60), "Controls, System Disable");
    EXPECT_EQ(Value(63), "");
    EXPECT_EQ(Value(69), "Alarm(ALL)");
    // Each row knows its item: rows printed out of order read the same.
    EXPECT_EQ(Value(57), "Alarm(1), Fault(1), Pre-alarm(1)");
}

TEST_F(Reports, PanelTypeOfAReceivedMarvexAndOutOfRangeCodes)
{
    Config.FileHeader->SetPanelType(4);
    EXPECT_EQ(Value(2), "412-305-xxx : Marvex");
    Config.FileHeader->SetPanelType(3);
    EXPECT_EQ(Value(2), "412-301-xxx : PX10");
    Config.FileHeader->SetPanelType(200);
    EXPECT_EQ(Value(2), "200");
    // A crafted code outside the list prints as its number.
    Config.GeneralPanelSetup->SetLED1HMode(9);
    EXPECT_EQ(Value(7), "9");
    Config.GeneralPanelSetup->SetLED1HMode(1);
    EXPECT_EQ(Value(7), "Sounders Silenced");
    // Except the RS232 options, which fall back to their first entry.
    Config.FileHeader->SetPanelType(3);
    Config.GeneralPanelSetup->SetRS232Protocol(0);
    Config.GeneralPanelSetup->SetRS232Options(7);
    EXPECT_EQ(Value(52), "BASIC");
    Config.GeneralPanelSetup->SetRS232Protocol(2); // a GSM modem has no options
    EXPECT_EQ(Value(51), "GSM MODEM");
    EXPECT_EQ(Value(52), "");
}

TEST_F(Reports, TwoAlarmZonesEndDelaysReadsTheInvertedByte)
{
    Config.GeneralPanelSetup->SetDayModeNewAlarmOption(0);
    EXPECT_EQ(Value(81), "YES");
    Config.GeneralPanelSetup->SetDayModeNewAlarmOption(1);
    EXPECT_EQ(Value(81), "NO");
}

TEST_F(Reports, HeadingsBoldOtherCaptionsNormalInAnyOrder)
{
    const TReport& r = Forms.Of(TReportKind::Panel);
    for (int n : { 1, 2, 17, 33, 45, 3, 55, 56, 71, 72 }) {
        const bool heading = n == 1 || n == 17 || n == 45 || n == 55 || n == 71;
        EXPECT_EQ(r.RowFont(Config, Context, n).Bold, heading) << n;
    }
}

TEST_F(Reports, ZoneLines)
{
    Config.ZoneTexts->SetZoneText(7, "Boiler \x80 room");
    EXPECT_EQ(
        Row(Forms.Of(TReportKind::Zones), 7), (std::vector<std::string> { "07", "Boiler \u20ac room" }));
    EXPECT_EQ(Row(Forms.Of(TReportKind::Zones), 32), (std::vector<std::string> { "32", "" }));
}

TEST_F(Reports, OnboardOutputsOnOddLinesEolOnlyForTheFirstFour)
{
    Config.OnboardOutputCircuits->SetCircuitType(2, 9);
    Config.OnboardOutputCircuits->SetEOLMode(0x2);
    int circuitLines = 0;
    for (int n = 1; n <= TfrmReportOnboardOutputs::Rows; ++n) {
        const auto row = Row(Forms.Of(TReportKind::OnboardOutputs), n);
        if (n % 2 == 0) {
            EXPECT_EQ(row, std::vector<std::string>(4)) << n;
            continue;
        }
        ++circuitLines;
        const int c = (n + 1) / 2;
        EXPECT_EQ(row[0].substr(0, 5), "(B0" + std::to_string(c) + ")");
        EXPECT_EQ(row[2].empty(), c > 4) << c;
        EXPECT_EQ(row[3], Config.OnboardOutputCircuits->GetCircuitRuleListText(c));
    }
    EXPECT_EQ(circuitLines, 6);
    EXPECT_EQ(Row(Forms.Of(TReportKind::OnboardOutputs), 3)[1], "SDH");
    EXPECT_EQ(Row(Forms.Of(TReportKind::OnboardOutputs), 3)[2], "Diode");
    EXPECT_EQ(Row(Forms.Of(TReportKind::OnboardOutputs), 1)[2], "Resistor");
    Config.OnboardOutputCircuits->SetCircuitType(1, 77);
    EXPECT_EQ(Row(Forms.Of(TReportKind::OnboardOutputs), 1)[1], "77");
}

// CBE columns: 0 rule, 1 type, 2 filter, 3 Ev., 4 Sil., 5 Int., 6 Tz.,
// 7 Cl., 8 Soak, 9-11 D1-D3, 12 zone letters.
TEST_F(Reports, CBEFlagsDevicesAndZoneLettersByRuleType)
{
    auto& r = *Config.CBERules;
    r.SetRuleType(1, 0); // Fire
    for (int s = 1; s <= 16; ++s)
        r.SetZoneCondition(1, s, s <= 3 ? 0 : 4);
    r.SetEvacuate(1, true);
    auto fire = Row(Forms.Of(TReportKind::CBERules), 1);
    EXPECT_EQ(fire[0], "01");
    EXPECT_EQ(fire[1], "Fire");
    EXPECT_EQ(fire[3], "Y");
    EXPECT_EQ(fire[8], "");
    EXPECT_EQ(fire[9] + fire[10] + fire[11], "");
    EXPECT_EQ(fire[12], "YYYNNNNNNNNNNNNN");
    r.SetZoneCondition(1, 16, 9); // no letter for a code above 4
    EXPECT_EQ(Row(Forms.Of(TReportKind::CBERules), 1)[12], "YYYNNNNNNNNNNNN");

    r.SetRuleType(2, 1); // Device Input
    r.SetDeviceKind(2, 2, 2);
    r.SetDeviceAddress(2, 2, 3);
    r.SetDeviceKind(2, 3, 1);
    r.SetDeviceAddress(2, 3, 42);
    auto input = Row(Forms.Of(TReportKind::CBERules), 2);
    EXPECT_EQ(input[9], "");
    EXPECT_EQ(input[10], "M03");
    EXPECT_EQ(input[11], "S42");
    EXPECT_EQ(input[5], ""); // not interruptable by type
    EXPECT_EQ(input[12], "");

    r.SetRuleType(3, 2); // General Fault
    auto fault = Row(Forms.Of(TReportKind::CBERules), 3);
    for (int col = 3; col <= 12; ++col)
        EXPECT_EQ(fault[col], "") << col;
    EXPECT_EQ(fault[2], "ANY");

    r.SetRuleType(4, 8); // Extinguishing System
    r.SetFilterType(4, 1);
    r.SetEnableSoakTimer(4, true);
    auto ext = Row(Forms.Of(TReportKind::CBERules), 4);
    EXPECT_EQ(ext[2], "Sensor/MCP");
    EXPECT_EQ(ext[8], "Y");
    for (int col = 3; col <= 7; ++col)
        EXPECT_EQ(ext[col], "") << col;
    EXPECT_EQ(ext[12].size(), 16u);

    r.SetRuleType(5, 4); // Plant Warning: two zone only
    r.SetTwoZone(5, false);
    auto plant = Row(Forms.Of(TReportKind::CBERules), 5);
    EXPECT_EQ(plant[6], "N");
    EXPECT_EQ(plant[3] + plant[4] + plant[5] + plant[7], "");

    r.SetRuleType(6, 40); // out of range
    EXPECT_EQ(Row(Forms.Of(TReportKind::CBERules), 6)[1], "40");
}

TEST_F(Reports, EvacuateColumnAndHeadingEmptyWithVdS)
{
    Config.CBERules->SetRuleType(1, 0);
    Config.CBERules->SetEvacuate(1, true);
    Context.VdSCompatibility = true;
    EXPECT_EQ(Row(Forms.Of(TReportKind::CBERules), 1)[3], "");
    const auto page = Forms.Of(TReportKind::CBERules).BuildPages(Config, Context).front();
    const auto lines = PageLines(page);
    EXPECT_EQ(lines.at(1).indexOf("Ev."), -1);
    Context.VdSCompatibility = false;
    EXPECT_NE(
        PageLines(Forms.Of(TReportKind::CBERules).BuildPages(Config, Context).front()).at(1).indexOf("Ev."),
        -1);
}

// Sensor columns: 0 address, 1 description, 2 zone, 3 type, 4 alarm, 5 day,
// 6 group, 7 Rem.Op., 8 A.Num.
TEST_F(Reports, SensorColumnsByType)
{
    auto& s = *Config.Sensors;
    auto empty = Row(Forms.Of(TReportKind::Sensors), 9);
    EXPECT_EQ(empty[0], "09");
    EXPECT_EQ(empty[1], "");
    EXPECT_EQ(empty[2], "01");
    EXPECT_EQ(empty[8], " - ");

    s.SetType(1, 2); // OPT: no pre-alarm levels
    s.SetDescription(1, "Hall");
    s.SetZone(1, 4);
    s.SetGroup(1, 3);
    auto opt = Row(Forms.Of(TReportKind::Sensors), 1);
    EXPECT_EQ(opt[1], "Hall");
    EXPECT_EQ(opt[2], "04");
    EXPECT_EQ(opt[3], "BRIM/OPT");
    EXPECT_EQ(opt[4], "100%");
    EXPECT_EQ(opt[6], "3");
    EXPECT_EQ(opt[7], " - ");

    s.SetType(2, 5); // AVS: fire and pre-alarm levels joined
    s.SetFireSensitivity(2, 100);
    s.SetPrealarmSensitivity(2, 85);
    s.SetDayModeSensitivity(2, 90);
    s.SetDayModePrealarmSensitivity(2, 80);
    auto avs = Row(Forms.Of(TReportKind::Sensors), 2);
    EXPECT_EQ(avs[4], "L5, L2");
    EXPECT_EQ(avs[5], "L3, L0");

    for (int type : { 1, 8 }) { // TMP, LSR: no group
        s.SetType(3, type);
        s.SetGroup(3, 2);
        EXPECT_EQ(Row(Forms.Of(TReportKind::Sensors), 3)[6], "") << type;
    }

    // A TORQ SMT4: the application number as the grid shows it.
    s.SetType(4, 9);
    s.SetTorqType(4, 31);
    s.SetApplicationNumber(4, 0);
    EXPECT_EQ(Row(Forms.Of(TReportKind::Sensors), 4)[8], "255");
    s.SetApplicationNumber(4, 4);
    EXPECT_EQ(Row(Forms.Of(TReportKind::Sensors), 4)[8], "3");
    s.SetRemoteOutput(4, 1);
    EXPECT_EQ(Row(Forms.Of(TReportKind::Sensors), 4)[7], "Follow");
    s.SetRemoteOutput(4, 2);
    s.SetCBERuleListText(4, "(1) 1-3");
    EXPECT_EQ(Row(Forms.Of(TReportKind::Sensors), 4)[7], "CBE:(1) 1-3");
    s.SetRemoteOutput(4, 7);
    EXPECT_EQ(Row(Forms.Of(TReportKind::Sensors), 4)[7], " - ");
}

// The report prints the grid's cells, and its own texts where the grid shows
// less than a printout needs.
TEST_F(Reports, SensorCellsAsTheGridReadsThem)
{
    auto& s = *Config.Sensors;
    s.SetDescription(5, "Caf\xE9 \x80");
    s.SetType(5, 2);
    s.SetTorqType(5, 20); // a TORQ OPT: the grid shows no group
    s.SetGroup(5, 4);
    const TSensorTexts texts(s, false);
    const auto row = Row(Forms.Of(TReportKind::Sensors), 5);
    EXPECT_EQ(row[1], "Caf\u00e9 \u20ac");
    EXPECT_EQ(row[1], FindColumn(SensorColumns, sfDescription)->Read(texts, 5).toString().toStdString());
    EXPECT_EQ(row[3], "TORQ/" + texts.GetType(5));
    EXPECT_EQ(FindColumn(SensorColumns, sfGroup)->Read(texts, 5).toString(), "");
    EXPECT_EQ(row[6], "4");
}

TEST_F(Reports, PrintingNeverMarksTheConfigurationModified)
{
    auto full = MakeFullConfiguration();
    full->SaveToFile(testing::TempDir() + "px10-report-full.udf");
    ASSERT_FALSE(full->IsModified());
    for (int k = 0; k < ReportKindCount; ++k)
        Forms.Of(TReportKind(k)).BuildPages(*full, Context);
    EXPECT_FALSE(full->IsModified());
}

// Module columns: 0 address, 1 description, 2 zone, 3 type, 4 action, 5 rules.
TEST_F(Reports, ModuleActionAndRulesByType)
{
    auto& m = *Config.Modules;
    m.SetType(1, 2); // AUX
    m.SetAction(1, 5); // ABORT SWITCH
    m.SetZone(1, 20);
    auto abort = Row(Forms.Of(TReportKind::Modules), 1);
    EXPECT_EQ(abort[2], "20");
    EXPECT_EQ(abort[3], "BRIM/MMX/AUX");
    EXPECT_EQ(abort[4], "ABORT SWITCH");
    EXPECT_EQ(abort[5], "(1) 1");
    m.SetAction(1, 0);
    auto plant = Row(Forms.Of(TReportKind::Modules), 1);
    EXPECT_EQ(plant[4], "PLANT ALARM");
    EXPECT_EQ(plant[5], "");
    m.SetType(2, 1); // MCP
    auto mcp = Row(Forms.Of(TReportKind::Modules), 2);
    EXPECT_EQ(mcp[4] + mcp[5], "");
    m.SetType(3, 4); // SDR
    EXPECT_EQ(Row(Forms.Of(TReportKind::Modules), 3)[5], "(1) 1");
    EXPECT_EQ(Row(Forms.Of(TReportKind::Modules), 50)[3], " - ");
}

TEST_F(Reports, PageCountsOfAFullConfiguration)
{
    auto full = MakeFullConfiguration();
    // Rows per page follow from the bands: 277 mm between the margins, a
    // 6 mm footer, the title band on the first page only.
    const std::vector<std::pair<TReportKind, std::size_t>> expected { { TReportKind::Panel, 2 },
        { TReportKind::Zones, 1 }, { TReportKind::OnboardOutputs, 1 }, { TReportKind::CBERules, 2 },
        { TReportKind::Sensors, 2 }, { TReportKind::Modules, 4 } };
    for (auto [kind, pages] : expected) {
        const auto built = Forms.Of(kind).BuildPages(*full, Context);
        EXPECT_EQ(built.size(), pages) << Forms.Of(kind).Name();
        for (const TPage& p : built)
            for (const TPlacedText& t : p.Texts) {
                EXPECT_GE(t.Rect.top(), Margin);
                EXPECT_LE(t.Rect.bottom(), PageHeight - Margin + 1e-6);
            }
    }
    // Every line of a report is printed once.
    std::size_t sensorLines = 0;
    for (const TPage& p : Forms.Of(TReportKind::Sensors).BuildPages(*full, Context))
        for (const TPlacedText& t : p.Texts)
            sensorLines += t.Text.startsWith("Sensor ");
    EXPECT_EQ(sensorLines, 99u);
}

// However far down the page the rows fall (a taller title band moves them),
// no heading of the panel report ends a page.
TEST_F(Reports, APanelHeadingPrintsOnThePageOfItsFirstRow)
{
    TfrmReportPanel report;
    std::set<QString> headings;
    for (int n = 1; n <= TfrmReportPanel::Rows; ++n)
        if (TfrmReportPanel::IsHeadingRow(n))
            headings.insert(QString::fromStdString(Row(report, n).at(0)));
    for (double title = 12; title < 266; title += 2) {
        report.Title.Height = title;
        const auto pages = report.BuildPages(Config, Context);
        for (std::size_t p = 0; p + 1 < pages.size(); ++p) {
            const QString last = PageLines(pages[p]).rbegin()[1].trimmed(); // the line above the footer
            EXPECT_FALSE(headings.count(last))
                << "title band " << title << " mm: \"" << last.toStdString() << "\" ends page " << p + 1;
        }
    }
}

TEST_F(Reports, CompositeKeepsTheFixedOrderAndStartsEachReportOnANewPage)
{
    const auto chosen = Forms.Chosen({ true, true, true, true, true, true });
    ASSERT_EQ(chosen.size(), 6u);
    const char* order[] = { "frmReportPanel", "frmReportZoneText", "frmReportOnboardOutputs",
        "frmReportCBERules", "frmReportSensors", "frmReportModules" };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(chosen[std::size_t(i)]->Name(), order[i]);
    const auto some = Forms.Chosen({ false, true, false, true, false, false });
    const auto pages = BuildComposite(some, Config, Context);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].Texts.front().Text, "Zone Text");
    EXPECT_EQ(pages[1].Texts.front().Text, "CBE Rules");
    EXPECT_NE(pages[2].Texts.front().Text, "CBE Rules"); // the rules' second page has no title
    EXPECT_TRUE(BuildComposite({}, Config, Context).empty());
}

TEST_F(Reports, FooterOnEveryPage)
{
    auto pages = Forms.Of(TReportKind::Panel).BuildPages(Config, Context);
    for (const auto& p : pages)
        EXPECT_EQ(p.Texts.back().Text, "NEW FILE");
    Context.FileName = "/home/u/site \u00e9.UDF";
    pages = Forms.Of(TReportKind::Modules).BuildPages(Config, Context);
    for (const auto& p : pages)
        EXPECT_EQ(p.Texts.back().Text, QString::fromUtf8("/home/u/site \u00e9.UDF"));
}

TEST(PrintTableDataSet, RowsNumberedFromOneAndReadOnly)
{
    for (unsigned n : { 32u, 83u, 12u, 64u, 99u }) {
        TPrintTableDataSet rows(n);
        rows.Open();
        EXPECT_EQ(rows.GetRecordCount(), int(n));
        rows.Last();
        EXPECT_EQ(rows.GetRecNo(), int(n));
        int visited = 0;
        for (rows.First(); !rows.Eof(); rows.Next())
            ++visited;
        EXPECT_EQ(visited, int(n));
        EXPECT_EQ(rows.ReadField(1, 7).toInt(), 7);
        EXPECT_FALSE(rows.WriteField(1, 7, 3));
        EXPECT_EQ(rows.ReadField(1, 7).toInt(), 7);
        EXPECT_FALSE(rows.insertRows(0, 1));
        EXPECT_EQ(rows.rowCount(), int(n));
    }
}

} // namespace
