#include <type_traits>
#include <utility>

#include "ConfigPointer.h"
#include "PX10ConfigData.h"

// Only named in unevaluated operands below.
extern const TPX10ConfigData& ShownConfig;

namespace {

// Given the configuration as const, a function reaches const parts only; the
// configuration itself hands out writable ones.
template <class Member> constexpr bool ReadOnlyWhenConst = false;
template <class Part>
constexpr bool ReadOnlyWhenConst<TConfigPart<Part>> = [] {
    using Shown = const TConfigPart<Part>&;
    return std::is_same_v<decltype(std::declval<Shown>().operator->()), const Part*>
        && std::is_same_v<decltype(*std::declval<Shown>()), const Part&>
        && std::is_same_v<decltype(std::declval<Shown>().get()), const Part*>
        && std::is_same_v<decltype(std::declval<TConfigPart<Part>&>().operator->()), Part*>;
}();
template <class... Members> constexpr bool AllReadOnlyWhenConst = (ReadOnlyWhenConst<Members> && ...);
static_assert(
    AllReadOnlyWhenConst<decltype(TPX10ConfigData::FileHeader), decltype(TPX10ConfigData::GeneralPanelSetup),
        decltype(TPX10ConfigData::OnboardOutputCircuits), decltype(TPX10ConfigData::Sensors),
        decltype(TPX10ConfigData::Modules), decltype(TPX10ConfigData::CBERules),
        decltype(TPX10ConfigData::ZoneTexts), decltype(TPX10ConfigData::GsmItems)>);

// Nor the records behind the accessors, nor what holds a configuration to edit it.
template <class T> constexpr bool IsConstPointer = std::is_const_v<std::remove_pointer_t<T>>;
static_assert(IsConstPointer<decltype(ShownConfig.FileHeader->GetRecord())>);
static_assert(IsConstPointer<decltype(ShownConfig.GeneralPanelSetup->GetFirstRecord())>);
static_assert(IsConstPointer<decltype(ShownConfig.GeneralPanelSetup->GetSecondRecord())>);
static_assert(IsConstPointer<decltype(ShownConfig.OnboardOutputCircuits->GetRecord())>);
static_assert(IsConstPointer<decltype(ShownConfig.Sensors->GetRecord(1))>);
static_assert(IsConstPointer<decltype(ShownConfig.CBERules->GetRecord(1))>);
static_assert(IsConstPointer<decltype(ShownConfig.ZoneTexts->GetRecord(1))>);
static_assert(IsConstPointer<decltype(ShownConfig.GsmItems->GetRecord(1))>);
using TConfigDataPointer = TConfigPointer<TPX10ConfigData>;
static_assert(IsConstPointer<decltype(std::declval<const TConfigDataPointer&>().get())>);
static_assert(!IsConstPointer<decltype(std::declval<TConfigDataPointer&>().get())>);

// The faults const is there to stop: showing a device that writes it.
template <class Config>
concept CanSetZone = requires(Config& c)
{
    c.Sensors->SetZone(1, 2);
};
template <class Config>
concept CanRepairRuleList = requires(Config& c)
{
    c.Modules->GetCBERuleListText(1);
};
static_assert(CanSetZone<TPX10ConfigData> && !CanSetZone<const TPX10ConfigData>);
static_assert(CanRepairRuleList<TPX10ConfigData> && !CanRepairRuleList<const TPX10ConfigData>);

} // namespace
