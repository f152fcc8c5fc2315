#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "ConfigPointer.h"
#include "PX10ConfigData.h"

namespace {

// What a function given the configuration as const can reach of a part: a
// const part only, while the configuration itself hands out a writable one.
template <class Member> constexpr bool ReadOnlyWhenConst = false;
template <class Part>
constexpr bool ReadOnlyWhenConst<TConfigPart<Part>> = std::is_same_v<
    decltype(std::declval<const TConfigPart<Part>&>().operator->()), const Part*>&&
    std::is_same_v<decltype(*std::declval<const TConfigPart<Part>&>()), const Part&>&&
        std::is_same_v<decltype(std::declval<const TConfigPart<Part>&>().get()), const Part*>&&
            std::is_same_v<decltype(std::declval<TConfigPart<Part>&>().operator->()), Part*>;

static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::FileHeader)>);
static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::GeneralPanelSetup)>);
static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::OnboardOutputCircuits)>);
static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::Sensors)>);
static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::Modules)>);
static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::CBERules)>);
static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::ZoneTexts)>);
static_assert(ReadOnlyWhenConst<decltype(TPX10ConfigData::GsmItems)>);

// Nor can it write a part's records behind the accessors' back.
template <class Record> constexpr bool IsConstRecord = std::is_same_v<Record, const TPX10ConfigRecord*>;
static_assert(IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().FileHeader->GetRecord())>);
static_assert(
    IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().GeneralPanelSetup->GetFirstRecord())>);
static_assert(
    IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().GeneralPanelSetup->GetSecondRecord())>);
static_assert(
    IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().OnboardOutputCircuits->GetRecord())>);
static_assert(IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().Sensors->GetRecord(1))>);
static_assert(IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().CBERules->GetRecord(1))>);
static_assert(IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().ZoneTexts->GetRecord(1))>);
static_assert(IsConstRecord<decltype(std::declval<const TPX10ConfigData&>().GsmItems->GetRecord(1))>);

// Nor can the const member functions of what holds the configuration to edit it.
static_assert(std::is_same_v<decltype(*std::declval<const TConfigPointer<TPX10ConfigData>&>()),
    const TPX10ConfigData&>);
static_assert(std::is_same_v<decltype(std::declval<const TConfigPointer<TPX10ConfigZoneText>&>().get()),
    const TPX10ConfigZoneText*>);
static_assert(std::is_same_v<decltype(*std::declval<TConfigPointer<TPX10ConfigData>&>()), TPX10ConfigData&>);

// The fault that const is there to stop: showing a device that writes it.
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

// A part's records take their defaults when first read; read through a const
// configuration they hold the same defaults and nothing becomes modified.
TEST(ConstConfiguration, FirstReadThroughConstGivesDefaultsUnmodified)
{
    TPX10ConfigData written(true, false, false, false);
    written.Sensors->SetZone(9, written.Sensors->GetZone(9));
    written.CBERules->SetFlagsByte(6, written.CBERules->GetFlagsByte(6));
    written.ZoneTexts->SetZoneText(3, written.ZoneTexts->GetZoneText(3));

    TPX10ConfigData fresh(true, false, false, false);
    const TPX10ConfigData& shown = fresh;
    for (int off = 0; off < TPX10ConfigRecord::DataSize; ++off) {
        EXPECT_EQ(shown.Sensors->GetRecord(9)->GetByte(off), written.Sensors->GetRecord(9)->GetByte(off));
        EXPECT_EQ(shown.CBERules->GetRecord(6)->GetByte(off), written.CBERules->GetRecord(6)->GetByte(off));
        EXPECT_EQ(shown.ZoneTexts->GetRecord(3)->GetByte(off), written.ZoneTexts->GetRecord(3)->GetByte(off));
    }
    EXPECT_EQ(shown.Sensors->GetShownCBERuleListText(9), "(1) 1");
    EXPECT_FALSE(shown.IsModified());
    EXPECT_FALSE(written.IsModified());
}
