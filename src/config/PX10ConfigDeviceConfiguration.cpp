#include "PX10ConfigDeviceConfiguration.h"

#include <algorithm>

#include "RuleListText.h"

namespace {
constexpr int DescriptionOffset = 1;
constexpr int DescriptionMaxLength = 20;
constexpr int ZoneOffset = 22;
constexpr int TypeOffset = 23;
constexpr int SingleRuleOffset = 24;
constexpr int FireSensitivityOffset = 25;
constexpr int DayModeSensitivityOffset = 26;
constexpr int PrealarmSensitivityOffset = 27;
constexpr int DayModePrealarmSensitivityOffset = 28;
constexpr int GroupOffset = 29;
constexpr int ActionOffset = 30;
constexpr int BaseRuleOffset = 31;
constexpr int RuleMaskOffset = 32;
constexpr int RuleMaskSize = 8;
constexpr int LoopPoweredOutputOffset = 40;
constexpr int TorqTypeOffset = 41;
constexpr int ApplicationNumberOffset = 42;
constexpr int RemoteOutputOffset = 43;
constexpr int ChannelOffset = 44;

} // namespace

TPX10ConfigDeviceConfiguration::TPX10ConfigDeviceConfiguration()
    : Records(Defaults())
{
}

// Set one by one through the setters once; every part built takes them.
const TPX10ConfigDeviceConfiguration::RecordBlock::Records& TPX10ConfigDeviceConfiguration::Defaults()
{
    static const RecordBlock::Records defaults = [] {
        TPX10ConfigDeviceConfiguration blank { Blank {} };
        for (int address = 1; address <= AddressCount; ++address) {
            blank.GetRecord(address)->SetRecordId(3);
            blank.ResetDevice(address);
        }
        blank.ClearModified();
        return blank.Records.Get();
    }();
    return defaults;
}

// clang-format off
#define PX10_DEVICE_BYTE(Name, Offset) \
    int TPX10ConfigDeviceConfiguration::Get##Name(int Address) const { return GetRecord(Address)->GetByte(Offset); } \
    void TPX10ConfigDeviceConfiguration::Set##Name(int Address, int Value) { GetRecord(Address)->SetByte(Offset, LowByte(Value)); }

PX10_DEVICE_BYTE(Zone, ZoneOffset)
PX10_DEVICE_BYTE(Type, TypeOffset)
PX10_DEVICE_BYTE(FireSensitivity, FireSensitivityOffset)
PX10_DEVICE_BYTE(DayModeSensitivity, DayModeSensitivityOffset)
PX10_DEVICE_BYTE(PrealarmSensitivity, PrealarmSensitivityOffset)
PX10_DEVICE_BYTE(DayModePrealarmSensitivity, DayModePrealarmSensitivityOffset)
PX10_DEVICE_BYTE(Group, GroupOffset)
PX10_DEVICE_BYTE(BaseCBERule, BaseRuleOffset)
PX10_DEVICE_BYTE(TorqType, TorqTypeOffset)
PX10_DEVICE_BYTE(ApplicationNumber, ApplicationNumberOffset)
PX10_DEVICE_BYTE(RemoteOutput, RemoteOutputOffset)
PX10_DEVICE_BYTE(Channel, ChannelOffset)

#undef PX10_DEVICE_BYTE
// clang-format on

std::string TPX10ConfigDeviceConfiguration::GetDescription(int Address) const
{
    return GetRecord(Address)->GetText(DescriptionOffset);
}

void TPX10ConfigDeviceConfiguration::SetDescription(int Address, const std::string& Text)
{
    GetRecord(Address)->SetText(DescriptionOffset, DescriptionMaxLength, Text);
}

int TPX10ConfigDeviceConfiguration::GetSingleCBERule(int Address) const
{
    int rule = GetRecord(Address)->GetByte(SingleRuleOffset);
    return (rule < rulelist::FirstRule || rule > rulelist::LastRule) ? 1 : rule;
}

void TPX10ConfigDeviceConfiguration::SetSingleCBERule(int Address, int Rule)
{
    GetRecord(Address)->SetByte(SingleRuleOffset, LowByte(Rule));
}

int TPX10ConfigDeviceConfiguration::GetAction(int Address) const
{
    int action = GetRecord(Address)->GetByte(ActionOffset);
    return action > 10 ? 0 : action;
}

void TPX10ConfigDeviceConfiguration::SetAction(int Address, int Action)
{
    GetRecord(Address)->SetByte(ActionOffset, LowByte(Action));
}

bool TPX10ConfigDeviceConfiguration::TypeSupportsLoopPoweredOutput(int Address) const
{
    switch (GetType(Address)) {
    case 3:
    case 4:
    case 5:
    case 6:
    case 9:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
        return true;
    default:
        return false;
    }
}

bool TPX10ConfigDeviceConfiguration::GetLoopPoweredOutput(int Address) const
{
    return TypeSupportsLoopPoweredOutput(Address)
        && GetRecord(Address)->GetByte(LoopPoweredOutputOffset) != 0;
}

void TPX10ConfigDeviceConfiguration::SetLoopPoweredOutput(int Address, bool On)
{
    if (TypeSupportsLoopPoweredOutput(Address))
        GetRecord(Address)->SetByte(LoopPoweredOutputOffset, On ? 1 : 0);
}

void TPX10ConfigDeviceConfiguration::ResetDevice(int Address)
{
    SetDescription(Address, "");
    SetZone(Address, 1);
    SetType(Address, 0);
    SetChannel(Address, 0);
    SetTorqType(Address, 0);
    SetSingleCBERule(Address, 1);
    SetFireSensitivity(Address, 100);
    SetDayModeSensitivity(Address, 100);
    SetPrealarmSensitivity(Address, 100);
    SetDayModePrealarmSensitivity(Address, 100);
    SetGroup(Address, 0);
    SetBaseCBERule(Address, 1);
    SetInCBERule(Address, 1, true);
    // Written directly: with type 0 the loop-powered setter would do nothing.
    GetRecord(Address)->SetByte(LoopPoweredOutputOffset, 0);
}

bool TPX10ConfigDeviceConfiguration::IsInCBERule(int Address, int Rule) const
{
    if (Rule < rulelist::FirstRule || Rule > rulelist::LastRule)
        return false;
    int bit = Rule - 1;
    return (GetRecord(Address)->GetByte(RuleMaskOffset + bit / 8) >> (bit % 8)) & 1;
}

void TPX10ConfigDeviceConfiguration::SetInCBERule(int Address, int Rule, bool In)
{
    if (Rule < rulelist::FirstRule || Rule > rulelist::LastRule)
        return;
    int bit = Rule - 1;
    TPX10ConfigRecord* record = GetRecord(Address);
    int offset = RuleMaskOffset + bit / 8;
    unsigned char value = record->GetByte(offset);
    unsigned char mask = static_cast<unsigned char>(1u << (bit % 8));
    record->SetByte(offset, In ? (value | mask) : (value & ~mask));
}

int TPX10ConfigDeviceConfiguration::GetRuleMaskByte(int Address, int Index) const
{
    return GetRecord(Address)->GetByte(RuleMaskOffset + Index);
}

void TPX10ConfigDeviceConfiguration::SetRuleMaskByte(int Address, int Index, int Value)
{
    GetRecord(Address)->SetByte(RuleMaskOffset + Index, LowByte(Value));
}

void TPX10ConfigDeviceConfiguration::GetRuleMask(int Address, unsigned char* Mask) const
{
    for (int i = 0; i < RuleMaskSize; ++i)
        Mask[i] = GetRecord(Address)->GetByte(RuleMaskOffset + i);
}

void TPX10ConfigDeviceConfiguration::SetRuleMask(int Address, const unsigned char* Mask)
{
    for (int i = 0; i < RuleMaskSize; ++i)
        GetRecord(Address)->SetByte(RuleMaskOffset + i, Mask[i]);
}

std::string TPX10ConfigDeviceConfiguration::GetCBERuleListText(int Address)
{
    std::string list = ListedRules(Address);
    if (list.empty()) {
        int type = GetType(Address);
        if (type != 3 && type != 14) {
            SetInCBERule(Address, 1, true);
            list = "1";
        }
    }
    return RuleListBracket(Address) + list;
}

std::string TPX10ConfigDeviceConfiguration::GetShownCBERuleListText(int Address) const
{
    return RuleListBracket(Address) + ListedRules(Address);
}

std::string TPX10ConfigDeviceConfiguration::RuleListBracket(int Address) const
{
    return "(" + std::string(GetLoopPoweredOutput(Address) ? "+" : "")
        + std::to_string(GetBaseCBERule(Address)) + ") ";
}

std::string TPX10ConfigDeviceConfiguration::ListedRules(int Address) const
{
    return rulelist::Build(GetBaseCBERule(Address), [&](int r) { return IsInCBERule(Address, r); });
}

void TPX10ConfigDeviceConfiguration::SetCBERuleListText(int Address, const std::string& Text)
{
    const bool supportsOutput = TypeSupportsLoopPoweredOutput(Address);
    std::string rest = rulelist::StripBracket(
        Text, supportsOutput,
        [&] {
            if (supportsOutput)
                SetLoopPoweredOutput(Address, false);
        },
        [&] { SetLoopPoweredOutput(Address, true); }, [&](int base) { SetBaseCBERule(Address, base); });
    auto listed = rulelist::ParseRules(rest);
    int base = GetBaseCBERule(Address);
    for (int r = std::max(base, rulelist::FirstRule);
         r <= std::min(base + rulelist::WindowSize - 1, rulelist::LastRule); ++r)
        SetInCBERule(Address, r, listed[r]);
}

void TPX10ConfigDeviceConfiguration::CopyDeviceTo(int Address, TPX10ConfigRecord* Target) const
{
    GetRecord(Address)->CopyTo(Target);
}

void TPX10ConfigDeviceConfiguration::CopyDeviceFrom(int Address, const TPX10ConfigRecord* Source)
{
    Source->CopyTo(GetRecord(Address));
}

int TPX10ConfigDeviceConfiguration::CountBrimDevices() const
{
    int count = 0;
    for (int a = 1; a <= AddressCount; ++a)
        if (GetType(a) != 0 && GetTorqType(a) == 0)
            ++count;
    return count;
}

int TPX10ConfigDeviceConfiguration::CountTorqDevices() const
{
    int count = 0;
    for (int a = 1; a <= AddressCount; ++a)
        if (GetType(a) != 0 && GetTorqType(a) != 0)
            ++count;
    return count;
}

bool TPX10ConfigDeviceConfiguration::IsModified() const
{
    return Records.IsModified();
}

void TPX10ConfigDeviceConfiguration::ClearModified()
{
    Records.ClearModified();
}

void TPX10ConfigDeviceConfiguration::ReadFromFile(platform::File& File, int Version)
{
    Records.ReadFromFile(File);
    if (Version >= 105)
        return;
    for (int a = 1; a <= AddressCount; ++a) {
        int rule = GetSingleCBERule(a);
        SetBaseCBERule(a, std::min(rule, rulelist::LastBaseRule));
        SetInCBERule(a, rule, true);
    }
}

void TPX10ConfigDeviceConfiguration::WriteToFile(platform::File& File) const
{
    Records.WriteToFile(File);
}

void TPX10ConfigDeviceConfiguration::CopyTo(TPX10ConfigDeviceConfiguration& Target) const
{
    Records.CopyTo(Target.Records);
}
