#include "DeviceRules.h"
#include "PX10ConfigData.h"

#include <gtest/gtest.h>

namespace {
void Module(TPX10ConfigDeviceConfiguration& m, int first, int torq, int channels)
{
    for (int c = 0; c < channels; ++c) {
        m.SetType(first + c, 1);
        m.SetTorqType(first + c, torq);
        m.SetChannel(first + c, channels > 1 ? c + 1 : 0);
    }
}
} // namespace

TEST(DeviceNodeTexts, ExtraBlankKeepsNumericOrder)
{
    EXPECT_EQ(DeviceNodeText(5), "Address  5");
    EXPECT_EQ(DeviceNodeText(12), "Address 12");
    EXPECT_LT(DeviceNodeText(5), DeviceNodeText(12));
    EXPECT_LT(DeviceNodeText(9), DeviceNodeText(10));
}

TEST(PasteRules, NothingWithoutTheBufferOfTheFrameInView)
{
    TPX10ConfigDeviceConfiguration m;
    EXPECT_FALSE(CanPasteDevice(true, false, false, true, 0, m, 1));
    EXPECT_FALSE(CanPasteDevice(false, true, true, false, 0, m, 1));
    EXPECT_FALSE(CanPasteDevice(false, false, true, true, 0, m, 1));
    EXPECT_TRUE(CanPasteDevice(true, false, true, false, 0, m, 1));
}

TEST(PasteRules, ThreeChannelModuleNeedsThreeFreeAddresses)
{
    TPX10ConfigDeviceConfiguration m;
    EXPECT_TRUE(CanPasteDevice(false, true, false, true, kTorqThreeChannelModule, m, 97));
    EXPECT_FALSE(CanPasteDevice(false, true, false, true, kTorqThreeChannelModule, m, 98));
    EXPECT_FALSE(CanPasteDevice(false, true, false, true, kTorqThreeChannelModule, m, 99));
    Module(m, 12, kTorqTwoChannelModule, 2); // channels at 12 and 13
    EXPECT_FALSE(CanPasteDevice(false, true, false, true, kTorqThreeChannelModule, m, 10)); // 12 taken
    EXPECT_FALSE(CanPasteDevice(false, true, false, true, kTorqThreeChannelModule, m, 13));
    EXPECT_TRUE(CanPasteDevice(false, true, false, true, kTorqThreeChannelModule, m, 14));
    EXPECT_TRUE(CanPasteDevice(false, true, false, true, kTorqThreeChannelModule, m, 9));
}

TEST(PasteRules, TwoChannelModuleNeedsTwoFreeAddresses)
{
    TPX10ConfigDeviceConfiguration m;
    EXPECT_TRUE(CanPasteDevice(false, true, false, true, kTorqTwoChannelModule, m, 98));
    EXPECT_FALSE(CanPasteDevice(false, true, false, true, kTorqTwoChannelModule, m, 99));
    Module(m, 50, kTorqThreeChannelModule, 3);
    EXPECT_FALSE(CanPasteDevice(false, true, false, true, kTorqTwoChannelModule, m, 49));
    EXPECT_TRUE(CanPasteDevice(false, true, false, true, kTorqTwoChannelModule, m, 47));
    // a single-channel device over a channel of a multi-channel module
    EXPECT_FALSE(CanPasteDevice(false, true, false, true, 0, m, 51));
    EXPECT_TRUE(CanPasteDevice(false, true, false, true, 0, m, 53));
}

TEST(PasteRules, ModuleConditionsApplyWhileTheSensorFrameShows)
{
    TPX10ConfigDeviceConfiguration m;
    Module(m, 20, kTorqTwoChannelModule, 2);
    EXPECT_FALSE(CanPasteDevice(true, false, true, false, 0, m, 21));
    EXPECT_TRUE(CanPasteDevice(true, false, true, false, 0, m, 22));
}

TEST(CutCopyRules, OffOnLaterChannelsOfMultiChannelModules)
{
    TPX10ConfigDeviceConfiguration m;
    Module(m, 30, kTorqThreeChannelModule, 3);
    EXPECT_TRUE(CanCutCopyDevice(false, true, m, 30));
    EXPECT_FALSE(CanCutCopyDevice(false, true, m, 31));
    EXPECT_FALSE(CanCutCopyDevice(false, true, m, 32));
    EXPECT_FALSE(CanCutCopyDevice(true, false, m, 32)); // the module grid's address counts
    EXPECT_TRUE(CanCutCopyDevice(true, false, m, 33));
    EXPECT_FALSE(CanCutCopyDevice(false, false, m, 33));
}

namespace {
struct ClipboardFixture : ::testing::Test {
    TPX10ConfigData Config { false, false, true, false };
    DeviceClipboard Clipboard;
    using View = DeviceClipboard::View;
};
} // namespace

TEST_F(ClipboardFixture, NothingIsEnabledWithoutAConfigurationOrADeviceFrame)
{
    EXPECT_FALSE(Clipboard.EditEnables(nullptr, View::Sensors, 1).CutCopy);
    EXPECT_FALSE(Clipboard.EditEnables(&Config, View::Other, 1).CutCopy);
    EXPECT_TRUE(Clipboard.EditEnables(&Config, View::Sensors, 1).CutCopy);
    EXPECT_FALSE(Clipboard.EditEnables(&Config, View::Sensors, 1).Paste); // before the first copy
    EXPECT_FALSE(Clipboard.Paste(Config, View::Sensors, 4, 1)); // a shortcut is refused too
}

TEST_F(ClipboardFixture, CopyCarriesTheWholeRecordIntoAnotherConfiguration)
{
    Config.Sensors->SetType(3, 4);
    Config.Sensors->SetDescription(3, "Hall");
    Config.Sensors->SetZone(3, 7);
    Clipboard.Copy(Config, View::Sensors, 3);
    EXPECT_TRUE(Clipboard.HasSensor());
    EXPECT_FALSE(Clipboard.EditEnables(&Config, View::Modules, 1).Paste); // no module copied
    TPX10ConfigData other(false, false, true, false);
    ASSERT_TRUE(Clipboard.Paste(other, View::Sensors, 40, 1));
    EXPECT_EQ(other.Sensors->GetDescription(40), "Hall");
    EXPECT_EQ(other.Sensors->GetZone(40), 7);
    EXPECT_EQ(other.Sensors->GetType(40), 4);
}

TEST_F(ClipboardFixture, CutResetsASensorButLeavesModulesToTheirFrame)
{
    Config.Sensors->SetType(8, 2);
    Clipboard.Cut(Config, View::Sensors, 8);
    EXPECT_EQ(Config.Sensors->GetType(8), 0);
    EXPECT_TRUE(Clipboard.EditEnables(&Config, View::Sensors, 1).Paste);
    Module(*Config.Modules, 10, kTorqTwoChannelModule, 2);
    Clipboard.Cut(Config, View::Modules, 10);
    EXPECT_EQ(Config.Modules->GetType(10), 1);
    // The two-channel module in the buffer needs two free addresses.
    EXPECT_FALSE(Clipboard.Paste(Config, View::Modules, 99, 99));
    EXPECT_FALSE(Clipboard.Paste(Config, View::Modules, 9, 9)); // 10 taken
    EXPECT_TRUE(Clipboard.Paste(Config, View::Modules, 20, 20));
    EXPECT_EQ(Config.Modules->GetTorqType(20), kTorqTwoChannelModule);
    Clipboard.Clear();
    EXPECT_FALSE(Clipboard.HasSensor() || Clipboard.HasModule());
}

// A paste keeps TORQ devices and more than 40 BRIM devices apart, as the
// pick lists do: a device written over leaves the count first.
TEST_F(ClipboardFixture, PasteKeepsTorqAndMoreThan40BrimApart)
{
    for (int a = 1; a <= 40; ++a)
        Config.Sensors->SetType(a, 2);
    Module(*Config.Modules, 1, 132, 1);
    Clipboard.Copy(Config, View::Sensors, 5);
    EXPECT_FALSE(Clipboard.PasteKeepsProtocolRule(Config, View::Sensors, 50));
    EXPECT_FALSE(Clipboard.Paste(Config, View::Sensors, 50, 1));
    EXPECT_EQ(Config.Sensors->GetType(50), 0);
    EXPECT_TRUE(Clipboard.Paste(Config, View::Sensors, 7, 1)); // over a BRIM sensor
    // A TORQ device joins 40 BRIM devices, not 41.
    Clipboard.Copy(Config, View::Modules, 1);
    EXPECT_TRUE(Clipboard.PasteKeepsProtocolRule(Config, View::Modules, 30));
    Config.Modules->SetType(1, 0);
    Config.Sensors->SetType(41, 2);
    EXPECT_FALSE(Clipboard.PasteKeepsProtocolRule(Config, View::Modules, 30));
    EXPECT_TRUE(Clipboard.PasteKeepsProtocolRule(Config, View::Sensors, 42)); // no TORQ device
}

// A loop that already mixes TORQ with more than 40 BRIM devices: pastes that
// keep the counts go on; counted as the loop is after the paste, with the
// further channels a pasted multi-channel module brings.
TEST_F(ClipboardFixture, PasteIntoAnAlreadyMixedLoopRefusesOnlyWhatWorsensIt)
{
    for (int a = 1; a <= 41; ++a)
        Config.Sensors->SetType(a, 2);
    Module(*Config.Modules, 1, 132, 1);
    Module(*Config.Modules, 2, 132, 1);
    Module(*Config.Modules, 10, kTorqTwoChannelModule, 2);
    Clipboard.Copy(Config, View::Sensors, 5);
    EXPECT_TRUE(Clipboard.Paste(Config, View::Sensors, 7, 1)); // BRIM over BRIM
    EXPECT_FALSE(Clipboard.Paste(Config, View::Sensors, 60, 1)); // BRIM onto a free address
    Clipboard.Copy(Config, View::Modules, 1);
    EXPECT_TRUE(Clipboard.Paste(Config, View::Modules, 2, 2)); // TORQ over TORQ
    EXPECT_FALSE(Clipboard.Paste(Config, View::Modules, 30, 30)); // TORQ onto a free address
    Config.Modules->SetType(40, 2); // 42 BRIM devices
    EXPECT_FALSE(Clipboard.Paste(Config, View::Modules, 40, 40)); // over BRIM, 41 BRIM are left
    Clipboard.Copy(Config, View::Modules, 10);
    EXPECT_FALSE(Clipboard.PasteKeepsProtocolRule(Config, View::Modules, 2)); // its second channel
    EXPECT_EQ(Config.Modules->GetTorqType(2), 132);
}
