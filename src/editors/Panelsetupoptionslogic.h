#pragma once
// The panel setup options without widgets: what every control of the frame
// shows and whether it is enabled (PanelSetupOptionsState), computed from the
// configuration the options are bound to, and one operation per user action
// that writes that configuration at once. TfrmPanelSetupOptions only wires
// its widgets to this class. Texts of the configuration are Windows-1252
// bytes here; translated texts are UTF-8.
#include "ConfigPointer.h"

#include <QDate>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TPX10ConfigData;

// Options whose control stores its item index, value or check mark as it
// is (a flag stores item index != 0); each has its row in PanelOptions
// (PanelOptionTable.h), in this order.
enum class PanelOption {
    DateFormat,
    EventPrinting,
    PrintFormat,
    ControlKeys,
    LED1HMode,
    LED2CMode,
    ControlKey3Mode,
    UnmuteOption,
    FireOutputActiveLEDOption,
    MainsDelay,
    AutoResoundMode,
    LampTest,
    TorqSwitch, // refused while TORQ devices exist
    Blinking, // also enables the blink colours
    PulseRatio,
    TransmissionDevice,
    DigitalInput1,
    FWPInput4Disable,
    HightestEnable,
    ExtSystemDelay,
    ExtSystemSoakTime,
    HoldSwitchOperation,
    FWP2OutputActivation,
    WeekendSensitivityNightMode,
    FiremansWorkPanelOption,
    RoutingAutoDisable,
    SuppressDoubleAddress,
    MaxHeadLEDs,
    SensorsBlinkColour,
    ModulesBlinkColour,
    RS232Options,
    RS232ThirdPartyDatalinkMonitoring,
    RS232ThirdPartySuspendCommsLimit,
    RS485QtyRepeaters,
    RS485ThirdPartyDatalinkMonitoring,
    RS485ThirdPartySuspendCommsLimit,
    PrimaryDelay,
    ExtendDelay,
    HeatDetectorsEndDelays,
    TwoAlarmZonesEndDelays, // DayModeNewAlarmOption, stored inverted
    DelaysActiveIndication,
    WeekendNightMode,
    DayModeStartOption,
    Count
};

enum class TimeField { HightestTime, SensitivityStart, SensitivityEnd, DayModeStart, DayModeEnd, Count };

enum class GsmFlag {
    Alarm,
    Fault,
    Prealarm,
    Controls,
    GeneralDisable,
    ZoneDisable,
    DeviceDisable,
    SystemDisable,
    Count
};
enum class GsmQuantity { Alarm, PreAlarm, Fault, Count };

struct GsmItemState {
    std::string Number; // code-page bytes, no blanks once edited
    std::array<bool, std::size_t(GsmFlag::Count)> Flags {};
    std::array<int, std::size_t(GsmQuantity::Count)> Quantities {}; // item index of "1", "5", "ALL"
    std::array<bool, std::size_t(GsmQuantity::Count)> QuantityEnabled {};
    bool Flag(GsmFlag f) const { return Flags[std::size_t(f)]; }
    int Quantity(GsmQuantity q) const { return Quantities[std::size_t(q)]; }
    bool QuantityIsEnabled(GsmQuantity q) const { return QuantityEnabled[std::size_t(q)]; }
};

struct PanelSetupOptionsState {
    // Item index, value or check mark (0/1) of each plain option's control;
    // a stored value outside a list is shown as it is (the control shows no item).
    std::array<int, std::size_t(PanelOption::Count)> Values {};
    int Value(PanelOption o) const { return Values[std::size_t(o)]; }

    std::vector<std::string> PanelTypeRows; // cboPanelTypeSelection
    int PanelTypeRow = 0;
    bool PrintingEnabled = true; // rdgEventPrinting, rdgPrintFormat
    bool ControlKey3ModeVisible = false; // also its enabled state
    bool FireOutputActiveLEDVisible = false;
    bool LEDModesEnabled = true; // rdgLED1HMode, rdgLED2CMode
    bool BlinkColoursEnabled = false;

    std::string SiteName; // code-page bytes
    std::string ServicePhoneNo;
    bool ServiceDueEnabled = false; // check box and picker
    QDate ServiceDue; // null: the picker keeps what it shows

    std::array<std::string, std::size_t(TimeField::Count)> Times; // "hh:mm" with the separator
    const std::string& Time(TimeField f) const { return Times[std::size_t(f)]; }
    std::string DayModeCaption; // gbxDayModeDelays

    int RS232Protocol = 0;
    std::vector<std::string> RS232OptionsRows;
    bool RS232ThirdPartyEnabled = false;
    bool GsmItemsVisible = false; // else the RS232 options panel shows

    std::vector<std::string> RS485Rows;
    int RS485Row = 0;
    bool RS485RepeatersEnabled = false;
    bool RS485ThirdPartyEnabled = false;

    int GsmItem = 1; // 1 to 5: the selected tab + 1
    GsmItemState Gsm;
};

class PanelSetupOptions {
public:
    // Site name, service telephone number and GSM number: code-page bytes.
    static constexpr int TextLimit = 20;

    explicit PanelSetupOptions(TPX10ConfigData* config = nullptr);

    // The configuration edited from now on (null: none). Loading is the
    // caller's next step; nothing is read or written here.
    void Bind(TPX10ConfigData* config);
    TPX10ConfigData* Config() { return FConfig.get(); }
    const TPX10ConfigData* Config() const { return FConfig.get(); }
    const PanelSetupOptionsState& State() const { return FState; }

    // Fills the state from the configuration. `regionalOptions`: the main
    // window's regional test; `vds`: its VdS Compatibility mark. Loading
    // writes back what the spin controls show (WriteBackSpinValues); nothing
    // else.
    void Load(bool regionalOptions, bool vds);
    // A spin control shows a stored value outside its range at the nearer
    // limit, and setting it in code reports that as a change, which stores
    // it: each spin control's option is stored as the control shows it, so
    // that Save and Send carry what the user saw. Lists keep what is stored.
    // Run on every load, whether or not the controls exist yet.
    static void WriteBackSpinValues(TPX10ConfigData& config);
    // Called after a panel type was chosen (the main window refreshes every
    // view); without it the options load themselves again.
    std::function<void()> OnPanelTypeChanged;
    // The separator the time texts are shown with.
    void SetTimeSeparator(char separator) { FSeparator = separator; }

    void SetOption(PanelOption option, int value);
    void ChoosePanelType(int row);
    void ChooseRS232Protocol(int index);
    void ChooseRS485Protocol(int row);
    void SetSiteName(const std::string& text);
    void SetServicePhoneNo(const std::string& text);
    // Checked: the date the picker shows is stored; cleared: no date.
    void SetServiceDueEnabled(bool enabled, const QDate& shown);
    // Years outside 2000 to 2063 (all the stored word holds) become the
    // nearest of them, same day and month.
    void SetServiceDueDate(const QDate& date);

    // Stores an edited time (blanks read as 0, out-of-range parts clamped)
    // and shows the stored time; a day mode time arms the start/end check.
    void EditTime(TimeField field, const std::string& text);
    // One 100 ms step of the start/end check; it disarms itself when it acts.
    void DayModeCheckTick();
    bool DayModeCheckArmed() const { return FCheckArmed; }
    // Focus left the day mode times: warns of a start after the end.
    void DayModeTimeExit();

    void SelectGsmItem(int item);
    void SetGsmFlag(GsmFlag flag, bool on);
    void SetGsmQuantity(GsmQuantity quantity, int index);
    // Removes blanks (the caret moves left for each one before it) and stores
    // the number; returns the caret position for the cleaned text.
    int EditGsmNumber(const std::string& text, int caret);
    // Whether an edit of the GSM number, from `before` (as shown) to `after`,
    // may stand: it puts in only digits and blanks, and a sign only in front
    // (blanks are taken out, so a sign after leading blanks is in front).
    // A number stored against that rule (an older file) stays as it is and
    // stays editable: an edit may keep its misplaced characters, but not add
    // one, nor move a sign out of the front.
    static bool GsmNumberEditFits(const std::string& before, const std::string& after);

    // Hidden lists of the frame.
    static const std::vector<std::string>& PanelTypesVeltrane();
    static const std::vector<std::string>& RS485DefaultProtocolList();
    static const std::vector<std::string>& RS485PX11ProtocolList();
    static const std::vector<std::string>& RS232PX10EventPrinterOptions();
    static const std::vector<std::string>& RS232PX11EventPrinterOptions();
    static const std::vector<std::string>& RS232ThirdPartyOptions();
    static const std::vector<std::string>& GsmQuantityItems();
    // The fixed items of an option's radio group or combo box (its row's),
    // English, in code order (empty for an option without a list); the frame
    // and the panel report show them translated.
    static const std::vector<std::string>& OptionItems(PanelOption option);
    static const std::vector<std::string>& RS232ProtocolList();
    // List mappings (bounds-checked: a stored value outside a list shows row 0).
    static int PanelTypeSelectionRow(int panelType);
    static const std::vector<std::string>& RS485ListFor(int panelType);
    static int RS485SelectionRow(int panelType, int protocol);
    static int RS485ProtocolOfText(const std::string& text);
    // Null for GSM MODEM: the options list stays as it is.
    static const std::vector<std::string>* RS232OptionsListFor(int rs232Protocol, int panelType);

private:
    int Read(PanelOption option) const;
    void Write(PanelOption option, int value);
    void LoadTime(TimeField field);
    void LoadGsmItem();
    void UpdateRS485Options();
    void UpdateRS232Options();
    void UpdateDayModeCaption();
    void UpdateGsmQuantityEnables();
    int PanelType() const;
    int& Slot(PanelOption o) { return FState.Values[std::size_t(o)]; }

    TConfigPointer<TPX10ConfigData> FConfig = nullptr;
    PanelSetupOptionsState FState;
    char FSeparator = ':';
    int FCheckTag = 0;
    bool FCheckArmed = false;
};
