#include <gtest/gtest.h>

#include "PX10ConfigCBERuleConfiguration.h"
#include "PX10ConfigGsmItems.h"
#include "PX10ConfigOnboardOutputCircuits.h"
#include "PX10ConfigZoneText.h"

TEST(OnboardOutputs, DefaultRuleLists)
{
    TPX10ConfigOnboardOutputCircuits plain(false);
    EXPECT_FALSE(plain.IsModified());
    const char* expected[] = { "(1) 1", "(1) 1", "(1) 4", "(1) 5", "(1) 2", "(1) 3" };
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(plain.GetCircuitRuleListText(n), expected[n - 1]) << n;
    EXPECT_EQ(plain.GetCircuitType(1), 0);
    EXPECT_EQ(plain.GetCircuitType(2), 0);
    for (int n = 3; n <= 6; ++n)
        EXPECT_EQ(plain.GetCircuitType(n), 1);
    EXPECT_EQ(plain.GetRecord()->GetByte(0), 2);

    TPX10ConfigOnboardOutputCircuits vds(true);
    EXPECT_EQ(vds.GetCircuitRuleListText(1), "(1) 6");
    EXPECT_EQ(vds.GetCircuitType(1), 3);
    EXPECT_FALSE(vds.IsModified());
}

TEST(OnboardOutputs, MovingTheBaseKeepsRulesThatStillFit)
{
    TPX10ConfigOnboardOutputCircuits c(false);
    c.SetCircuitInCBERule(1, 5, true);
    EXPECT_EQ(c.GetCircuitRuleListText(1), "(1) 1,5");
    c.SetCircuitBaseRule(1, 3);
    EXPECT_EQ(c.GetCircuitBaseRule(1), 3);
    EXPECT_EQ(c.GetCircuitRuleListText(1), "(3) 5");
    // The mask is relative to the base: rule 5 is now bit 2.
    EXPECT_EQ(c.GetCircuitRuleMaskByte(1, 0), 0x04);
}

TEST(OnboardOutputs, ListTextSetsBaseAndWholeWindow)
{
    TPX10ConfigOnboardOutputCircuits c(false);
    c.SetCircuitRuleListText(2, "(10) 10-12,30");
    EXPECT_EQ(c.GetCircuitBaseRule(2), 10);
    EXPECT_EQ(c.GetCircuitRuleListText(2), "(10) 10-12,30");
    unsigned char mask[3];
    c.GetCircuitRuleMask(2, mask);
    EXPECT_EQ(mask[0], 0x07);
    EXPECT_EQ(mask[1], 0x00);
    EXPECT_EQ(mask[2], 0x10);
    c.SetCircuitRuleListText(2, "(10) 40");
    EXPECT_EQ(c.GetCircuitRuleListText(2), "(10) ");
    c.GetCircuitRuleMask(2, mask);
    EXPECT_EQ(mask[0] | mask[1] | mask[2], 0);
    // "+" has no meaning for a circuit: it ends the bracket.
    c.SetCircuitRuleListText(2, "(+5) 11");
    EXPECT_EQ(c.GetCircuitBaseRule(2), 10);
    EXPECT_EQ(c.GetCircuitRuleListText(2), "(10) 11");
}

TEST(OnboardOutputs, RulesOutsideTheWindowAreIgnored)
{
    TPX10ConfigOnboardOutputCircuits c(false);
    c.GetRecord()->ClearModified();
    c.SetCircuitInCBERule(3, 1 + 24, true);
    c.SetCircuitInCBERule(3, 0, true);
    EXPECT_FALSE(c.IsModified());
    EXPECT_FALSE(c.IsCircuitInCBERule(3, 25));
    EXPECT_TRUE(c.IsCircuitInCBERule(3, 4));
    c.SetCircuitInCBERule(3, 24, true);
    EXPECT_TRUE(c.IsCircuitInCBERule(3, 24));
    EXPECT_EQ(c.GetCircuitRuleMaskByte(3, 2), 0x80);
    EXPECT_EQ(TPX10ConfigOnboardOutputCircuits::RuleMaskOffset(6), 53);
}

TEST(OnboardOutputs, StoredBaseOutsideRangeListsOnlyExistingRules)
{
    TPX10ConfigOnboardOutputCircuits c(false);
    c.GetRecord()->SetByte(2, 60); // circuit 1: window 60 to 83
    const unsigned char all[3] = { 0xFF, 0xFF, 0xFF };
    c.SetCircuitRuleMask(1, all);
    EXPECT_EQ(c.GetCircuitRuleListText(1), "(60) 60-64");
    c.GetRecord()->SetByte(2, 0); // window 0 to 23
    EXPECT_EQ(c.GetCircuitRuleListText(1), "(0) 1-23");
    c.GetRecord()->SetByte(2, 200);
    EXPECT_EQ(c.GetCircuitRuleListText(1), "(200) ");
    c.SetCircuitBaseRule(1, 41);
    EXPECT_EQ(c.GetCircuitRuleListText(1), "(41) ");
}

TEST(OnboardOutputs, EolMode)
{
    TPX10ConfigOnboardOutputCircuits c(false);
    EXPECT_EQ(c.GetEOLMode(), 0);
    c.SetEOLMode(2);
    EXPECT_EQ(c.GetRecord()->GetByte(13), 2);
}

TEST(CBERules, Defaults)
{
    TPX10ConfigCBERuleConfiguration plain(false);
    EXPECT_FALSE(plain.IsModified());
    EXPECT_EQ(plain.GetRuleType(2), 3);
    EXPECT_EQ(plain.GetFlagsByte(2), 2);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(plain.GetDeviceAddress(2, k), 1);
    EXPECT_EQ(plain.GetFlagsByte(1), 7);
    EXPECT_EQ(plain.GetRuleType(3), 4);
    EXPECT_EQ(plain.GetFlagsByte(3), 0);
    EXPECT_EQ(plain.GetRuleType(4), 2);
    EXPECT_EQ(plain.GetFlagsByte(4), 0);
    EXPECT_EQ(plain.GetRuleType(5), 5);
    EXPECT_EQ(plain.GetFlagsByte(5), 5);
    EXPECT_EQ(plain.GetRuleType(6), 0);
    EXPECT_EQ(plain.GetFlagsByte(6), 7);
    EXPECT_EQ(plain.GetRuleType(7), 6);
    EXPECT_EQ(plain.GetFlagsByte(7), 0);
    for (int zone = 1; zone <= 16; ++zone)
        EXPECT_EQ(plain.GetZoneCondition(6, zone), 0);
    EXPECT_EQ(plain.GetRecord(64)->GetByte(0), 4);

    TPX10ConfigCBERuleConfiguration vds(true);
    EXPECT_FALSE(vds.IsModified());
    EXPECT_EQ(vds.GetFlagsByte(6), 5);
    for (int zone = 1; zone <= 16; ++zone)
        EXPECT_EQ(vds.GetZoneCondition(6, zone), 1);
    EXPECT_EQ(vds.GetRuleType(7), 6);
}

TEST(CBERules, FlagsAndFieldOffsets)
{
    TPX10ConfigCBERuleConfiguration c(false);
    c.SetFlag(10, 3, true);
    EXPECT_EQ(c.GetFlagsByte(10), 0x0F);
    EXPECT_TRUE(c.GetClassChange(10));
    c.SetTwoZone(10, true);
    c.SetEnableSoakTimer(10, true);
    c.SetSilence(10, false);
    EXPECT_EQ(c.GetFlagsByte(10), 0x3D);
    c.SetDeviceKind(10, 3, 2);
    c.SetDeviceAddress(10, 3, 99);
    c.SetZoneCondition(10, 16, 4);
    c.SetFilterType(10, 9);
    auto* r = c.GetRecord(10);
    EXPECT_EQ(r->GetByte(7), 2);
    EXPECT_EQ(r->GetByte(8), 99);
    EXPECT_EQ(r->GetByte(24), 4);
    EXPECT_EQ(r->GetByte(25), 9);
}

TEST(ZoneTexts, DefaultAndLength)
{
    TPX10ConfigZoneText z;
    EXPECT_FALSE(z.IsModified());
    EXPECT_EQ(z.GetZoneText(32), "");
    EXPECT_EQ(z.GetRecord(32)->GetByte(0), 5);
    z.SetZoneText(32, "A zone text longer than twenty");
    EXPECT_EQ(z.GetZoneText(32), "A zone text longer t");
    EXPECT_TRUE(z.IsModified());
}

TEST(GsmItems, Defaults)
{
    TPX10ConfigGsmItems g;
    EXPECT_FALSE(g.IsModified());
    for (int item = 1; item <= 5; ++item) {
        EXPECT_EQ(g.GetNumber(item), "");
        EXPECT_EQ(g.GetRecord(item)->GetByte(0), 6);
        const int expected[] = { 1, 1, 1, 0, 0, 0, 0, 0 };
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(g.GetRecord(item)->GetByte(22 + i), expected[i]) << item << " " << i;
    }
    g.SetQtyFault(2, 3);
    g.SetSystemDisable(2, true);
    g.SetNumber(2, "+441234567890");
    EXPECT_EQ(g.GetRecord(2)->GetByte(32), 3);
    EXPECT_EQ(g.GetRecord(2)->GetByte(29), 1);
    EXPECT_EQ(g.GetNumber(2), "+441234567890");
}
