#include <gtest/gtest.h>

#include "PX10ConfigData.h"

TEST(ConfigData, AllFlagsClear)
{
    TPX10ConfigData c(false, false, false, false);
    EXPECT_FALSE(c.IsModified());
    EXPECT_EQ(c.OnboardOutputCircuits->GetCircuitType(1), 0);
    EXPECT_TRUE(c.OnboardOutputCircuits->IsCircuitInCBERule(1, 1));
    EXPECT_FALSE(c.GeneralPanelSetup->GetDigitalInput1());
    EXPECT_EQ(c.GeneralPanelSetup->GetLED2CMode(), 0);
    EXPECT_FALSE(c.GeneralPanelSetup->GetTorqSwitch());
    EXPECT_EQ(c.GeneralPanelSetup->GetControlKey3Mode(), 0);
    EXPECT_EQ(c.CBERules->GetRuleType(6), 0);
    EXPECT_EQ(c.CBERules->GetFlagsByte(6), 7);
    for (int zone = 1; zone <= 16; ++zone)
        EXPECT_EQ(c.CBERules->GetZoneCondition(6, zone), 0);
}

TEST(ConfigData, AllFlagsSet)
{
    TPX10ConfigData c(true, true, true, true);
    EXPECT_FALSE(c.IsModified());
    EXPECT_EQ(c.OnboardOutputCircuits->GetCircuitType(1), 3);
    EXPECT_TRUE(c.OnboardOutputCircuits->IsCircuitInCBERule(1, 6));
    EXPECT_FALSE(c.OnboardOutputCircuits->IsCircuitInCBERule(1, 1));
    EXPECT_TRUE(c.GeneralPanelSetup->GetDigitalInput1());
    EXPECT_EQ(c.GeneralPanelSetup->GetSecondRecord()->GetByte(13), 0);
    EXPECT_EQ(c.GeneralPanelSetup->GetLED2CMode(), 1);
    EXPECT_TRUE(c.GeneralPanelSetup->GetTorqSwitch());
    EXPECT_EQ(c.GeneralPanelSetup->GetControlKey3Mode(), 1);
    for (int zone = 1; zone <= 16; ++zone)
        EXPECT_EQ(c.CBERules->GetZoneCondition(6, zone), 1);
}

TEST(ConfigData, IsModifiedFollowsEveryPart)
{
    TPX10ConfigData c(false, false, true, false);
    c.GeneralPanelSetup->SetPrimaryDelay(30);
    c.Sensors->SetZone(5, 1);
    c.GsmItems->SetAlarm(1, true);
    EXPECT_FALSE(c.IsModified()) << "storing the same values changes nothing";

    TPX10ConfigData a(false, false, true, false);
    a.GsmItems->SetQtyAlarm(5, 1);
    EXPECT_TRUE(a.IsModified());
    TPX10ConfigData b(false, false, true, false);
    b.Modules->SetType(99, 1);
    EXPECT_TRUE(b.IsModified());
    EXPECT_FALSE(b.Sensors->IsModified());
    TPX10ConfigData h(false, false, true, false);
    h.FileHeader->SetPanelType(1);
    EXPECT_TRUE(h.IsModified());
}

TEST(ConfigData, GlobalIsNullUntilSet)
{
    EXPECT_EQ(ConfigData, nullptr);
    TPX10ConfigData c(false, false, false, false);
    ConfigData = &c;
    EXPECT_EQ(ConfigData->Sensors->GetType(1), 0);
    ConfigData = nullptr;
}
