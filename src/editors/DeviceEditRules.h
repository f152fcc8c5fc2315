#pragma once
// Writing a field of the sensor and module grids (through its column's write,
// DeviceColumns.h), which pick lists a row offers, the protocol rule that
// keeps TORQ devices and more than 40 BRIM devices apart, the channel records
// of multi-channel modules, and the address check of Add Devices. Plain
// classes over the device part they are given; the data sets and frames only
// wire widgets to them.
#include "DeviceTexts.h"
#include "ConfigPointer.h"
#include "Prompts.h"

#include <optional>
#include <string>
#include <vector>

class TPX10ConfigData;
class TPX10ConfigDeviceConfiguration;

// A message about a refused value, shown once the edit has returned.
struct TFieldMessage {
    std::string Text; // translated
    platform::MsgDlgType Type = platform::MsgDlgType::mtWarning;
    bool operator==(const TFieldMessage&) const = default;
};
using TWriteResult = std::optional<TFieldMessage>;

TFieldMessage InvalidZoneMessage();

// ---- the protocol offer ----

enum TProtocolOffer { poAll, poBrimOnly, poTorqOnly };
// With the TORQ switch off only BRIM; otherwise TORQ devices and more than 40
// BRIM devices (sensors and modules together) never coexist.
TProtocolOffer ProtocolOffer(bool torqSwitch, int torqDevices, int brimDevices);
TProtocolOffer ProtocolOffer(const TPX10ConfigData& config);
// Whether a change taking the loop from the first counts to the second keeps
// that rule: it may not add a TORQ device beside more than 40 BRIM devices,
// nor raise the BRIM count above 40 beside a TORQ device. A loop that already
// mixes them (read from a file or the panel) takes any other change.
bool ProtocolChangeAllowed(int torqBefore, int brimBefore, int torqAfter, int brimAfter);
// How many BRIM devices Add Devices may still add: 40 - B while there is a
// TORQ device and B < 40, else -1 (no limit).
int BrimAllowance(const TPX10ConfigData& config);
// Panel types 1, 3 and 4 have no sensor groups (nor the view sensors).
bool PanelHasGroups(int panelType);
bool PanelHasGroups(const TPX10ConfigData& config);

// How a grid cell of the current row is edited.
struct TColumnOffer {
    enum TStyle { None, Auto, Ellipsis };
    TStyle Style = None;
    TTextList Items; // Auto: the only entries a user may choose
    // The code of each entry: its position in the whole vocabulary it comes
    // from, which a choice stands for in every language.
    std::vector<int> Codes;
    bool operator==(const TColumnOffer&) const = default;
};

// ---- sensors ----

// Field numbers of the sensor data set.
enum TSensorField {
    sfAddress = 1,
    sfDescription,
    sfZone,
    sfProtocol,
    sfType,
    sfAlarm,
    sfPA,
    sfDay,
    sfPD,
    sfGroup,
    sfAppNum,
    sfRemOutput,
    sfCBERule
};
constexpr int SensorFieldCount = sfCBERule;

class TSensorEdits {
public:
    // Works on the sensors of `config`; the panel type and the other devices
    // decide what a row offers.
    explicit TSensorEdits(TPX10ConfigData& config, const TSensorLists& lists = DefaultSensorLists());

    const TSensorTexts& Texts() const { return FTexts; }
    TPX10ConfigDeviceConfiguration& Devices() { return *FSensors; }
    // Writes the text of field `field` (Windows-1252 bytes for the
    // description) into sensor `a`, as its column writes it. A text a pick
    // list does not hold changes nothing.
    TWriteResult Write(int field, int a, const std::string& text);

    // The protocol, type and their defaults.
    void ChangeProtocol(int a, const std::string& text);
    void ChangeType(int a, const std::string& text);

    // Pick lists of the Protocol and Type columns for a row showing these
    // texts (FillDeviceLists).
    static void FillDeviceLists(const TPX10ConfigData& config, const TSensorLists& lists,
        TTextList* protocols, TTextList* types, const std::string& protocolText);

    struct TRowOffer {
        TColumnOffer Protocol, Type, AppNum, RemOutput, CBERule, Alarm, PA, Day, PD;
    };
    // How each cell of row `a` is edited; asked whenever a cell editor opens.
    TRowOffer RowOffer(int a) const;
    void UpdateTypePickList(int a, TRowOffer& r) const; // Protocol and Type
    void UpdateTorqColumns(int a, TRowOffer& r) const; // App.Num. and Rem. Output
    void UpdateColumns(int a, TRowOffer& r) const; // the CBE Rule button
    void UpdateSensitivityColumns(int a, TRowOffer& r) const; // Alarm, PA, Day, PD

private:
    void AfterTypeChange(int a, int oldType);

    TConfigPointer<TPX10ConfigData> FConfig;
    TConfigPointer<TPX10ConfigDeviceConfiguration> FSensors;
    TSensorTexts FTexts;
};

// The sensitivity a sensor of type byte `type` starts with.
int DefaultSensitivity(int type);

// ---- modules ----

enum TModuleField {
    mfAddress = 1,
    mfChannel,
    mfDescription,
    mfZone,
    mfProtocol,
    mfType,
    mfFunction,
    mfAction,
    mfCBERule
};
constexpr int ModuleFieldCount = mfCBERule;

class TModuleEdits {
public:
    explicit TModuleEdits(TPX10ConfigData& config, const TModuleLists& lists = DefaultModuleLists());

    const TModuleTexts& Texts() const { return FTexts; }
    TPX10ConfigDeviceConfiguration& Devices() { return *FModules; }
    TWriteResult Write(int field, int a, const std::string& text);

    void ChangeProtocol(int a, const std::string& text);
    void ChangeType(int a, const std::string& text);
    void ChangeFunction(int a, const std::string& text);

    // Pick lists of Protocol, Type and Function for a row showing these
    // texts; `channel` is the row's channel (a K721's third offers its outputs).
    static void FillDeviceLists(const TPX10ConfigData& config, const TModuleLists& lists,
        TTextList* protocols, TTextList* types, TTextList* functions, const std::string& protocolText,
        const std::string& typeText, int channel);

    struct TRowOffer {
        TColumnOffer Protocol, Type, Function, Action, CBERule;
    };
    TRowOffer RowOffer(int a) const;
    void UpdateGridColumns(int a, TRowOffer& r) const; // Protocol, Type and Function
    void UpdateCBERuleColumn(int a, TRowOffer& r) const;
    void UpdateActionColumn(int a, TRowOffer& r) const;
    // The protocol and type texts a row stands for: a channel 2 or 3 names
    // its module's.
    void RowProtocolAndType(int a, std::string& protocol, std::string& type) const;

private:
    void AfterFunctionChange(int a, int oldFunction);

    TConfigPointer<TPX10ConfigData> FConfig;
    TConfigPointer<TPX10ConfigDeviceConfiguration> FModules;
    TModuleTexts FTexts;
};

// ---- multi-channel modules (K720: two addresses, K721: three) ----

struct TMultiChannelResult {
    std::vector<int> Changed; // addresses whose records changed, for their tree nodes
    TWriteResult Message; // a K720 or K721 that had no room
};
// Keeps the channel records of the module at `a` consistent after its
// protocol or type changed: a new K720 or K721 takes channel 1 and its other
// channels are created at once on the following addresses, when those are
// free and inside the loop; otherwise it stays a K710. A channel record whose
// model was changed takes its module's model back.
TMultiChannelResult UpdateMultiChannelModule(TPX10ConfigDeviceConfiguration& modules, int a);
// The addresses a delete of from..to resets: a multi-channel module cut by
// the range is deleted whole.
std::pair<int, int> ModuleDeleteRange(const TPX10ConfigDeviceConfiguration& modules, int from, int to);
// The function a module added as part of a K721 range gets: the third
// channel RLY, the first two the chosen function when it suits an input
// channel, else the first input function.
std::string K721RangeFunction(const TModuleLists& lists, int first, int address, const std::string& chosen);

// ---- Add Devices ----

// The address check; stops at the first failing step.
struct TAddressCheck {
    bool Ok = false;
    bool ClearLast = false; // the last address broke the BRIM limit
    int First = 0; // 0 when empty or invalid
    int Last = 0;
};
// The value of an address edit: 1..99, else 0.
int AddressValue(const std::string& text);
TAddressCheck CheckAddresses(const std::string& firstText, const std::string& lastText,
    const std::string& protocolText, const std::string& typeText, int brimLimit);
