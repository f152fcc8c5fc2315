#include "PanelOptionTable.h"

#include "Ivdictio.h"
#include "PX10ConfigGeneralPanelSetup.h"
#include "Panelsetupoptions.h"

namespace {

using F = TfrmPanelSetupOptions;
using G = TPX10ConfigGeneralPanelSetup;

// Every option has its row, in option order, with one control and a name;
// a list has at least two items and a range is not empty. (Whether the read
// and write functions are given is left to the tests that load and edit
// every option: with the sanitizers on, the compiler will not compare a
// function's address in a constant.)
constexpr bool Complete(const std::array<TPanelOption, std::size_t(PanelOption::Count)>& Rows)
{
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const TPanelOption& r = Rows[i];
        const int controls
            = (r.Radio != nullptr) + (r.Spin != nullptr) + (r.Check != nullptr) + (r.Combo != nullptr);
        if (r.Option != PanelOption(i) || !r.Name || controls != 1)
            return false;
        if (r.Radio && (!r.Caption || !r.Items[1]))
            return false;
        if (r.Spin && r.Min >= r.Max)
            return false;
    }
    return true;
}

} // namespace

// The control's member and its object name.
#define PX10_CONTROL(Kind, Member) .Name = #Member, .Kind = &F::Member
// How an option whose accessors take and give its own type is read and written.
#define PX10_VALUE(Option)                                                                                   \
    .Read = [](const G& g) { return int(g.Get##Option()); }, .Write = [](G& g, int v) { g.Set##Option(v); }
#define PX10_FLAG(Option)                                                                                    \
    .Read = [](const G& g) { return g.Get##Option() ? 1 : 0; },                                              \
    .Write = [](G& g, int v) { g.Set##Option(v != 0); }

// clang-format off
constexpr std::array<TPanelOption, std::size_t(PanelOption::Count)> PanelOptions { {
    { .Option = PanelOption::DateFormat, PX10_CONTROL(Combo, cboDateFormat),
      .Items = { "dd/mm/yyyy", "mm/dd/yyyy", "yyyy/mm/dd" }, PX10_VALUE(DateFormat) },
    { .Option = PanelOption::EventPrinting, PX10_CONTROL(Radio, rdgEventPrinting),
      .Caption = IvNative("Event Printing"), .Items = { IvNative("On-Demand"), IvNative("Continuous") },
      PX10_FLAG(EventPrinting) },
    { .Option = PanelOption::PrintFormat, PX10_CONTROL(Radio, rdgPrintFormat),
      .Caption = IvNative("Print Format"), .Items = { IvNative("Single Height"), IvNative("Double Height") },
      PX10_FLAG(PrintFormat) },
    { .Option = PanelOption::ControlKeys, PX10_CONTROL(Radio, rdgControlKeys),
      .Caption = IvNative("Control Keys Require Level 2 Access"), .Items = { IvNative("No"), IvNative("Yes") },
      PX10_FLAG(ControlKeys) },
    { .Option = PanelOption::LED1HMode, PX10_CONTROL(Radio, rdgLED1HMode),
      .Caption = IvNative("LED 1H Mode"),
      .Items = { IvNative("Pre-Alarm"), IvNative("Sounders Silenced"), IvNative("F.C. System Fault") },
      PX10_VALUE(LED1HMode) },
    { .Option = PanelOption::LED2CMode, PX10_CONTROL(Radio, rdgLED2CMode),
      .Caption = IvNative("LED 2C Mode"),
      .Items = { IvNative("Plant Alarm"), IvNative("Fault Output: Fault/Disable") }, PX10_VALUE(LED2CMode) },
    { .Option = PanelOption::ControlKey3Mode, PX10_CONTROL(Radio, rdgControlKey3Mode),
      .Caption = IvNative("Control Key 3 Mode"),
      .Items = { IvNative("End Delays/Evacuate"), IvNative("Transmission Device Enable/Disable") },
      PX10_VALUE(ControlKey3Mode) },
    { .Option = PanelOption::UnmuteOption, PX10_CONTROL(Radio, rdgUnmuteOption),
      .Caption = IvNative("Un-mute Internal Tone"),
      .Items = { IvNative("On new zone in alarm"), IvNative("On new device in alarm") },
      PX10_VALUE(UnmuteOption) },
    { .Option = PanelOption::FireOutputActiveLEDOption, PX10_CONTROL(Radio, rdgFireOutputActiveLEDOption),
      .Caption = IvNative("Fire Output Active LED Option"),
      .Items = { IvNative("On Transmission Device Return Signal"), IvNative("On Transmission Device Trigger") },
      PX10_FLAG(FireOutputActiveLEDOption) },
    { .Option = PanelOption::MainsDelay, PX10_CONTROL(Spin, spnMainsDelay), .Min = 0, .Max = 60,
      PX10_VALUE(MainsDelay) },
    { .Option = PanelOption::AutoResoundMode, PX10_CONTROL(Radio, rdgAutoResoundMode),
      .Caption = IvNative("Automatic Resound Mode"),
      .Items = { IvNative("Any Zone"), IvNative("New Zone"), IvNative("No") }, PX10_VALUE(AutoResoundMode) },
    { .Option = PanelOption::LampTest, PX10_CONTROL(Radio, rdgLampTest),
      .Caption = IvNative("Lamp Test at Access Level 1"), .Items = { IvNative("No"), IvNative("Yes") },
      PX10_FLAG(LampTest) },
    // Disabling is refused while TORQ devices exist (the rules' part).
    { .Option = PanelOption::TorqSwitch, PX10_CONTROL(Radio, rdgTorqSwitch),
      .Caption = IvNative("Torq Protocol"), .Items = { IvNative("Disabled"), IvNative("Enabled") },
      PX10_FLAG(TorqSwitch) },
    { .Option = PanelOption::Blinking, PX10_CONTROL(Radio, rdgBlinking),
      .Caption = IvNative("Blinking"), .Items = { IvNative("Off"), IvNative("On") }, PX10_FLAG(Blinking) },
    { .Option = PanelOption::PulseRatio, PX10_CONTROL(Radio, rdgPulseRatio),
      .Caption = IvNative("Pulse Ratio"), .Items = { "1/1", "4/1" }, PX10_VALUE(PulseRatio) },
    { .Option = PanelOption::TransmissionDevice, PX10_CONTROL(Radio, rdgTransmissionDevice),
      .Caption = IvNative("Transmission Device"), .Items = { IvNative("Continuous"), IvNative("6s Pulse") },
      PX10_FLAG(TransmissionDevice) },
    { .Option = PanelOption::DigitalInput1, PX10_CONTROL(Radio, rdgDigitalInput1),
      .Caption = IvNative("Digital Input 1"), .Items = { IvNative("Class Change"), IvNative("Day Mode Start") },
      PX10_FLAG(DigitalInput1) },
    { .Option = PanelOption::FWPInput4Disable, PX10_CONTROL(Radio, rdgFWPInput4Disable),
      .Caption = IvNative("FWP Input 4 Disable"), .Items = { IvNative("Extinguishant"), IvNative("Sounders") },
      .Hidden = true, PX10_FLAG(FWPInput4Disable) },
    { .Option = PanelOption::HightestEnable, PX10_CONTROL(Check, chkHightestEnable),
      .Caption = IvNative("&Enable"), PX10_FLAG(HightestEnable) },
    { .Option = PanelOption::ExtSystemDelay, PX10_CONTROL(Spin, spnExtSystemDelay), .Min = 10, .Max = 180,
      PX10_VALUE(ExtSystemDelay) },
    { .Option = PanelOption::ExtSystemSoakTime, PX10_CONTROL(Spin, spnExtSystemSoakTime), .Min = 0, .Max = 999,
      PX10_VALUE(ExtSystemSoakTime) },
    { .Option = PanelOption::HoldSwitchOperation, PX10_CONTROL(Combo, cboHoldSwitchOperation),
      .Items = { IvNative("AHJ"), IvNative("NYC"), IvNative("ULI"), IvNative("IRI") },
      PX10_VALUE(HoldSwitchOperation) },
    { .Option = PanelOption::FWP2OutputActivation, PX10_CONTROL(Radio, rdgFWP2OutputActivation),
      .Caption = IvNative("FWP 2 Output Activation"),
      .Items = { IvNative("On Transmission Device Trigger"), IvNative("On Transmission Device Return Signal") },
      PX10_VALUE(FWP2OutputActivation) },
    { .Option = PanelOption::WeekendSensitivityNightMode, PX10_CONTROL(Radio, rdgWeekendSensitivityNightMode),
      .Caption = IvNative("Weekend Night Mode"), .Items = { IvNative("Disabled"), IvNative("Enabled") },
      PX10_FLAG(WeekendSensitivityNightMode) },
    { .Option = PanelOption::FiremansWorkPanelOption, PX10_CONTROL(Radio, rdgFiremansWorkPanelOption),
      .Caption = IvNative("Fireman's Work Panel"), .Items = { IvNative("German"), IvNative("Swiss") },
      PX10_VALUE(FiremansWorkPanelOption) },
    { .Option = PanelOption::RoutingAutoDisable, PX10_CONTROL(Radio, rdgRoutingAutoDisable),
      .Caption = IvNative("TD/ES Auto Disable"), .Items = { IvNative("No"), IvNative("Yes") },
      PX10_VALUE(RoutingAutoDisable) },
    { .Option = PanelOption::SuppressDoubleAddress, PX10_CONTROL(Radio, rdgSuppressDoubleAddress),
      .Caption = IvNative("Suppress Double Address"), .Items = { IvNative("Off"), IvNative("On") },
      PX10_VALUE(SuppressDoubleAddress) },
    { .Option = PanelOption::MaxHeadLEDs, PX10_CONTROL(Radio, rdgMAxHeadLEDs),
      .Caption = IvNative("Maximum Number of Head LEDs"), .Items = { IvNative("10 LEDs"), IvNative("2 LEDs") },
      PX10_FLAG(MaxHeadLEDs) },
    { .Option = PanelOption::SensorsBlinkColour, PX10_CONTROL(Radio, rdgSensorsBlinkColour),
      .Caption = IvNative("Sensors Blink Colour"), .Items = { IvNative("Red"), IvNative("Green") },
      PX10_FLAG(SensorsBlinkColour) },
    { .Option = PanelOption::ModulesBlinkColour, PX10_CONTROL(Radio, rdgModulesBlinkColour),
      .Caption = IvNative("Modules Blink Colour"), .Items = { IvNative("Green"), IvNative("Red") },
      PX10_FLAG(ModulesBlinkColour) },
    // Its list follows the RS232 protocol and the panel type (the rules' part).
    { .Option = PanelOption::RS232Options, PX10_CONTROL(Combo, cbxRS232Options), PX10_VALUE(RS232Options) },
    { .Option = PanelOption::RS232ThirdPartyDatalinkMonitoring,
      PX10_CONTROL(Radio, rdgRS232ThirdPartyDatalinkMonitoring),
      .Caption = IvNative("Third Party Datalink Monitoring"), .Items = { IvNative("Disable"), IvNative("Enable") },
      PX10_FLAG(RS232ThirdPartyDatalinkMonitoring) },
    { .Option = PanelOption::RS232ThirdPartySuspendCommsLimit,
      PX10_CONTROL(Spin, spnRS232ThirdPartySuspendCommsLimit), .Min = 0, .Max = 300,
      PX10_VALUE(RS232ThirdPartySuspendCommsLimit) },
    { .Option = PanelOption::RS485QtyRepeaters, PX10_CONTROL(Spin, spnRS485QtyRepeaters), .Min = 0, .Max = 16,
      PX10_VALUE(RS485QtyRepeaters) },
    { .Option = PanelOption::RS485ThirdPartyDatalinkMonitoring,
      PX10_CONTROL(Radio, rdgRS485ThirdPartyDatalinkMonitoring),
      .Caption = IvNative("Third Party Datalink Monitoring"), .Items = { IvNative("Disable"), IvNative("Enable") },
      PX10_FLAG(RS485ThirdPartyDatalinkMonitoring) },
    { .Option = PanelOption::RS485ThirdPartySuspendCommsLimit,
      PX10_CONTROL(Spin, spnRS485ThirdPartySuspendCommsLimit), .Min = 0, .Max = 300,
      PX10_VALUE(RS485ThirdPartySuspendCommsLimit) },
    { .Option = PanelOption::PrimaryDelay, PX10_CONTROL(Spin, spnPrimaryDelay), .Min = 0, .Max = 300,
      PX10_VALUE(PrimaryDelay) },
    { .Option = PanelOption::ExtendDelay, PX10_CONTROL(Spin, spnExtendDelay), .Min = 0, .Max = 10,
      PX10_VALUE(ExtendDelay) },
    { .Option = PanelOption::HeatDetectorsEndDelays, PX10_CONTROL(Check, cbxHeatDetectorsEndDelays),
      .Caption = IvNative("Heat Detectors End Delays"), PX10_FLAG(HeatDetectorsEndDelays) },
    // The day mode's new alarm option, stored inverted: checked stores 0.
    { .Option = PanelOption::TwoAlarmZonesEndDelays, PX10_CONTROL(Check, cbxDayModeNewAlarmOption),
      .Caption = IvNative("Two Alarm Zones End Delays"),
      .Read = [](const G& g) { return g.GetDayModeNewAlarmOption() == 0 ? 1 : 0; },
      .Write = [](G& g, int v) { g.SetDayModeNewAlarmOption(v != 0 ? 0 : 1); } },
    { .Option = PanelOption::DelaysActiveIndication, PX10_CONTROL(Radio, rdgDelaysActiveIndication),
      .Caption = IvNative("Delays Active Indication"),
      .Items = { IvNative("Delays Active LED Only"), IvNative("Delays Active and Disablement LEDs") },
      PX10_VALUE(DelaysActiveIndication) },
    { .Option = PanelOption::WeekendNightMode, PX10_CONTROL(Radio, rdgWeekendNightMode),
      .Caption = IvNative("Weekend Night Mode"), .Items = { IvNative("Disabled"), IvNative("Enabled") },
      PX10_FLAG(WeekendNightMode) },
    { .Option = PanelOption::DayModeStartOption, PX10_CONTROL(Radio, rdgDayModeStartOption),
      .Caption = IvNative("Day Mode Start Option"), .Items = { IvNative("Manual"), IvNative("Automatic") },
      PX10_FLAG(DayModeStartOption) },
} };
// clang-format on
static_assert(Complete(PanelOptions));
