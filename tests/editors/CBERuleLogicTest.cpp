#include "Cberulelogic.h"
#include "ConfigMarks.h"
#include "PX10ConfigData.h"

#include <gtest/gtest.h>

using namespace cberules;

namespace {

constexpr int PX21 = 0, PX11 = 1, PX20 = 2, PX10 = 3, Marvex = 4;

struct RuleFixture : ::testing::Test {
    TPX10ConfigData Config { false, false, true, false };
    TPX10ConfigCBERuleConfiguration& Rules = *Config.CBERules;
};

std::vector<std::string> FilterTexts(int panelType, int ruleType)
{
    std::vector<std::string> texts;
    for (int code : FilterChoices(panelType, ruleType))
        texts.push_back(FilterListFor(ruleType).at(static_cast<size_t>(code)));
    return texts;
}

} // namespace

TEST(CBERuleLists, FiltersOfferedByPanelAndRuleType)
{
    // PX1x and Marvex panels have no LUMA sensors; pre-alarms never come from modules.
    EXPECT_EQ(FilterChoices(PX10, Fire), (std::vector<int> { 0, 1, 3, 4 }));
    EXPECT_EQ(FilterChoices(Marvex, Fire), (std::vector<int> { 0, 1, 3, 4 }));
    EXPECT_EQ(FilterChoices(PX20, Fire), (std::vector<int> { 0, 1, 2, 3, 4 }));
    EXPECT_EQ(FilterChoices(PX21, GeneralPreAlarm), (std::vector<int> { 0, 1, 2 }));
    EXPECT_EQ(FilterChoices(PX11, GeneralPreAlarm), (std::vector<int> { 0, 1 }));
    // A PX10 extinguishing rule offers six filters; "Any Two Zones" keeps its
    // code 3 of the full list although it is the third entry offered.
    const auto px10 = FilterTexts(PX10, ExtinguishingSystem);
    ASSERT_EQ(px10.size(), 6u);
    EXPECT_EQ(std::count(px10.begin(), px10.end(), "LUMA/Sensor"), 0);
    EXPECT_EQ(px10[2], "Any Two Zones");
    EXPECT_EQ(FilterChoices(PX10, ExtinguishingSystem)[2], 3);
    EXPECT_EQ(FilterChoices(PX20, ExtinguishingSystem).size(), 7u);
}

TEST(CBERuleLists, EnableTableFollowsTheRuleType)
{
    const auto fire = RuleControlEnables(Fire);
    EXPECT_TRUE(fire[ctlZoneGrid] && fire[ctlTwoZone] && fire[ctlEvacuate]);
    EXPECT_FALSE(fire[ctlSoakTimer] || fire[ctlKind1] || fire[ctlAddr3]);
    const auto input = RuleControlEnables(DeviceInput);
    EXPECT_TRUE(input[ctlKind1] && input[ctlKind3] && input[ctlAddr2] && input[ctlClassChange]);
    EXPECT_FALSE(input[ctlFilterType] || input[ctlZoneGrid] || input[ctlTwoZone]);
    const auto ext = RuleControlEnables(ExtinguishingSystem);
    EXPECT_TRUE(ext[ctlSoakTimer] && ext[ctlZoneGrid] && ext[ctlFilterType]);
    EXPECT_FALSE(ext[ctlEvacuate] || ext[ctlTwoZone]);
    for (int type : std::initializer_list<int> {
             FireOutputTransfer, Reset, DayMode, GeneralDisablement, ESSystemFault, 12, 255, -1 })
        for (bool on : RuleControlEnables(type))
            EXPECT_FALSE(on) << type;
}

TEST_F(RuleFixture, DisabledFlagsShowClearButStayStored)
{
    Rules.SetRuleType(1, GeneralFault);
    Rules.SetEvacuate(1, true);
    EXPECT_FALSE(FlagShown(Rules, 1, flgEvacuate));
    EXPECT_TRUE(Rules.GetEvacuate(1));
    Rules.SetRuleType(1, Fire);
    EXPECT_TRUE(FlagShown(Rules, 1, flgEvacuate));
    // Each flag maps to its own bit.
    Rules.SetFlagsByte(1, 0);
    Rules.SetRuleType(1, Thermal);
    Rules.SetFlag(1, FlagOf(flgInterruptable).Bit, true);
    EXPECT_TRUE(Rules.GetInterruptable(1));
    EXPECT_FALSE(Rules.GetSilence(1) || Rules.GetEvacuate(1) || Rules.GetClassChange(1));
}

TEST_F(RuleFixture, RuleTypeChangeSetsTheTypesDefaults)
{
    const int rule = 5;
    Rules.SetRuleType(rule, Fire);
    Rules.SetFlagsByte(rule, 0xC0 | (1 << TPX10ConfigCBERuleConfiguration::TwoZoneBit));
    Rules.SetDeviceKind(rule, 2, Module);
    Rules.SetDeviceAddress(rule, 2, 77);
    Rules.SetZoneCondition(rule, 9, Coincidence);
    ChangeRuleType(Rules, rule, ExtinguishingSystem, PX10);
    EXPECT_EQ(Rules.GetRuleType(rule), ExtinguishingSystem);
    EXPECT_EQ(Rules.GetFlagsByte(rule), 0xC0); // six flags cleared, the other bits kept
    EXPECT_EQ(Rules.GetDeviceKind(rule, 2), NotUsed);
    EXPECT_EQ(Rules.GetDeviceAddress(rule, 2), 1);
    EXPECT_EQ(Rules.GetFilterType(rule), 0);
    for (int slot = 1; slot <= ZoneSlots; ++slot)
        EXPECT_EQ(Rules.GetZoneCondition(rule, slot), Delayed);

    ChangeRuleType(Rules, rule, Fire, PX10);
    EXPECT_TRUE(Rules.GetEvacuate(rule) && Rules.GetInterruptable(rule) && Rules.GetSilence(rule));
    EXPECT_EQ(Rules.GetZoneCondition(rule, 16), On);

    // The same type again changes nothing.
    Rules.SetZoneCondition(rule, 3, Off);
    ClearMarks(Config);
    ChangeRuleType(Rules, rule, Fire, PX10);
    EXPECT_EQ(Rules.GetZoneCondition(rule, 3), Off);
    EXPECT_FALSE(Config.IsModified());

    ChangeRuleType(Rules, rule, GeneralPreAlarm, PX20);
    EXPECT_EQ(Rules.GetFlagsByte(rule) & 0x3F, 1 << TPX10ConfigCBERuleConfiguration::SilenceBit);
    ChangeRuleType(Rules, rule, DeviceInput, PX20);
    EXPECT_TRUE(Rules.GetEvacuate(rule) && Rules.GetSilence(rule) && !Rules.GetInterruptable(rule));
}

TEST_F(RuleFixture, ZoneConditionsByRuleType)
{
    Rules.SetRuleType(1, Fire);
    Rules.SetZoneCondition(1, 4, Delayed);
    Rules.SetTwoZone(1, false);
    EXPECT_EQ(ConditionText(Rules, 1, 4), "DELAYED");
    EXPECT_EQ(ZoneConditionChoices(Fire, false).size(), 5u);
    Rules.SetTwoZone(1, true);
    EXPECT_EQ(ConditionText(Rules, 1, 4), "ON"); // shown as ON, still stored
    EXPECT_EQ(Rules.GetZoneCondition(1, 4), Delayed);
    EXPECT_EQ(ZoneConditionChoices(Fire, true), (std::vector<int> { On, Coincidence, Pulsed, Off }));

    Rules.SetRuleType(2, PlantWarning);
    EXPECT_EQ(ZoneOfSlot(PlantWarning, 1), 17);
    EXPECT_EQ(ZoneOfSlot(PlantWarning, 16), 32);
    EXPECT_EQ(ZoneOfSlot(Fire, 16), 16);
    Rules.SetZoneCondition(2, 1, Delayed);
    EXPECT_EQ(ConditionText(Rules, 2, 1), "ON");

    Rules.SetRuleType(3, ExtinguishingSystem);
    EXPECT_FALSE(ValidZoneStateForRule(Rules, 3, Pulsed));
    EXPECT_TRUE(ValidZoneStateForRule(Rules, 3, Delayed));
    Rules.SetZoneCondition(3, 2, 9);
    EXPECT_EQ(ConditionText(Rules, 3, 2), "9");

    Rules.SetRuleType(4, Reset);
    EXPECT_TRUE(ZoneConditionChoices(Reset, false).empty());
    EXPECT_FALSE(ValidZoneStateForRule(Rules, 4, On));
}

TEST_F(RuleFixture, TextsOfStoredCodesAreBoundsChecked)
{
    Rules.SetRuleType(1, ExtinguishingSystem);
    Rules.SetFilterType(1, 2);
    EXPECT_EQ(RuleTypeText(Rules, 1), "Extinguishing System");
    EXPECT_EQ(FilterTypeText(Rules, 1), "LUMA/Sensor");
    Rules.SetRuleType(1, Fire);
    EXPECT_EQ(FilterTypeText(Rules, 1), "AVS - LUMA Sensors");
    Rules.SetRuleType(2, 12);
    Rules.SetFilterType(2, 7);
    EXPECT_EQ(RuleTypeText(Rules, 2), "12");
    EXPECT_EQ(FilterTypeText(Rules, 2), "7");
    EXPECT_EQ(ListText(DeviceKinds(), 3), "3");
}

TEST(CBERuleNavigation, PreviousAndNextWrapAround)
{
    EXPECT_EQ(NextRule(64, 64), 1);
    EXPECT_EQ(PreviousRule(1, 64), 64);
    EXPECT_EQ(NextRule(1, 64), 2);
    EXPECT_EQ(PreviousRule(64, 64), 63);
}

TEST_F(RuleFixture, NewThermalRuleEvacuatesInterruptsAndSilences)
{
    Rules.SetRuleType(2, GeneralFault);
    Rules.SetFlagsByte(2, 0x3F);
    ChangeRuleType(Rules, 2, Thermal, PX20);
    using R = TPX10ConfigCBERuleConfiguration;
    EXPECT_EQ(Rules.GetFlagsByte(2) & 0x3F,
        (1 << R::EvacuateBit) | (1 << R::InterruptableBit) | (1 << R::SilenceBit));
}
