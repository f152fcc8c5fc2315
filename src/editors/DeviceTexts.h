#pragma once
// The texts of loop sensors and modules, without widgets: the fixed
// vocabularies (an entry's position is the stored code) and how one device
// record is shown. The sensor and module grids, the CBE rule editor and the
// reports all read devices through these.
//
// Showing never writes: a stored code outside its list shows as the number,
// and nothing here changes a record.
#include "Ivdictio.h"

#include <string>
#include <utility>
#include <vector>

class TPX10ConfigDeviceConfiguration;

using TTextList = std::vector<std::string>;

// Position of `text` in `list`, or -1.
int IndexOfText(const TTextList& list, const std::string& text);
// Entry `code` of `list`, or the code in decimal when it lies outside the list.
std::string TextOrNumber(const TTextList& list, int code);
// A whole decimal number, blanks around it allowed.
bool ParseWholeNumber(const std::string& text, int& value);

// Protocol positions in the protocol lists.
enum TDeviceProtocol { dpNone = 0, dpTorq = 1, dpBrim = 2 };

// Sensor vocabularies. English; a translated copy keeps the order.
struct TSensorLists {
    TTextList Protocols { " - ", "TORQ", "BRIM" };
    TTextList ProtocolsBrimOnly { " - ", "BRIM" };
    TTextList ProtocolsTorqOnly { " - ", "TORQ" };
    // BRIM types by type byte.
    TTextList BrimTypes { " - ", "TMP", "OPT", "ION", "MLT", "AVS", "AVR", "OPX", "LSR", "SM4", "SM3",
        "SM2" };
    TTextList BrimTypesCommon { "TMP", "OPT", "ION", "MLT", "OPX", "SM2", "SM3" };
    TTextList BrimTypesViews { "SM4", "AVS", "AVR" };
    // TORQ types by TORQ type byte (128 entries).
    TTextList TorqTypes;
    TTextList TorqTypesCommon { "OPT", "SMT2", "SMT3", "SMT4", "TFIX58", "TDIFF", "TFIX78" };
    TTextList Levels { "L0", "L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9" };
    TTextList ApplicationNumbers { "255", "0", "1", "2", "3", "4", "5", "6", "7" };
    TTextList RemoteOutputs { " -", IvNative("Follow"), IvNative("CBE") };

    TSensorLists();
};

// Module vocabularies.
struct TModuleLists {
    TTextList Protocols { " - ", "TORQ", "BRIM" };
    TTextList ProtocolsBrimOnly { " - ", "BRIM" };
    TTextList ProtocolsTorqOnly { " - ", "TORQ" };
    // Functions by type byte, 0 to 20.
    TTextList Functions { " - ", "MCP", "AUX", "MON", "SDR", "RLY", "CTL", "ZMX", "ESM", "EST", "DKM", "MRL",
        "IRL", "ESO", "MNS", "TxD", "ESE", "RLE", "CTE", "LBM", "FRM" };
    // TORQ types; entry p is TORQ type code 127 + p (129 entries).
    TTextList TorqTypes;
    TTextList TorqTypesCommon { "K710", "K710M", "MCP", "MCP-OD", "K720", "K721", "K701", "K701-240",
        "K710-CZ", "WMSOU", "WMSST", "WMSTR", "DBSOU", "DBSST" };
    TTextList BrimModuleTypes { "MMX", "CMX", "ZMX", "LBM" };
    TTextList InputFunctions { "MCP", "DKM", "MON", "MNS", "AUX", "MRL", "IRL" };
    TTextList OutputFunctions { "SDR", "TxD", "CTL", "RLY", "ESM", "ESO", "EST", "ESE", "RLE", "CTE" };
    TTextList SounderFunctions { "SDR" };
    TTextList ZmxFunctions { "ZMX", "FRM" };
    TTextList LbmFunctions { "LBM" };
    // Functions of a K721's third channel.
    TTextList K721OutputFunctions { "RLY", "EST", "ESE", "RLE" };
    // Actions of an AUX module, codes 0 to 10.
    TTextList AuxActions { IvNative("PLANT ALARM"), IvNative("RESET PANEL"), IvNative("SILENCE SOUNDERS"),
        IvNative("MUTE BUZZER"), IvNative("CLASS CHANGE"), IvNative("ABORT SWITCH"), IvNative("HOLD SWITCH"),
        IvNative("FIRE BRIGADE CALLED"), IvNative("EXT. SYSTEM RELEASED"), IvNative("EXT. SYSTEM FAULT"),
        IvNative("FAULT ROUTING FAULT") };

    TModuleLists();
};

const TSensorLists& DefaultSensorLists();
const TModuleLists& DefaultModuleLists();

// Stored codes with a meaning of their own.
namespace devicecode {
constexpr int TorqSensorOpt = 20;
constexpr int BrimTypeOpt = 2;
constexpr int TorqK701 = 128;
constexpr int TorqK710 = 132;
constexpr int TorqK720 = 133; // two channels
constexpr int TorqK721 = 134; // three channels
constexpr int FunctionMcp = 1;
constexpr int FunctionAux = 2;
constexpr int FunctionMon = 3;
constexpr int FunctionSdr = 4;
constexpr int FunctionRly = 5;
constexpr int FunctionZmx = 7;
constexpr int FunctionMns = 14;
constexpr int FunctionLbm = 19;
constexpr int FunctionCount = 21;
constexpr int ActionAbortSwitch = 5;
constexpr int ActionHoldSwitch = 6;
constexpr int RemoteOutputCbe = 2;
constexpr int ApplicationNumberType = 9; // the sensor type byte with application numbers
} // namespace devicecode

// How a sensor's alarm values are shown and read.
enum TSensitivityClass { scPercent, scL8, scL10, scL5 };

class TSensorTexts {
public:
    TSensorTexts(const TPX10ConfigDeviceConfiguration& sensors, bool groupsAllowed,
        const TSensorLists& lists = DefaultSensorLists())
        : FSensors(sensors)
        , FGroupsAllowed(groupsAllowed)
        , FLists(lists)
    {
    }

    TDeviceProtocol Protocol(int a) const;
    bool IsTorq(int a) const { return Protocol(a) == dpTorq; }
    // A BRIM sensor of a group-capable type with a group, on a panel with groups.
    bool IsGrouped(int a) const;
    bool GroupShown(int a) const;
    TSensitivityClass SensitivityClass(int a) const;
    bool HasPrealarmLevels(int a) const;

    std::string GetProtocol(int a) const;
    std::string GetType(int a) const;
    std::string GetApplNumber(int a) const;
    std::string GetRemoteOP(int a) const;
    std::string GetFireSensitivity(int a) const;
    std::string GetDayModeSensitivity(int a) const;
    std::string GetPrealarmSensitivity(int a) const;
    std::string GetDaymodePrealarmSensitivity(int a) const;
    std::string GetGroup(int a) const;
    // Null (false) when the sensor takes no CBE rules.
    bool GetCBERule(int a, std::string& text) const;
    // "TORQ/OPT", or the protocol alone when there is no type text.
    std::string SensorTypeText(int a) const;

    // A typed or chosen alarm text as a stored value; none when the text
    // gives no value.
    bool ConvertSensitivity(int a, const std::string& text, int& value) const;
    bool ConvertPrealarmSensitivity(int a, const std::string& text, int& value) const;

    const TSensorLists& Lists() const { return FLists; }
    bool GroupsAllowed() const { return FGroupsAllowed; }
    const TPX10ConfigDeviceConfiguration& Devices() const { return FSensors; }

private:
    std::string AlarmText(int a, int value) const;
    std::string PrealarmText(int a, int value) const;

    const TPX10ConfigDeviceConfiguration& FSensors;
    bool FGroupsAllowed;
    const TSensorLists& FLists;
};

// Zones a module of function `function` may have: {first, last}.
std::pair<int, int> ModuleZoneRange(int function);
constexpr std::pair<int, int> SensorZoneRange { 1, 16 };
// Whether a module's function takes CBE rules (AUX only as an abort or hold switch).
bool FunctionTakesCBERules(int function, int action);
bool IsInputFunction(int function);
bool IsOutputFunction(int function);
// Whether function `type` suits TORQ module type `torqType`; when it does
// not, `type` becomes that TORQ type's default function.
bool MatchedType(int torqType, int& type);

class TModuleTexts {
public:
    explicit TModuleTexts(
        const TPX10ConfigDeviceConfiguration& modules, const TModuleLists& lists = DefaultModuleLists())
        : FModules(modules)
        , FLists(lists)
    {
    }

    TDeviceProtocol Protocol(int a) const;
    bool TakesCBERules(int a) const;
    // The action byte as stored (a value above the list is not read as 0).
    int StoredAction(int a) const;

    std::string GetProtocol(int a) const;
    std::string GetType(int a) const;
    std::string GetFunction(int a) const;
    std::string GetChannel(int a) const;
    std::string GetAction(int a) const;
    bool GetCBERule(int a, std::string& text) const;
    // "TORQ/K710/MCP"; a channel 2 or 3 names the model of its first channel.
    std::string ModuleTypeText(int a) const;
    // The text of action code `action`, or the number.
    std::string AuxActionText(int action) const { return TextOrNumber(FLists.AuxActions, action); }

    const TModuleLists& Lists() const { return FLists; }
    const TPX10ConfigDeviceConfiguration& Devices() const { return FModules; }

private:
    const TPX10ConfigDeviceConfiguration& FModules;
    const TModuleLists& FLists;
};
