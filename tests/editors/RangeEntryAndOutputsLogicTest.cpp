#include "Cberangeentrylogic.h"
#include "Cberulelogic.h"
#include "Onboardoutputlogic.h"
#include "ConfigMarks.h"
#include "PX10ConfigData.h"

#include <gtest/gtest.h>

namespace {
struct ConfigFixture : ::testing::Test {
    TPX10ConfigData Config { false, false, true, false };
};
} // namespace

TEST_F(ConfigFixture, RangeEntryCaptionsNameTheDeviceKind)
{
    EXPECT_EQ(TCBERangeEntryLogic(Config, 1).Caption(), "CBE Range Entry - Sensor 1");
    EXPECT_EQ(TCBERangeEntryLogic(Config, 199).Caption(), "CBE Range Entry - Module 99");
    EXPECT_EQ(TCBERangeEntryLogic(Config, 1003).Caption(), "CBE Range Entry - Bell 3");
    for (int bad : { 0, 100, 200, 1000, 1007, -1 })
        EXPECT_FALSE(TCBERangeEntryLogic::IsValidDeviceId(bad)) << bad;
}

TEST_F(ConfigFixture, MovingASensorsWindowChangesNoMembership)
{
    auto& sensors = *Config.Sensors;
    sensors.SetInCBERule(7, 1, false);
    sensors.SetInCBERule(7, 3, true);
    sensors.SetInCBERule(7, 30, true);
    TCBERangeEntryLogic entry(Config, 7);
    EXPECT_EQ(entry.ShownBase(), 1);
    EXPECT_TRUE(entry.IsTicked(2));
    EXPECT_FALSE(entry.IsTicked(0));
    entry.SetBaseRule(10);
    EXPECT_TRUE(entry.IsTicked(20)); // rule 30
    EXPECT_TRUE(sensors.IsInCBERule(7, 3));
    EXPECT_EQ(entry.EntryText(0), "10 - Fire");
    entry.SetBaseRule(50);
    EXPECT_EQ(entry.ShownBase(), 41); // the window ends at rule 64
    EXPECT_EQ(entry.EntryText(23), "64 - Fire");
    entry.SetTicked(23, true);
    EXPECT_TRUE(sensors.IsInCBERule(7, 64));
    EXPECT_FALSE(entry.ShowsLoopPowered());
}

TEST_F(ConfigFixture, ShowingACircuitWithAStoredBaseOutOfRangeWritesNothing)
{
    auto& circuits = *Config.OnboardOutputCircuits;
    circuits.GetRecord()->SetByte(2 * 3, 42); // base 42, as a damaged file may hold
    ClearMarks(Config);
    TCBERangeEntryLogic entry(Config, 1003);
    EXPECT_EQ(entry.ShownBase(), 41);
    for (int i = 0; i < TCBERangeEntryLogic::Entries; ++i)
        (void)entry.IsTicked(i);
    (void)entry.EntryText(5);
    EXPECT_EQ(circuits.GetCircuitBaseRule(3), 42);
    EXPECT_FALSE(Config.IsModified());
}

TEST_F(ConfigFixture, MovingACircuitsWindowRebasesItsMask)
{
    auto& circuits = *Config.OnboardOutputCircuits;
    circuits.SetCircuitRuleListText(2, "(1) 1,20");
    TCBERangeEntryLogic entry(Config, 1002);
    entry.SetBaseRule(15);
    EXPECT_EQ(circuits.GetCircuitBaseRule(2), 15);
    EXPECT_TRUE(entry.IsTicked(5)); // rule 20 kept
    EXPECT_FALSE(circuits.IsCircuitInCBERule(2, 1)); // rule 1 fell out of the window
    EXPECT_EQ(entry.RuleListText(), "(15) 20");
}

TEST_F(ConfigFixture, RuleEditorClosingTicksOnlyRulesInTheWindow)
{
    auto& modules = *Config.Modules;
    modules.SetBaseCBERule(4, 10);
    TCBERangeEntryLogic entry(Config, 104);
    EXPECT_EQ(entry.RuleEditorClosedOn(17), 7);
    EXPECT_TRUE(modules.IsInCBERule(4, 17));
    EXPECT_EQ(entry.RuleEditorClosedOn(10), 0);
    ClearMarks(Config);
    EXPECT_EQ(entry.RuleEditorClosedOn(9), -1);
    EXPECT_EQ(entry.RuleEditorClosedOn(34), -1);
    EXPECT_FALSE(Config.IsModified());
}

TEST(OnboardOutputs, TypeCodesAndSelectorOrder)
{
    using namespace onboard;
    EXPECT_EQ(PickRowOfType(9), 1); // "SDH" is offered second
    EXPECT_EQ(TypeList()[static_cast<size_t>(TypePickOrder()[static_cast<size_t>(PickRowOfType(3))])], "TxD");
    EXPECT_EQ(PickRowOfType(10), -1);
    // Every code is offered exactly once.
    std::vector<int> order = TypePickOrder();
    std::sort(order.begin(), order.end());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

TEST(OnboardOutputs, EOLBitsAndRuleListKeys)
{
    using namespace onboard;
    EXPECT_EQ(WithEOL(0, 3, true), 0b100);
    EXPECT_EQ(WithEOL(0b1111, 3, false), 0b1011);
    EXPECT_TRUE(IsDiode(0b100, 3));
    EXPECT_FALSE(IsDiode(0b100, 2));
    for (char32_t c : U"0189(),- \b") {
        if (c) {
            EXPECT_TRUE(AcceptRuleListChar(c));
        }
    }
    for (char32_t c : U"aZ+.;\t") {
        if (c) {
            EXPECT_FALSE(AcceptRuleListChar(c));
        }
    }
}

TEST_F(ConfigFixture, RuleListCommitShowsTheNormalisedList)
{
    auto& circuits = *Config.OnboardOutputCircuits;
    EXPECT_EQ(onboard::CommitRuleListText(circuits, 1, "(2) 3 4,5 , 9"), "(2) 3-5,9");
    ClearMarks(Config);
    EXPECT_EQ(onboard::CommitRuleListText(circuits, 1, "(2) 3-5,9"), "(2) 3-5,9");
    EXPECT_FALSE(Config.IsModified()); // re-normalising an unchanged list writes nothing
}
