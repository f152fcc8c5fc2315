#include "PX10ConfigOnboardOutputCircuits.h"

#include <algorithm>

#include "RuleListText.h"

namespace {
constexpr int EOLModeOffset = 13;
constexpr int MaskBytes = 3;
} // namespace

TPX10ConfigOnboardOutputCircuits::TPX10ConfigOnboardOutputCircuits(bool VdSDefaults)
    : Record(Defaults(VdSDefaults))
{
}

// Each kind is set one by one through the setters once; every part built copies it.
const TPX10ConfigRecord& TPX10ConfigOnboardOutputCircuits::Defaults(bool VdSDefaults)
{
    if (VdSDefaults) {
        static const TPX10ConfigRecord vdsDefaults = BuildDefaults(true);
        return vdsDefaults;
    }
    static const TPX10ConfigRecord defaults = BuildDefaults(false);
    return defaults;
}

TPX10ConfigRecord TPX10ConfigOnboardOutputCircuits::BuildDefaults(bool VdSDefaults)
{
    TPX10ConfigOnboardOutputCircuits blank { Blank {} };
    blank.Record.SetRecordId(2);
    blank.SetCircuitType(1, VdSDefaults ? 3 : 0);
    blank.SetCircuitType(2, 0);
    for (int n = 3; n <= CircuitCount; ++n)
        blank.SetCircuitType(n, 1);
    // The masks are still empty, so the base can be stored without moving rules.
    for (int n = 1; n <= CircuitCount; ++n)
        blank.Record.SetByte(2 * n, 1);
    blank.SetCircuitInCBERule(1, VdSDefaults ? 6 : 1, true);
    blank.SetCircuitInCBERule(2, 1, true);
    blank.SetCircuitInCBERule(3, 4, true);
    blank.SetCircuitInCBERule(4, 5, true);
    blank.SetCircuitInCBERule(5, 2, true);
    blank.SetCircuitInCBERule(6, 3, true);
    blank.Record.ClearModified();
    return blank.Record;
}

int TPX10ConfigOnboardOutputCircuits::GetCircuitType(int n) const
{
    return Record.GetByte(2 * n - 1);
}
void TPX10ConfigOnboardOutputCircuits::SetCircuitType(int n, int Type)
{
    Record.SetByte(2 * n - 1, LowByte(Type));
}
int TPX10ConfigOnboardOutputCircuits::GetCircuitBaseRule(int n) const
{
    return Record.GetByte(2 * n);
}

void TPX10ConfigOnboardOutputCircuits::SetCircuitBaseRule(int n, int Rule)
{
    std::string text = GetCircuitRuleListText(n);
    Record.SetByte(2 * n, LowByte(Rule));
    std::size_t close = text.find(')');
    SetCircuitRuleListText(n, close == std::string::npos ? std::string() : text.substr(close + 1));
}

int TPX10ConfigOnboardOutputCircuits::GetEOLMode() const
{
    return Record.GetByte(EOLModeOffset);
}
void TPX10ConfigOnboardOutputCircuits::SetEOLMode(int Mode)
{
    Record.SetByte(EOLModeOffset, LowByte(Mode));
}

bool TPX10ConfigOnboardOutputCircuits::IsCircuitInCBERule(int n, int Rule) const
{
    int bit = Rule - GetCircuitBaseRule(n);
    if (bit < 0 || bit >= rulelist::WindowSize)
        return false;
    return (Record.GetByte(RuleMaskOffset(n) + bit / 8) >> (bit % 8)) & 1;
}

void TPX10ConfigOnboardOutputCircuits::SetCircuitInCBERule(int n, int Rule, bool In)
{
    int bit = Rule - GetCircuitBaseRule(n);
    if (bit < 0 || bit >= rulelist::WindowSize)
        return;
    int offset = RuleMaskOffset(n) + bit / 8;
    unsigned char value = Record.GetByte(offset);
    unsigned char mask = static_cast<unsigned char>(1u << (bit % 8));
    Record.SetByte(offset, In ? (value | mask) : (value & ~mask));
}

int TPX10ConfigOnboardOutputCircuits::GetCircuitRuleMaskByte(int n, int i) const
{
    return Record.GetByte(RuleMaskOffset(n) + i);
}

void TPX10ConfigOnboardOutputCircuits::SetCircuitRuleMaskByte(int n, int i, int Value)
{
    Record.SetByte(RuleMaskOffset(n) + i, LowByte(Value));
}

void TPX10ConfigOnboardOutputCircuits::GetCircuitRuleMask(int n, unsigned char* Mask) const
{
    for (int i = 0; i < MaskBytes; ++i)
        Mask[i] = Record.GetByte(RuleMaskOffset(n) + i);
}

void TPX10ConfigOnboardOutputCircuits::SetCircuitRuleMask(int n, const unsigned char* Mask)
{
    for (int i = 0; i < MaskBytes; ++i)
        Record.SetByte(RuleMaskOffset(n) + i, Mask[i]);
}

std::string TPX10ConfigOnboardOutputCircuits::GetCircuitRuleListText(int n) const
{
    int base = GetCircuitBaseRule(n);
    return "(" + std::to_string(base) + ") "
        + rulelist::Build(base, [&](int r) { return IsCircuitInCBERule(n, r); });
}

void TPX10ConfigOnboardOutputCircuits::SetCircuitRuleListText(int n, const std::string& Text)
{
    std::string rest = rulelist::StripBracket(
        Text, false, [] {}, [] {}, [&](int base) { SetCircuitBaseRule(n, base); });
    auto listed = rulelist::ParseRules(rest);
    int base = GetCircuitBaseRule(n);
    // Every bit of the window is assigned; bits for rule numbers that do not
    // exist (a stored base outside 1 to 41) are cleared.
    for (int r = base; r < base + rulelist::WindowSize; ++r)
        SetCircuitInCBERule(n, r, r >= rulelist::FirstRule && r <= rulelist::LastRule && listed[r]);
}

bool TPX10ConfigOnboardOutputCircuits::IsModified() const
{
    return Record.IsModified();
}
void TPX10ConfigOnboardOutputCircuits::ClearModified()
{
    Record.ClearModified();
}

void TPX10ConfigOnboardOutputCircuits::ReadFromFile(platform::File& File, int Version)
{
    if (Version >= 107) {
        Record.ReadFromFile(File);
    } else {
        TPX10ConfigRecord shared;
        shared.ReadFromFile(File);
        for (int i = 0; i <= 12; ++i)
            Record.SetByte(i, shared.GetByte(i));
        for (int i = 38; i <= 55; ++i)
            Record.SetByte(i, shared.GetByte(i));
    }
    if (Version >= 106)
        return;
    for (int n = 1; n <= CircuitCount; ++n) {
        int rule = GetCircuitBaseRule(n);
        // A rule number that cannot exist puts the circuit into no rule.
        if (rule < rulelist::FirstRule || rule > rulelist::LastRule) {
            SetCircuitBaseRule(n, 1);
            continue;
        }
        SetCircuitBaseRule(n, std::max(rule - 23, 1));
        SetCircuitInCBERule(n, rule, true);
    }
}

void TPX10ConfigOnboardOutputCircuits::WriteToFile(platform::File& File) const
{
    Record.WriteToFile(File);
}

void TPX10ConfigOnboardOutputCircuits::CopyTo(TPX10ConfigOnboardOutputCircuits& Target) const
{
    Record.CopyTo(&Target.Record);
}
