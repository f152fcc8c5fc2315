#include "DeviceTexts.h"

#include "PX10ConfigDeviceConfiguration.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

using namespace devicecode;

namespace {

constexpr int ActionOffset = 30; // the action byte, read as stored

std::string UNumber(int code)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "U%03d", code);
    return buf;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trimmed(const std::string& s)
{
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

} // namespace

bool ParseWholeNumber(const std::string& text, int& value)
{
    std::string t = Trimmed(text);
    if (t.empty() || t.size() > 6)
        return false;
    size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size())
        return false;
    for (size_t k = i; k < t.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(t[k])))
            return false;
    value = std::stoi(t);
    return true;
}

namespace {

// A level text as typed: "3" means "L3".
int LevelPosition(const TTextList& levels, const std::string& text)
{
    std::string t = Upper(Trimmed(text));
    if (!t.empty() && !levels.empty() && !levels[0].empty() && t[0] != levels[0][0])
        t.insert(t.begin(), levels[0][0]);
    return IndexOfText(levels, t);
}

bool In(int v, std::initializer_list<int> set)
{
    return std::find(set.begin(), set.end(), v) != set.end();
}

} // namespace

int IndexOfText(const TTextList& list, const std::string& text)
{
    auto it = std::find(list.begin(), list.end(), text);
    return it == list.end() ? -1 : int(it - list.begin());
}

std::string TextOrNumber(const TTextList& list, int code)
{
    if (code >= 0 && code < int(list.size()))
        return list[code];
    return std::to_string(code);
}

TSensorLists::TSensorLists()
{
    TorqTypes.push_back(" - ");
    for (int c = 1; c <= 127; ++c) {
        switch (c) {
        case 20:
            TorqTypes.push_back("OPT");
            break;
        case 30:
            TorqTypes.push_back("SMT2");
            break;
        case 31:
            TorqTypes.push_back("SMT4");
            break;
        case 32:
            TorqTypes.push_back("SMT3");
            break;
        case 51:
            TorqTypes.push_back("TFIX58");
            break;
        case 52:
            TorqTypes.push_back("TDIFF");
            break;
        case 53:
            TorqTypes.push_back("TFIX78");
            break;
        default:
            TorqTypes.push_back(UNumber(c));
            break;
        }
    }
}

TModuleLists::TModuleLists()
{
    TorqTypes = { " - ", "K701", "K701-240", "MCP", "MCP-OD", "K710", "K720", "K721", "K710-CZ", "K710M" };
    for (int c = 137; c <= 149; ++c)
        TorqTypes.push_back(UNumber(c));
    for (const char* t : { "WMSOU", "WMSST", "WMSTR", "DBSOU", "DBSST" })
        TorqTypes.push_back(t);
    for (int c = 155; c <= 255; ++c)
        TorqTypes.push_back(UNumber(c));
}

const TSensorLists& DefaultSensorLists()
{
    static const TSensorLists lists;
    return lists;
}

const TModuleLists& DefaultModuleLists()
{
    static const TModuleLists lists;
    return lists;
}

// ---- sensors ----

TDeviceProtocol TSensorTexts::Protocol(int a) const
{
    if (FSensors.GetTorqType(a) != 0)
        return dpTorq;
    return FSensors.GetType(a) != 0 ? dpBrim : dpNone;
}

bool TSensorTexts::IsGrouped(int a) const
{
    return Protocol(a) == dpBrim && In(FSensors.GetType(a), { 2, 3, 4, 7, 9, 10, 11 })
        && FSensors.GetGroup(a) != 0 && FGroupsAllowed;
}

bool TSensorTexts::GroupShown(int a) const
{
    if (Protocol(a) != dpBrim)
        return false;
    int t = FSensors.GetType(a);
    return t == 5 || t == 6 || (FGroupsAllowed && In(t, { 2, 3, 4, 7, 9, 10, 11 }));
}

TSensitivityClass TSensorTexts::SensitivityClass(int a) const
{
    if (Protocol(a) == dpTorq)
        return scL8;
    int t = FSensors.GetType(a);
    if (In(t, { 5, 6, 8 }) || IsGrouped(a))
        return scL5;
    if (In(t, { 7, 9, 10, 11 }))
        return scL8;
    if (t == 4)
        return scL10;
    return scPercent;
}

bool TSensorTexts::HasPrealarmLevels(int a) const
{
    return (Protocol(a) == dpBrim && In(FSensors.GetType(a), { 5, 6 })) || IsGrouped(a);
}

std::string TSensorTexts::GetProtocol(int a) const
{
    return FLists.Protocols.at(Protocol(a));
}

std::string TSensorTexts::GetType(int a) const
{
    switch (Protocol(a)) {
    case dpTorq:
        return TextOrNumber(FLists.TorqTypes, FSensors.GetTorqType(a));
    case dpBrim:
        return TextOrNumber(FLists.BrimTypes, FSensors.GetType(a));
    default:
        return {};
    }
}

std::string TSensorTexts::GetApplNumber(int a) const
{
    if (Protocol(a) != dpTorq || FSensors.GetType(a) != ApplicationNumberType)
        return {};
    int n = FSensors.GetApplicationNumber(a);
    if (n == 255)
        return FLists.ApplicationNumbers.at(0);
    return TextOrNumber(FLists.ApplicationNumbers, n);
}

std::string TSensorTexts::GetRemoteOP(int a) const
{
    if (Protocol(a) != dpTorq)
        return {};
    return TextOrNumber(FLists.RemoteOutputs, FSensors.GetRemoteOutput(a));
}

std::string TSensorTexts::AlarmText(int a, int v) const
{
    int level;
    switch (SensitivityClass(a)) {
    case scL8:
        level = (v - 69) / 8;
        break;
    case scL10:
        level = (v - 65) / 10;
        break;
    case scL5:
        level = (v - 73) / 5;
        break;
    default:
        return std::to_string(v) + "%";
    }
    // A value no level stands for (from a file) shows as the number.
    if (level < 0 || level >= int(FLists.Levels.size()))
        return std::to_string(v);
    return FLists.Levels[level];
}

std::string TSensorTexts::PrealarmText(int a, int v) const
{
    if (!HasPrealarmLevels(a))
        return {};
    int level = ((v - 76) * 2) / 9;
    if (level < 0 || level >= int(FLists.Levels.size()))
        return std::to_string(v);
    return FLists.Levels[level];
}

std::string TSensorTexts::GetFireSensitivity(int a) const
{
    return AlarmText(a, FSensors.GetFireSensitivity(a));
}

std::string TSensorTexts::GetDayModeSensitivity(int a) const
{
    return AlarmText(a, FSensors.GetDayModeSensitivity(a));
}

std::string TSensorTexts::GetPrealarmSensitivity(int a) const
{
    return PrealarmText(a, FSensors.GetPrealarmSensitivity(a));
}

std::string TSensorTexts::GetDaymodePrealarmSensitivity(int a) const
{
    return PrealarmText(a, FSensors.GetDayModePrealarmSensitivity(a));
}

std::string TSensorTexts::GetGroup(int a) const
{
    return GroupShown(a) ? std::to_string(FSensors.GetGroup(a)) : std::string();
}

bool TSensorTexts::GetCBERule(int a, std::string& text) const
{
    if (Protocol(a) != dpTorq || FSensors.GetRemoteOutput(a) != RemoteOutputCbe)
        return false;
    text = FSensors.GetShownCBERuleListText(a).substr(0, 40);
    return true;
}

std::string TSensorTexts::SensorTypeText(int a) const
{
    std::string t = GetType(a);
    return t.empty() ? GetProtocol(a) : GetProtocol(a) + "/" + t;
}

bool TSensorTexts::ConvertSensitivity(int a, const std::string& text, int& value) const
{
    TSensitivityClass c = SensitivityClass(a);
    if (c == scPercent)
        return ParseWholeNumber(text, value);
    int n = LevelPosition(FLists.Levels, text);
    if (n < 0)
        return false;
    value = c == scL8 ? 72 + 8 * n : c == scL10 ? 70 + 10 * n : 75 + 5 * n;
    return true;
}

bool TSensorTexts::ConvertPrealarmSensitivity(int a, const std::string& text, int& value) const
{
    if (!HasPrealarmLevels(a))
        return false;
    int n = LevelPosition(FLists.Levels, text);
    if (n < 0)
        return false;
    value = 80 + (9 * n) / 2;
    return true;
}

// ---- modules ----

std::pair<int, int> ModuleZoneRange(int function)
{
    if (In(function, { 1, 3, 7, 8, 10, 11, 12, 14 }))
        return { 1, 16 };
    if (function == FunctionAux)
        return { 17, 32 };
    return { 1, 32 };
}

bool FunctionTakesCBERules(int f, int action)
{
    if ((f >= 3 && f <= 6) || f == 9 || (f >= 11 && f <= 18))
        return true;
    return f == FunctionAux && (action == ActionAbortSwitch || action == ActionHoldSwitch);
}

bool IsInputFunction(int f)
{
    return In(f, { 1, 10, 3, 14, 2, 11, 12 });
}

bool IsOutputFunction(int f)
{
    return In(f, { 4, 15, 6, 5, 8, 13, 9, 16, 17, 18 });
}

bool MatchedType(int torqType, int& type)
{
    static const std::vector<int> outputs { 4, 5, 6, 9, 13, 15, 16, 17, 18 };
    static const std::vector<int> inputs { 1, 2, 3, 8, 10, 11, 12, 14 };
    static const std::vector<int> zmx { 7, 20 };
    const std::vector<int>* allowed;
    int fallback;
    if (torqType == 128 || torqType == 129) {
        allowed = &outputs;
        fallback = 6;
    } else if (torqType == 130 || torqType == 131) {
        allowed = &inputs;
        fallback = 1;
    } else if (In(torqType, { 132, 133, 134, 136 })) {
        allowed = &inputs;
        fallback = 3;
    } else if (torqType == 135) {
        allowed = &zmx;
        fallback = 7;
    } else if (torqType >= 150 && torqType <= 154) {
        allowed = &outputs;
        fallback = 4;
    } else
        return true;
    if (std::find(allowed->begin(), allowed->end(), type) != allowed->end())
        return true;
    type = fallback;
    return false;
}

TDeviceProtocol TModuleTexts::Protocol(int a) const
{
    if (FModules.GetTorqType(a) != 0 || FModules.GetChannel(a) >= 2)
        return dpTorq;
    return FModules.GetType(a) != 0 ? dpBrim : dpNone;
}

int TModuleTexts::StoredAction(int a) const
{
    return FModules.GetRecord(a)->GetByte(ActionOffset);
}

bool TModuleTexts::TakesCBERules(int a) const
{
    return Protocol(a) != dpNone && FunctionTakesCBERules(FModules.GetType(a), StoredAction(a));
}

std::string TModuleTexts::GetProtocol(int a) const
{
    return FLists.Protocols.at(Protocol(a));
}

std::string TModuleTexts::GetType(int a) const
{
    int torq = FModules.GetTorqType(a);
    if (torq != 0) {
        int p = torq - 127;
        if (p > 0 && p < int(FLists.TorqTypes.size()))
            return FLists.TorqTypes[p];
        return std::to_string(torq);
    }
    int f = FModules.GetType(a);
    if (f == 0)
        return {};
    if (IsInputFunction(f))
        return FLists.BrimModuleTypes[0];
    if (IsOutputFunction(f))
        return FLists.BrimModuleTypes[1];
    if (f == FunctionZmx || f == 20)
        return FLists.BrimModuleTypes[2];
    if (f == FunctionLbm)
        return FLists.BrimModuleTypes[3];
    return {};
}

std::string TModuleTexts::GetFunction(int a) const
{
    if (FModules.GetTorqType(a) == 0 && FModules.GetType(a) == 0)
        return {};
    return TextOrNumber(FLists.Functions, FModules.GetType(a));
}

std::string TModuleTexts::GetChannel(int a) const
{
    int c = FModules.GetChannel(a);
    return c == 0 ? std::string(" - ") : std::to_string(c);
}

std::string TModuleTexts::GetAction(int a) const
{
    if (FModules.GetType(a) != FunctionAux)
        return {};
    return AuxActionText(StoredAction(a));
}

bool TModuleTexts::GetCBERule(int a, std::string& text) const
{
    if (!TakesCBERules(a))
        return false;
    // Whole: the cell is edited and written back, so a cut list would drop
    // the rules past the cut (sensors show theirs only).
    text = FModules.GetShownCBERuleListText(a);
    return true;
}

std::string TModuleTexts::ModuleTypeText(int a) const
{
    std::string p = GetProtocol(a), t = GetType(a), f = GetFunction(a);
    if (FModules.GetChannel(a) < 2) {
        if (t.empty())
            return p;
    } else {
        if (p.empty())
            p = FLists.Protocols.at(dpTorq);
        if (t.empty() && a > 1) {
            int before = FModules.GetTorqType(a - 1);
            if (before == TorqK721)
                t = FLists.TorqTypes.at(TorqK721 - 127);
            else if (before == TorqK720)
                t = FLists.TorqTypes.at(TorqK720 - 127);
        }
    }
    return p + "/" + t + "/" + f;
}
