#include "PX10ConfigCBERuleConfiguration.h"

namespace {
constexpr int TypeOffset = 1;
constexpr int FlagsOffset = 2;
constexpr int FilterOffset = 25;
} // namespace

TPX10ConfigCBERuleConfiguration::TPX10ConfigCBERuleConfiguration(bool VdSDefaults)
    : Records(Defaults(VdSDefaults))
{
}

// Each kind is set one by one through the setters once; every part built takes it.
const TPX10ConfigCBERuleConfiguration::RecordBlock::Records& TPX10ConfigCBERuleConfiguration::Defaults(
    bool VdSDefaults)
{
    auto build = [](bool vds) {
        TPX10ConfigCBERuleConfiguration blank { Blank {} };
        blank.SetDefaults(vds);
        return blank.Records.Get();
    };
    if (VdSDefaults) {
        static const RecordBlock::Records vdsDefaults = build(true);
        return vdsDefaults;
    }
    static const RecordBlock::Records defaults = build(false);
    return defaults;
}

void TPX10ConfigCBERuleConfiguration::SetDefaults(bool VdSDefaults)
{
    for (int rule = 1; rule <= RuleCount; ++rule) {
        GetRecord(rule)->SetRecordId(4);
        SetRuleType(rule, 0);
        for (int k = 1; k <= 3; ++k)
            SetDeviceAddress(rule, k, 1);
        SetEvacuate(rule, true);
        SetSilence(rule, true);
        SetInterruptable(rule, true);
    }
    auto preset = [this](int rule, int type, bool evacuate, bool silence, bool interruptable) {
        SetRuleType(rule, type);
        SetEvacuate(rule, evacuate);
        SetSilence(rule, silence);
        SetInterruptable(rule, interruptable);
    };
    preset(2, 3, false, true, false);
    preset(3, 4, false, false, false);
    preset(4, 2, false, false, false);
    preset(5, 5, true, false, true);
    if (VdSDefaults) {
        preset(6, 0, true, false, true);
        for (int zone = 1; zone <= 16; ++zone)
            SetZoneCondition(6, zone, 1);
    }
    preset(7, 6, false, false, false);
    ClearModified();
}

int TPX10ConfigCBERuleConfiguration::GetRuleType(int Rule) const
{
    return GetRecord(Rule)->GetByte(TypeOffset);
}
void TPX10ConfigCBERuleConfiguration::SetRuleType(int Rule, int Type)
{
    GetRecord(Rule)->SetByte(TypeOffset, LowByte(Type));
}
int TPX10ConfigCBERuleConfiguration::GetFlagsByte(int Rule) const
{
    return GetRecord(Rule)->GetByte(FlagsOffset);
}
void TPX10ConfigCBERuleConfiguration::SetFlagsByte(int Rule, int Value)
{
    GetRecord(Rule)->SetByte(FlagsOffset, LowByte(Value));
}
bool TPX10ConfigCBERuleConfiguration::GetFlag(int Rule, int Bit) const
{
    return (GetFlagsByte(Rule) >> Bit) & 1;
}
void TPX10ConfigCBERuleConfiguration::SetFlag(int Rule, int Bit, bool On)
{
    int flags = GetFlagsByte(Rule);
    SetFlagsByte(Rule, On ? (flags | (1 << Bit)) : (flags & ~(1 << Bit)));
}

// clang-format off
#define PX10_RULE_FLAG(Name, Bit) \
    bool TPX10ConfigCBERuleConfiguration::Get##Name(int Rule) const { return GetFlag(Rule, Bit); } \
    void TPX10ConfigCBERuleConfiguration::Set##Name(int Rule, bool On) { SetFlag(Rule, Bit, On); }
PX10_RULE_FLAG(Evacuate, EvacuateBit)
PX10_RULE_FLAG(Silence, SilenceBit)
PX10_RULE_FLAG(Interruptable, InterruptableBit)
PX10_RULE_FLAG(ClassChange, ClassChangeBit)
PX10_RULE_FLAG(TwoZone, TwoZoneBit)
PX10_RULE_FLAG(EnableSoakTimer, EnableSoakTimerBit)
#undef PX10_RULE_FLAG
// clang-format on

int TPX10ConfigCBERuleConfiguration::GetDeviceKind(int Rule, int k) const
{
    return GetRecord(Rule)->GetByte((k - 1) * 2 + 3);
}
void TPX10ConfigCBERuleConfiguration::SetDeviceKind(int Rule, int k, int Kind)
{
    GetRecord(Rule)->SetByte((k - 1) * 2 + 3, LowByte(Kind));
}
int TPX10ConfigCBERuleConfiguration::GetDeviceAddress(int Rule, int k) const
{
    return GetRecord(Rule)->GetByte((k - 1) * 2 + 4);
}
void TPX10ConfigCBERuleConfiguration::SetDeviceAddress(int Rule, int k, int Address)
{
    GetRecord(Rule)->SetByte((k - 1) * 2 + 4, LowByte(Address));
}
int TPX10ConfigCBERuleConfiguration::GetZoneCondition(int Rule, int Zone) const
{
    return GetRecord(Rule)->GetByte(Zone + 8);
}
void TPX10ConfigCBERuleConfiguration::SetZoneCondition(int Rule, int Zone, int Condition)
{
    GetRecord(Rule)->SetByte(Zone + 8, LowByte(Condition));
}
int TPX10ConfigCBERuleConfiguration::GetFilterType(int Rule) const
{
    return GetRecord(Rule)->GetByte(FilterOffset);
}
void TPX10ConfigCBERuleConfiguration::SetFilterType(int Rule, int Type)
{
    GetRecord(Rule)->SetByte(FilterOffset, LowByte(Type));
}

bool TPX10ConfigCBERuleConfiguration::IsModified() const
{
    return Records.IsModified();
}

void TPX10ConfigCBERuleConfiguration::ClearModified()
{
    Records.ClearModified();
}

void TPX10ConfigCBERuleConfiguration::ReadFromFile(platform::File& File, int Version)
{
    const std::size_t count = Version < 104 ? OldFileRuleCount : RuleCount;
    Records.ReadFromFile(File, count);
}

void TPX10ConfigCBERuleConfiguration::WriteToFile(platform::File& File) const
{
    Records.WriteToFile(File);
}

void TPX10ConfigCBERuleConfiguration::CopyTo(TPX10ConfigCBERuleConfiguration& Target) const
{
    Records.CopyTo(Target.Records);
}
