#pragma once
// The CBE rule editor's rules, without widgets: the fixed value lists (an
// entry's position is the code a rule record stores), the rule-type enable
// table and default flags, the filters and zone conditions a rule may take on
// a panel type, the rule-type change, and the texts that the rule editor, the
// range entry and the reports show for a rule. Every lookup of a stored code
// is bounds-checked: a code outside its list shows as its number.
#include <array>
#include <string>
#include <vector>

class TPX10ConfigCBERuleConfiguration;

namespace cberules {

enum RuleType {
    Fire = 0,
    DeviceInput,
    GeneralFault,
    GeneralPreAlarm,
    PlantWarning,
    FireOutputTransfer,
    Reset,
    DayMode,
    ExtinguishingSystem,
    GeneralDisablement,
    Thermal,
    ESSystemFault
};
enum ZoneCondition { On = 0, Delayed, Coincidence, Pulsed, Off };
enum DeviceKind { NotUsed = 0, Sensor, Module };

constexpr int ZoneSlots = 16;
constexpr int InputDevices = 3;

// English entries in code order; shown through Translate.
const std::vector<std::string>& RuleTypes();
const std::vector<std::string>& FilterTypes();
// Filter codes of Extinguishing System rules on every panel type; PX1x panels
// are offered these without "LUMA/Sensor", and store the same codes.
const std::vector<std::string>& ExtSystemFilterTypes();
const std::vector<std::string>& ZoneConditions();
const std::vector<std::string>& DeviceKinds();

// Translated entry `code` of `list`, or the code as a number outside the list.
std::string ListText(const std::vector<std::string>& list, int code);

// The controls whose enabled state follows the rule type, in this order.
enum RuleControl {
    ctlFilterType,
    ctlZoneGrid,
    ctlSetAllOn,
    ctlSetAllOff,
    ctlTwoZone,
    ctlInterruptable,
    ctlClassChange,
    ctlEvacuate,
    ctlSilence,
    ctlSoakTimer,
    ctlKind1,
    ctlKind2,
    ctlKind3,
    ctlAddr1,
    ctlAddr2,
    ctlAddr3,
    RuleControlCount
};
// Every control disabled for a type outside the list.
std::array<bool, RuleControlCount> RuleControlEnables(int ruleType);

// The flag controls: their bit in the flags byte and their enabling control.
struct FlagInfo {
    int Bit;
    RuleControl Control;
};
enum Flag { flgEvacuate, flgInterruptable, flgSilence, flgTwoZone, flgClassChange, flgSoakTimer, FlagCount };
FlagInfo FlagOf(Flag flag);
// Shown checked only while enabled: a disabled flag always shows clear.
bool FlagShown(const TPX10ConfigCBERuleConfiguration& rules, int rule, Flag flag);

// The flags a rule of this type starts with after a change of type.
int DefaultFlags(int ruleType);

// The filter codes offered for a rule type on a panel type, in the order
// offered (codes of FilterTypes, or of ExtSystemFilterTypes for an
// Extinguishing System rule).
std::vector<int> FilterChoices(int panelType, int ruleType);
// The list a rule type's filter codes index.
const std::vector<std::string>& FilterListFor(int ruleType);

// Whether a zone condition is allowed for the current type of `rule`.
bool ValidZoneStateForRule(const TPX10ConfigCBERuleConfiguration& rules, int rule, int condition);
// The conditions the zone grid offers for a rule type (empty: no pick list).
std::vector<int> ZoneConditionChoices(int ruleType, bool twoZone);
// The zone a slot (1 to 16) stands for: Plant Warning rules cover 17 to 32.
int ZoneOfSlot(int ruleType, int slot);
// The condition shown for a slot: a code outside the list as it is, ON for
// one the rule's type does not allow, else the stored one.
int ShownCondition(const TPX10ConfigCBERuleConfiguration& rules, int rule, int slot);
// Its text: the number for a code outside the list, else the entry; translated.
std::string ConditionText(const TPX10ConfigCBERuleConfiguration& rules, int rule, int slot);

// Texts for the reports and the range entry (translated).
std::string RuleTypeText(const TPX10ConfigCBERuleConfiguration& rules, int rule);
std::string FilterTypeText(const TPX10ConfigCBERuleConfiguration& rules, int rule);

// A change of rule type chosen by the user: nothing when the type is the same;
// otherwise the type is stored, the flags take the type's defaults, the input
// devices are reset (not used, address 1), the filter becomes the first one
// offered and every zone slot DELAYED (Extinguishing System) or ON.
void ChangeRuleType(TPX10ConfigCBERuleConfiguration& rules, int rule, int newType, int panelType);
void SetAllZoneConditions(TPX10ConfigCBERuleConfiguration& rules, int rule, int condition);

// Previous and Next wrap around: before 1 comes `count`, after `count` comes 1.
int PreviousRule(int rule, int count);
int NextRule(int rule, int count);

} // namespace cberules
