#include <gtest/gtest.h>
#include <utility>

#include "PX10ConfigDeviceConfiguration.h"

namespace {
std::vector<int> RulesOf(const TPX10ConfigDeviceConfiguration& d, int address)
{
    std::vector<int> rules;
    for (int r = 1; r <= 64; ++r)
        if (d.IsInCBERule(address, r))
            rules.push_back(r);
    return rules;
}
}

TEST(DeviceConfiguration, NewRecordsHoldResetValues)
{
    TPX10ConfigDeviceConfiguration d;
    EXPECT_FALSE(d.IsModified());
    for (int a : { 1, 50, 99 }) {
        EXPECT_EQ(d.GetRecord(a)->GetByte(0), 3);
        EXPECT_EQ(d.GetZone(a), 1);
        EXPECT_EQ(d.GetType(a), 0);
        EXPECT_EQ(d.GetFireSensitivity(a), 100);
        EXPECT_EQ(d.GetDayModeSensitivity(a), 100);
        EXPECT_EQ(d.GetPrealarmSensitivity(a), 100);
        EXPECT_EQ(d.GetDayModePrealarmSensitivity(a), 100);
        EXPECT_EQ(d.GetBaseCBERule(a), 1);
        EXPECT_EQ(RulesOf(d, a), std::vector<int> { 1 });
        EXPECT_EQ(d.GetCBERuleListText(a), "(1) 1");
    }
    EXPECT_FALSE(d.IsModified());
}

TEST(DeviceConfiguration, ResetKeepsActionApplicationRemoteAndHigherRules)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(4, 5);
    d.SetDescription(4, "Kitchen");
    d.SetAction(4, 6);
    d.SetApplicationNumber(4, 9);
    d.SetRemoteOutput(4, 2);
    d.SetInCBERule(4, 1, false);
    d.SetInCBERule(4, 40, true);
    d.SetLoopPoweredOutput(4, true);
    d.SetChannel(4, 2);
    d.ResetDevice(4);
    EXPECT_EQ(d.GetType(4), 0);
    EXPECT_EQ(d.GetDescription(4), "");
    EXPECT_EQ(d.GetChannel(4), 0);
    EXPECT_EQ(d.GetRecord(4)->GetByte(40), 0);
    EXPECT_EQ(d.GetAction(4), 6);
    EXPECT_EQ(d.GetApplicationNumber(4), 9);
    EXPECT_EQ(d.GetRemoteOutput(4), 2);
    EXPECT_EQ(RulesOf(d, 4), (std::vector<int> { 1, 40 }));
}

TEST(DeviceConfiguration, RuleListTexts)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(1, 2);
    for (int r : { 2, 3, 5, 7, 8, 10, 11, 12, 13, 24 })
        d.SetInCBERule(1, r, true);
    EXPECT_EQ(d.GetCBERuleListText(1), "(1) 1-3,5,7,8,10-13,24");
    d.SetBaseCBERule(1, 5);
    for (int r : { 25, 26, 27, 28 })
        d.SetInCBERule(1, r, true);
    EXPECT_EQ(d.GetCBERuleListText(1), "(5) 5,7,8,10-13,24-28");
}

TEST(DeviceConfiguration, EmptyListPutsRuleOneBackExceptForTypes3And14)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(1, 5);
    d.SetInCBERule(1, 1, false);
    d.GetRecord(1)->ClearModified();
    EXPECT_EQ(d.GetCBERuleListText(1), "(1) 1");
    EXPECT_TRUE(d.IsInCBERule(1, 1));
    EXPECT_TRUE(d.GetRecord(1)->IsModified());
    for (int type : { 3, 14 }) {
        d.SetType(2, type);
        d.SetInCBERule(2, 1, false);
        EXPECT_EQ(d.GetCBERuleListText(2), "(1) ");
        EXPECT_TRUE(RulesOf(d, 2).empty());
    }
}

// Shown, an empty window stays empty and the device clean; the list text
// proper puts rule 1 back even where the window no longer holds it.
TEST(DeviceConfiguration, ShownListTextLeavesAnEmptyWindowAsStored)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(1, 4);
    d.SetInCBERule(1, 1, false);
    d.SetBaseCBERule(1, 5);
    d.SetLoopPoweredOutput(1, true);
    d.ClearModified();
    EXPECT_EQ(std::as_const(d).GetShownCBERuleListText(1), "(+5) ");
    EXPECT_FALSE(d.IsModified());
    EXPECT_EQ(d.GetCBERuleListText(1), "(+5) 1");
    EXPECT_TRUE(d.IsInCBERule(1, 1));
}

TEST(DeviceConfiguration, ListTextSetsBaseAndWindowOnly)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(1, 2);
    d.SetInCBERule(1, 3, true);
    d.SetInCBERule(1, 29, true);
    d.SetInCBERule(1, 60, true);
    d.SetInCBERule(1, 10, true);
    d.SetCBERuleListText(1, "(5) 5-7, 9");
    EXPECT_EQ(d.GetBaseCBERule(1), 5);
    EXPECT_EQ(RulesOf(d, 1), (std::vector<int> { 1, 3, 5, 6, 7, 9, 29, 60 }));
    // Ranges written backwards, chained ranges and stray characters.
    d.SetCBERuleListText(1, "(1) 4-2,x 6-8-10;");
    EXPECT_EQ(RulesOf(d, 1), (std::vector<int> { 2, 3, 4, 6, 7, 8, 9, 10, 29, 60 }));
}

TEST(DeviceConfiguration, PlusInBracketIsTheLoopPoweredOutput)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(1, 4);
    d.SetCBERuleListText(1, "(+3) 3");
    EXPECT_TRUE(d.GetLoopPoweredOutput(1));
    EXPECT_EQ(d.GetBaseCBERule(1), 3);
    EXPECT_EQ(d.GetCBERuleListText(1), "(+3) 3");
    d.SetCBERuleListText(1, "(3) 3");
    EXPECT_FALSE(d.GetLoopPoweredOutput(1));

    // Without a loop-powered output the "+" ends the bracket; 3 is then a listed rule.
    d.SetType(2, 2);
    d.SetCBERuleListText(2, "(+3) 4");
    EXPECT_EQ(d.GetBaseCBERule(2), 1);
    EXPECT_EQ(RulesOf(d, 2), (std::vector<int> { 3, 4 }));
    EXPECT_EQ(d.GetRecord(2)->GetByte(40), 0);
}

TEST(DeviceConfiguration, OutOfRangeNumbersChangeNothing)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(1, 2);
    d.SetCBERuleListText(1, "(42) 1");
    EXPECT_EQ(d.GetBaseCBERule(1), 1);
    d.SetCBERuleListText(1, "(1) 65");
    EXPECT_TRUE(RulesOf(d, 1).empty());
    d.SetCBERuleListText(1, "(1) 650,2");
    EXPECT_EQ(RulesOf(d, 1), std::vector<int> { 2 });
    // Absurdly long numbers neither overflow nor wrap round to a valid rule.
    d.SetType(2, 2);
    d.SetCBERuleListText(
        2, "(" + std::string(400, '9') + "1) " + std::string(400, '4') + "-3,2" + std::string(300, '0'));
    EXPECT_EQ(d.GetBaseCBERule(2), 1);
    EXPECT_EQ(RulesOf(d, 2), std::vector<int> { 3 });
    d.SetType(3, 2);
    d.SetCBERuleListText(3, "(00000000000000000000000000000007) 7");
    EXPECT_EQ(d.GetBaseCBERule(3), 7);
    EXPECT_EQ(RulesOf(d, 3), (std::vector<int> { 1, 7 }));
}

TEST(DeviceConfiguration, StoredBaseOutsideRangeListsOnlyExistingRules)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(1, 3);
    for (int r = 55; r <= 64; ++r)
        d.SetInCBERule(1, r, true);
    d.SetInCBERule(1, 1, false);
    d.SetBaseCBERule(1, 50);
    EXPECT_EQ(d.GetCBERuleListText(1), "(50) 55-64");
    d.SetBaseCBERule(1, 250);
    EXPECT_EQ(d.GetCBERuleListText(1), "(250) ");
    d.SetCBERuleListText(1, "60");
    EXPECT_EQ(RulesOf(d, 1).size(), 10u);
}

TEST(DeviceConfiguration, ClampedReadings)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetAction(1, 11);
    EXPECT_EQ(d.GetAction(1), 0);
    d.SetAction(1, 10);
    EXPECT_EQ(d.GetAction(1), 10);
    for (int stored : { 0, 65 }) {
        d.SetSingleCBERule(1, stored);
        EXPECT_EQ(d.GetSingleCBERule(1), 1);
    }
    d.SetSingleCBERule(1, 64);
    EXPECT_EQ(d.GetSingleCBERule(1), 64);
}

TEST(DeviceConfiguration, LoopPoweredOutputOnlyForSomeTypes)
{
    TPX10ConfigDeviceConfiguration d;
    for (int type = 0; type < 30; ++type) {
        bool supported
            = type == 3 || type == 4 || type == 5 || type == 6 || type == 9 || (type >= 13 && type <= 18);
        d.SetType(1, type);
        d.GetRecord(1)->SetByte(40, 0);
        d.SetLoopPoweredOutput(1, true);
        EXPECT_EQ(d.GetRecord(1)->GetByte(40), supported ? 1 : 0) << type;
        d.GetRecord(1)->SetByte(40, 1);
        EXPECT_EQ(d.GetLoopPoweredOutput(1), supported) << type;
    }
}

TEST(DeviceConfiguration, MaskBytesAndCounts)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetInCBERule(1, 64, true);
    d.SetInCBERule(1, 9, true);
    d.SetInCBERule(1, 0, true);
    d.SetInCBERule(1, 65, true);
    unsigned char mask[8];
    d.GetRuleMask(1, mask);
    EXPECT_EQ(mask[0], 1);
    EXPECT_EQ(mask[1], 1);
    EXPECT_EQ(mask[7], 0x80);
    EXPECT_EQ(d.GetRuleMaskByte(1, 7), 0x80);
    const unsigned char other[8] = { 0, 0, 0, 0, 0, 0, 0, 2 };
    d.SetRuleMask(2, other);
    EXPECT_EQ(RulesOf(d, 2), std::vector<int> { 58 });

    for (int a = 1; a <= 99; ++a)
        d.SetType(a, 1);
    EXPECT_EQ(d.CountBrimDevices(), 99);
    EXPECT_EQ(d.CountTorqDevices(), 0);
    d.SetTorqType(5, 7);
    d.SetType(6, 0);
    EXPECT_EQ(d.CountBrimDevices(), 97);
    EXPECT_EQ(d.CountTorqDevices(), 1);
}

TEST(DeviceConfiguration, CopyDeviceToAndFrom)
{
    TPX10ConfigDeviceConfiguration d;
    d.SetType(3, 6);
    d.SetDescription(3, "Lobby");
    TPX10ConfigRecord buffer;
    d.CopyDeviceTo(3, &buffer);
    d.CopyDeviceFrom(7, &buffer);
    EXPECT_EQ(d.GetDescription(7), "Lobby");
    EXPECT_EQ(d.GetType(7), 6);
    EXPECT_TRUE(d.GetRecord(7)->IsModified());
    d.GetRecord(7)->ClearModified();
    d.CopyDeviceFrom(7, &buffer);
    EXPECT_FALSE(d.GetRecord(7)->IsModified());
}
