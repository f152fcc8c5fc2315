#include <gtest/gtest.h>

#include "Exception.h"
#include "PX10ConfigFileHeader.h"
#include "PX10ConfigGeneralPanelSetup.h"

namespace {
TPX10ConfigGeneralPanelSetup MakeSetup(bool flags = false)
{
    return { flags, flags, flags, flags };
}
}

TEST(FileHeader, Defaults)
{
    TPX10ConfigFileHeader h;
    EXPECT_EQ(h.GetTitle(), "PX10 Panel Configuration File");
    EXPECT_EQ(h.GetVersion(), 109);
    EXPECT_EQ(h.GetPanelType(), 3);
    EXPECT_FALSE(h.IsModified());
    EXPECT_EQ(h.GetRecord()->GetByte(42), 1);
    EXPECT_EQ(h.GetRecord()->GetByte(43), 9);
    h.SetVersion(107);
    EXPECT_EQ(h.GetRecord()->GetByte(42), 1);
    EXPECT_EQ(h.GetRecord()->GetByte(43), 7);
    EXPECT_TRUE(h.IsModified());
}

TEST(GeneralPanelSetup, DefaultsWithFlagsClear)
{
    auto s = MakeSetup(false);
    EXPECT_FALSE(s.IsModified());
    EXPECT_EQ(s.GetSiteName(), "");
    EXPECT_EQ(s.GetExtendDelay(), 3);
    EXPECT_EQ(s.GetPrimaryDelay(), 30);
    EXPECT_TRUE(s.GetBlinking());
    EXPECT_TRUE(s.GetControlKeys());
    EXPECT_TRUE(s.GetWeekendNightMode());
    EXPECT_EQ(s.GetHightestWord(), 0x8000);
    EXPECT_EQ(s.GetRS485Protocol(), 1);
    EXPECT_TRUE(s.GetRS485ThirdPartyDatalinkMonitoring());
    EXPECT_TRUE(s.GetRS232ThirdPartyDatalinkMonitoring());
    EXPECT_EQ(s.GetExtSystemDelay(), 60);
    EXPECT_FALSE(s.GetDigitalInput1());
    EXPECT_EQ(s.GetSecondRecord()->GetByte(13), 1);
    EXPECT_EQ(s.GetLED2CMode(), 0);
    EXPECT_EQ(s.GetControlKey3Mode(), 0);
    EXPECT_FALSE(s.GetTorqSwitch());
    EXPECT_EQ(s.GetFirstRecord()->GetByte(0), 1);
    EXPECT_EQ(s.GetSecondRecord()->GetByte(0), 1);
}

TEST(GeneralPanelSetup, DefaultsWithFlagsSet)
{
    auto s = MakeSetup(true);
    EXPECT_FALSE(s.IsModified());
    EXPECT_TRUE(s.GetDigitalInput1());
    EXPECT_EQ(s.GetSecondRecord()->GetByte(13), 0);
    EXPECT_EQ(s.GetLED2CMode(), 1);
    EXPECT_EQ(s.GetControlKey3Mode(), 1);
    EXPECT_TRUE(s.GetTorqSwitch());
}

TEST(GeneralPanelSetup, AutomaticTestKeepsItsDisableBit)
{
    auto s = MakeSetup();
    EXPECT_FALSE(s.GetHightestEnable());
    EXPECT_EQ(s.GetHightestTimeText(':'), "00:00");
    s.SetHightestTimeText("07:30");
    EXPECT_EQ(s.GetHightestWord(), 0x81C2);
    EXPECT_EQ(s.GetHightestTimeText('.'), "07.30");
    s.SetHightestEnable(true);
    EXPECT_EQ(s.GetHightestWord(), 450);
    EXPECT_TRUE(s.GetHightestEnable());
    s.SetHightestEnable(false);
    EXPECT_EQ(s.GetHightestWord(), 0x81C2);
}

TEST(GeneralPanelSetup, TimeTextsAreClampedAndBlanksReadAsZero)
{
    auto s = MakeSetup();
    s.SetDayModeStartTimeText("25:75");
    EXPECT_EQ(s.GetDayModeStartTime(), 1439);
    s.SetDayModeStartTimeText(" 7:05");
    EXPECT_EQ(s.GetDayModeStartTime(), 425);
    EXPECT_EQ(s.GetDayModeStartTimeText(':'), "07:05");
    s.SetDayModeEndTimeText("23:59");
    EXPECT_EQ(s.GetDayModeEndTime(), 1439);
    EXPECT_EQ(s.GetDayModeEndTimeText(':'), "23:59");
}

TEST(GeneralPanelSetup, BadTimeTextsRaiseConversionErrorAndStoreNothing)
{
    auto s = MakeSetup();
    s.SetDayModeStartTime(100);
    s.GetFirstRecord()->ClearModified();
    for (const char* text : { "", "7:5", "07:3", "ab:cd", "07:x5", "-1:00", "+1:00" }) {
        EXPECT_THROW(s.SetDayModeStartTimeText(text), EConvertError) << text;
        EXPECT_THROW(s.SetHightestTimeText(text), EConvertError) << text;
        EXPECT_THROW(s.SetDayModeSensitivityEndTimeText(text), EConvertError) << text;
    }
    EXPECT_EQ(s.GetDayModeStartTime(), 100);
    EXPECT_FALSE(s.IsModified());
}

TEST(GeneralPanelSetup, ExtinguishingDelayReadsClamped)
{
    auto s = MakeSetup();
    s.SetExtSystemDelay(0);
    EXPECT_EQ(s.GetExtSystemDelay(), 10);
    EXPECT_EQ(s.GetSecondRecord()->GetWord(19), 0);
    s.SetExtSystemDelay(200);
    EXPECT_EQ(s.GetExtSystemDelay(), 180);
    EXPECT_EQ(s.GetSecondRecord()->GetWord(19), 200);
    s.SetExtSystemDelay(60);
    EXPECT_EQ(s.GetExtSystemDelay(), 60);
}

TEST(GeneralPanelSetup, ServiceDueDatePacking)
{
    auto s = MakeSetup();
    EXPECT_FALSE(s.GetServiceDueDate().isValid());
    s.SetServiceDueDate(QDate(2024, 3, 15));
    EXPECT_EQ(s.GetServiceDueWord(), 24798);
    EXPECT_EQ(s.GetServiceDueDate(), QDate(2024, 3, 15));
    s.SetServiceDueDate(QDate(2063, 12, 31));
    EXPECT_EQ(s.GetServiceDueDate(), QDate(2063, 12, 31));
    s.SetServiceDueDate(QDate());
    EXPECT_EQ(s.GetServiceDueWord(), 0);
}

TEST(GeneralPanelSetup, ServiceDueWordWithoutValidDateReadsAsNoDate)
{
    auto s = MakeSetup();
    // Month 0, month 13, day 0, 30 February.
    for (int word :
        { 24 * 1024 + 0 * 64 + 2, 24 * 1024 + 13 * 64 + 2, 24 * 1024 + 3 * 64, 24 * 1024 + 2 * 64 + 60 }) {
        s.SetServiceDueWord(word);
        s.ClearModified();
        EXPECT_TRUE(s.GetServiceDueDate().isNull()) << word;
        EXPECT_EQ(s.GetServiceDueWord(), word);
        EXPECT_FALSE(s.IsModified());
    }
}

TEST(GeneralPanelSetup, DigitalInputIsStoredInverted)
{
    auto s = MakeSetup();
    s.SetDigitalInput1(true);
    EXPECT_EQ(s.GetSecondRecord()->GetByte(13), 0);
    s.GetSecondRecord()->SetByte(13, 5);
    EXPECT_FALSE(s.GetDigitalInput1());
}

TEST(GeneralPanelSetup, PackedFieldsKeepEachOther)
{
    auto s = MakeSetup();
    s.SetDayModeSensitivityStartTime(0x7FF);
    s.SetWeekendSensitivityNightMode(true);
    s.GetSecondRecord()->SetByte(58, s.GetSecondRecord()->GetByte(58) | 0x80); // unused bit 23
    s.SetMainsDelay(300);
    EXPECT_EQ(s.GetSecondRecord()->GetByte(59), 44);
    EXPECT_EQ(s.GetDayModeSensitivityStartTime(), 0x7FF);
    EXPECT_TRUE(s.GetWeekendSensitivityNightMode());
    s.SetDayModeSensitivityEndTime(1439);
    EXPECT_EQ(s.GetDayModeSensitivityEndTime(), 1439);
    EXPECT_EQ(s.GetDayModeSensitivityStartTime(), 0x7FF);
    EXPECT_TRUE(s.GetWeekendSensitivityNightMode());
    EXPECT_EQ(s.GetMainsDelay(), 44);
    EXPECT_EQ(s.GetSecondRecord()->GetByte(58) & 0x80, 0x80);
    s.SetDayModeSensitivityEndTime(0);
    s.SetWeekendSensitivityNightMode(false);
    EXPECT_EQ(s.GetDayModeSensitivityStartTime(), 0x7FF);
    EXPECT_EQ(s.GetMainsDelay(), 44);
    s.SetDayModeSensitivityStartTimeText("12:00");
    EXPECT_EQ(s.GetDayModeSensitivityStartTimeText(':'), "12:00");
    // Little-endian 32-bit layout: start time in the low 11 bits.
    EXPECT_EQ(s.GetSecondRecord()->GetByte(56), 720 & 0xFF);
    EXPECT_EQ(s.GetSecondRecord()->GetByte(57) & 0x07, 720 >> 8);
}

TEST(GeneralPanelSetup, OptionsLiveAtTheirOffsets)
{
    auto s = MakeSetup();
    s.SetSiteName("Site");
    s.SetServicePhoneNo("0123");
    s.SetPulseRatio(2);
    s.SetRS485QtyRepeaters(300);
    s.SetLampTest(true);
    s.SetModulesBlinkColour(true);
    s.SetSuppressDoubleAddress(7);
    s.SetRS232ThirdPartySuspendCommsLimit(0x0102);
    auto* a = s.GetFirstRecord();
    auto* b = s.GetSecondRecord();
    EXPECT_EQ(a->GetText(1), "Site");
    EXPECT_EQ(a->GetText(22), "0123");
    EXPECT_EQ(a->GetByte(47), 1);
    EXPECT_EQ(a->GetByte(49), 300 & 0xFF);
    EXPECT_EQ(b->GetByte(45), 1);
    EXPECT_EQ(b->GetByte(48), 1);
    EXPECT_EQ(b->GetByte(41), 7);
    EXPECT_EQ(b->GetByte(27), 2);
    EXPECT_EQ(b->GetByte(28), 1);
}
