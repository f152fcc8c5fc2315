#include "Cberulelogic.h"

#include "Ivdictio.h"
#include "PX10ConfigCBERuleConfiguration.h"

namespace cberules {

using Rules = TPX10ConfigCBERuleConfiguration;

const std::vector<std::string>& RuleTypes()
{
    static const std::vector<std::string> list { IvNative("Fire"), IvNative("Device Input"),
        IvNative("General Fault"), IvNative("General Pre-Alarm"), IvNative("Plant Warning"),
        IvNative("Fire Output/Transfer"), IvNative("Reset"), IvNative("Day Mode"),
        IvNative("Extinguishing System"), IvNative("General Disablement"), IvNative("Thermal"),
        IvNative("E.S. System Fault") };
    return list;
}

const std::vector<std::string>& FilterTypes()
{
    static const std::vector<std::string> list { IvNative("ANY - Any Device"),
        IvNative("OTI - Sensors (OPT/TMP/ION/MLT)"), IvNative("AVS - LUMA Sensors"),
        IvNative("MCP - Manual Call Points"), IvNative("MON - Monitor Modules") };
    return list;
}

const std::vector<std::string>& ExtSystemFilterTypes()
{
    static const std::vector<std::string> list { IvNative("Smoke/Heat"), IvNative("Sensor/MCP"),
        IvNative("LUMA/Sensor"), IvNative("Any Two Zones"), IvNative("Any Two Sensors"),
        IvNative("Any Single Sensor"), IvNative("Any Single Module") };
    return list;
}

const std::vector<std::string>& ZoneConditions()
{
    static const std::vector<std::string> list { IvNative("ON"), IvNative("DELAYED"), IvNative("COINCIDENCE"),
        IvNative("PULSED"), IvNative("OFF") };
    return list;
}

const std::vector<std::string>& DeviceKinds()
{
    static const std::vector<std::string> list { IvNative("Not used"), IvNative("Sensor"),
        IvNative("Module") };
    return list;
}

std::string ListText(const std::vector<std::string>& list, int code)
{
    if (code < 0 || code >= static_cast<int>(list.size()))
        return std::to_string(code);
    return Translate(list[static_cast<size_t>(code)]);
}

std::array<bool, RuleControlCount> RuleControlEnables(int ruleType)
{
    // One row per rule type, in the order of RuleControl.
    static const char* const table[] = {
        "1111111110000000", // Fire
        "0000001110111111", // Device Input
        "1000000000000000", // General Fault
        "1000100110000000", // General Pre-Alarm
        "0111100000000000", // Plant Warning
        "0000000000000000", // Fire Output/Transfer
        "0000000000000000", // Reset
        "0000000000000000", // Day Mode
        "1111000001000000", // Extinguishing System
        "0000000000000000", // General Disablement
        "1111111110000000", // Thermal
        "0000000000000000", // E.S. System Fault
    };
    std::array<bool, RuleControlCount> enables {};
    if (ruleType < 0 || ruleType >= static_cast<int>(std::size(table)))
        return enables;
    for (int i = 0; i < RuleControlCount; ++i)
        enables[static_cast<size_t>(i)] = table[ruleType][i] == '1';
    return enables;
}

FlagInfo FlagOf(Flag flag)
{
    switch (flag) {
    case flgEvacuate:
        return { Rules::EvacuateBit, ctlEvacuate };
    case flgInterruptable:
        return { Rules::InterruptableBit, ctlInterruptable };
    case flgSilence:
        return { Rules::SilenceBit, ctlSilence };
    case flgTwoZone:
        return { Rules::TwoZoneBit, ctlTwoZone };
    case flgClassChange:
        return { Rules::ClassChangeBit, ctlClassChange };
    case flgSoakTimer:
    default:
        return { Rules::EnableSoakTimerBit, ctlSoakTimer };
    }
}

bool FlagShown(const Rules& rules, int rule, Flag flag)
{
    const FlagInfo info = FlagOf(flag);
    return RuleControlEnables(rules.GetRuleType(rule))[info.Control] && rules.GetFlag(rule, info.Bit);
}

int DefaultFlags(int ruleType)
{
    const int evacuate = 1 << Rules::EvacuateBit, interruptable = 1 << Rules::InterruptableBit,
              silence = 1 << Rules::SilenceBit;
    switch (ruleType) {
    case Fire:
    case Thermal:
        return evacuate | interruptable | silence;
    case DeviceInput:
        return evacuate | silence;
    case GeneralPreAlarm:
        return silence;
    default:
        return 0;
    }
}

std::vector<int> FilterChoices(int panelType, int ruleType)
{
    // Panel types: 1 PX11/12, 3 PX10, 4 Marvex, 5 KRT20.
    const bool px1x = panelType == 1 || panelType == 3;
    if (ruleType == ExtinguishingSystem)
        return px1x ? std::vector<int> { 0, 1, 3, 4, 5, 6 } : std::vector<int> { 0, 1, 2, 3, 4, 5, 6 };
    std::vector<int> codes { 0, 1 };
    if (!(px1x || panelType == 4 || panelType == 5))
        codes.push_back(2); // LUMA sensors
    if (ruleType != GeneralPreAlarm) {
        codes.push_back(3);
        codes.push_back(4);
    }
    return codes;
}

const std::vector<std::string>& FilterListFor(int ruleType)
{
    return ruleType == ExtinguishingSystem ? ExtSystemFilterTypes() : FilterTypes();
}

bool ValidZoneStateForRule(const Rules& rules, int rule, int condition)
{
    switch (rules.GetRuleType(rule)) {
    case Fire:
    case Thermal:
        return !(condition == Delayed && rules.GetTwoZone(rule));
    case PlantWarning:
        return condition != Delayed;
    case ExtinguishingSystem:
        return condition != Coincidence && condition != Pulsed;
    default:
        return false;
    }
}

std::vector<int> ZoneConditionChoices(int ruleType, bool twoZone)
{
    const std::vector<int> all { On, Delayed, Coincidence, Pulsed, Off };
    const std::vector<int> noDelayed { On, Coincidence, Pulsed, Off };
    switch (ruleType) {
    case Fire:
    case Thermal:
        return twoZone ? noDelayed : all;
    case PlantWarning:
        return noDelayed;
    case ExtinguishingSystem:
        return { On, Delayed, Off };
    default:
        return {};
    }
}

int ZoneOfSlot(int ruleType, int slot)
{
    return ruleType == PlantWarning ? slot + ZoneSlots : slot;
}

int ShownCondition(const Rules& rules, int rule, int slot)
{
    const int c = rules.GetZoneCondition(rule, slot);
    if (c >= static_cast<int>(ZoneConditions().size()))
        return c;
    return ValidZoneStateForRule(rules, rule, c) ? c : On;
}

std::string ConditionText(const Rules& rules, int rule, int slot)
{
    return ListText(ZoneConditions(), ShownCondition(rules, rule, slot));
}

std::string RuleTypeText(const Rules& rules, int rule)
{
    return ListText(RuleTypes(), rules.GetRuleType(rule));
}

std::string FilterTypeText(const Rules& rules, int rule)
{
    return ListText(FilterListFor(rules.GetRuleType(rule)), rules.GetFilterType(rule));
}

void ChangeRuleType(Rules& rules, int rule, int newType, int panelType)
{
    if (newType == rules.GetRuleType(rule) || newType < 0 || newType >= static_cast<int>(RuleTypes().size()))
        return;
    rules.SetRuleType(rule, newType);
    rules.SetFlagsByte(rule, (rules.GetFlagsByte(rule) & ~0x3F) | DefaultFlags(newType));
    for (int k = 1; k <= InputDevices; ++k) {
        rules.SetDeviceKind(rule, k, NotUsed);
        rules.SetDeviceAddress(rule, k, 1);
    }
    rules.SetFilterType(rule, FilterChoices(panelType, newType).front());
    SetAllZoneConditions(rules, rule, newType == ExtinguishingSystem ? Delayed : On);
}

void SetAllZoneConditions(Rules& rules, int rule, int condition)
{
    for (int slot = 1; slot <= ZoneSlots; ++slot)
        rules.SetZoneCondition(rule, slot, condition);
}

int PreviousRule(int rule, int count)
{
    return rule <= 1 ? count : rule - 1;
}

int NextRule(int rule, int count)
{
    return rule >= count ? 1 : rule + 1;
}

} // namespace cberules
