// The panel setup options' rules, driven without widgets.
#include "PX10ConfigData.h"
#include "Panelsetupoptionslogic.h"
#include "support/FakePrompts.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <utility>

using namespace platform;

namespace {

// What the options only read (their state, the stored values) sees the configuration as const.
static_assert(
    std::is_same_v<decltype(std::declval<const PanelSetupOptions&>().Config()), const TPX10ConfigData*>);

struct OptionsFixture : ::testing::Test {
    std::unique_ptr<TPX10ConfigData> Config = std::make_unique<TPX10ConfigData>(false, false, true, false);
    PanelSetupOptions Options { Config.get() };
    FakePrompts Prompts;
    void SetUp() override { Options.Load(false, false); }
    const PanelSetupOptionsState& S() const { return Options.State(); }
    TPX10ConfigGeneralPanelSetup& G() { return *Config->GeneralPanelSetup; }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            Options.DayModeCheckTick();
    }
};

using Rows = std::vector<std::string>;

} // namespace

TEST(PanelTypeLists, StoredTypesMapToTheOfferedRows)
{
    EXPECT_EQ(PanelSetupOptions::PanelTypeSelectionRow(3), 3);
    EXPECT_EQ(PanelSetupOptions::PanelTypeSelectionRow(1), 1);
    EXPECT_EQ(PanelSetupOptions::PanelTypeSelectionRow(4), 0); // Marvex is not offered
    EXPECT_EQ(PanelSetupOptions::PanelTypeSelectionRow(200), 0);
    EXPECT_EQ(PanelSetupOptions::PanelTypeSelectionRow(-1), 0);
}

TEST(PanelTypeLists, RS485ListDependsOnPanelType)
{
    EXPECT_EQ(PanelSetupOptions::RS485ListFor(1).size(), 3u);
    EXPECT_EQ(PanelSetupOptions::RS485ListFor(0).size(), 3u);
    EXPECT_EQ(PanelSetupOptions::RS485ListFor(9).size(), 3u);
    EXPECT_EQ(PanelSetupOptions::RS485ListFor(2).size(), 5u);
    EXPECT_EQ(PanelSetupOptions::RS485SelectionRow(1, 3), 1); // BFT/LLT
    EXPECT_EQ(PanelSetupOptions::RS485SelectionRow(1, 2), 0); // not offered
    EXPECT_EQ(PanelSetupOptions::RS485SelectionRow(3, 99), 0);
    EXPECT_EQ(PanelSetupOptions::RS485ProtocolOfText("THIRD PARTY"), 4);
}

TEST_F(OptionsFixture, MarvexShowsFirstRowWithoutRewritingTheType)
{
    Config->FileHeader->SetPanelType(4);
    G().SetRS485Protocol(77);
    G().SetRS232Options(9);
    G().SetLED1HMode(9);
    Config->FileHeader->GetRecord()->ClearModified();
    G().ClearModified();
    Options.Load(false, false);
    EXPECT_EQ(S().PanelTypeRows[S().PanelTypeRow], "412-304-xxx : PX21/22");
    EXPECT_EQ(Config->FileHeader->GetPanelType(), 4);
    EXPECT_FALSE(S().PrintingEnabled);
    EXPECT_EQ(S().RS485Row, 0);
    EXPECT_EQ(S().Value(PanelOption::RS232Options), 0);
    EXPECT_EQ(S().Value(PanelOption::LED1HMode), 9); // shown as no item, kept as stored
    EXPECT_FALSE(Config->IsModified()); // lists show what they can and keep what is stored
}

TEST_F(OptionsFixture, ChoosingPX11StoresTypeAndOffersItsRS485List)
{
    int refreshed = 0;
    Options.OnPanelTypeChanged = [&] {
        ++refreshed;
        Options.Load(false, false);
    };
    Options.ChoosePanelType(1); // "412-303-xxx : PX11/12"
    EXPECT_EQ(Config->FileHeader->GetPanelType(), 1);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(S().RS485Rows, Rows({ "VELTRANE", "BFT/LLT", "THIRD PARTY" }));
    EXPECT_EQ(S().RS232OptionsRows.size(), 3u);
    Options.ChooseRS485Protocol(2);
    EXPECT_EQ(G().GetRS485Protocol(), 4);
    EXPECT_TRUE(S().RS485ThirdPartyEnabled);
    EXPECT_FALSE(S().RS485RepeatersEnabled);
    Options.ChooseRS485Protocol(1);
    EXPECT_EQ(G().GetRS485Protocol(), 3);
    EXPECT_TRUE(S().RS485RepeatersEnabled);
    EXPECT_FALSE(S().RS485ThirdPartyEnabled);
    Options.ChooseRS485Protocol(7); // no such row
    EXPECT_EQ(G().GetRS485Protocol(), 3);
    Options.ChoosePanelType(3);
    EXPECT_EQ(S().RS232OptionsRows, Rows({ "BASIC", "XON/XOFF" }));
}

TEST_F(OptionsFixture, GsmModemSwapsTheOptionsForTheGsmItems)
{
    G().SetRS232Options(1);
    Options.Load(false, false);
    Options.ChooseRS232Protocol(2);
    EXPECT_EQ(G().GetRS232Protocol(), 2);
    EXPECT_EQ(G().GetRS232Options(), 0);
    EXPECT_TRUE(S().GsmItemsVisible);
    EXPECT_EQ(S().RS232OptionsRows, Rows({ "BASIC", "XON/XOFF" })); // kept as it was
    Options.ChooseRS232Protocol(1);
    EXPECT_EQ(S().RS232OptionsRows, Rows({ "FULL DUPLEX", "HALF DUPLEX" }));
    EXPECT_TRUE(S().RS232ThirdPartyEnabled);
    EXPECT_FALSE(S().GsmItemsVisible);
    // Choosing the protocol already stored changes nothing.
    Options.SetOption(PanelOption::RS232Options, 1);
    Options.ChooseRS232Protocol(1);
    EXPECT_EQ(G().GetRS232Options(), 1);
}

TEST_F(OptionsFixture, DayModeStartLaterThanEndPullsTheEndAlong)
{
    G().SetDayModeEndTime(6 * 60);
    Options.Load(false, false);
    Options.EditTime(TimeField::DayModeStart, "22:00");
    EXPECT_EQ(G().GetDayModeStartTime(), 1320);
    EXPECT_TRUE(Options.DayModeCheckArmed());
    Ticks(1); // 100 ms
    EXPECT_EQ(G().GetDayModeEndTime(), 360);
    Ticks(1); // 200 ms
    EXPECT_EQ(S().Time(TimeField::DayModeEnd), "22:00");
    EXPECT_EQ(G().GetDayModeEndTime(), 1320);
    EXPECT_EQ(S().DayModeCaption, "Day Mode Delays - INACTIVE");
    Ticks(4); // the end's own check finds nothing more to do
    EXPECT_FALSE(Options.DayModeCheckArmed());
    EXPECT_EQ(G().GetDayModeStartTime(), 1320);
}

TEST_F(OptionsFixture, SensitivityEndBeforeStartPullsTheStartBack)
{
    G().SetDayModeSensitivityStartTime(600);
    G().SetDayModeSensitivityEndTime(700);
    Options.Load(false, false);
    Options.EditTime(TimeField::SensitivityEnd, "08:00");
    Ticks(4);
    EXPECT_EQ(G().GetDayModeSensitivityStartTime(), 480);
    EXPECT_EQ(S().Time(TimeField::SensitivityStart), "08:00");
}

TEST_F(OptionsFixture, TimesAreStoredClampedAndBlanksReadAsZero)
{
    Options.EditTime(TimeField::HightestTime, "27:75");
    EXPECT_EQ(S().Time(TimeField::HightestTime), "23:59");
    EXPECT_FALSE(Options.DayModeCheckArmed()); // the automatic test time has no check
    Options.EditTime(TimeField::DayModeEnd, "  :  ");
    EXPECT_EQ(G().GetDayModeEndTime(), 0);
    EXPECT_THROW(Options.EditTime(TimeField::DayModeStart, "ab:cd"), std::exception);
}

TEST_F(OptionsFixture, LeavingTheDayModeTimesWarnsOfAStartAfterTheEnd)
{
    G().SetDayModeStartTime(600);
    G().SetDayModeEndTime(500);
    Prompts.Answer(mrOk);
    Options.DayModeTimeExit();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text,
        "Invalid start or end time entered.\r\n\r\nTo activate day mode, the start time\r\nmust be less "
        "than the end time.");
    EXPECT_EQ(S().DayModeCaption, "Day Mode Delays - ACTIVE");
    G().SetDayModeEndTime(700);
    Options.DayModeTimeExit(); // no question this time
    EXPECT_EQ(Prompts.Log.size(), 1u);
}

TEST_F(OptionsFixture, TorqCannotBeDisabledWithTorqDevices)
{
    Config->Modules->SetType(5, 1);
    Config->Modules->SetTorqType(5, 130);
    Prompts.Answer(mrOk);
    Options.SetOption(PanelOption::TorqSwitch, 0);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text,
        "Sorry, TORQ protocol can't be disabled!\r\n\r\nRemove/Replace TORQ protocol "
        "devices present in the current configuration.");
    EXPECT_EQ(S().Value(PanelOption::TorqSwitch), 1);
    EXPECT_TRUE(G().GetTorqSwitch());
    Config->Modules->SetType(5, 0);
    Config->Modules->SetTorqType(5, 0);
    Options.SetOption(PanelOption::TorqSwitch, 0);
    EXPECT_FALSE(G().GetTorqSwitch());
}

TEST_F(OptionsFixture, FlagsInvertedOptionsAndBlinkColours)
{
    Options.SetOption(PanelOption::TwoAlarmZonesEndDelays, 1);
    EXPECT_EQ(G().GetDayModeNewAlarmOption(), 0); // checked stores 0
    Options.SetOption(PanelOption::DigitalInput1, 1);
    EXPECT_TRUE(G().GetDigitalInput1());
    Options.SetOption(PanelOption::Blinking, 1);
    EXPECT_TRUE(S().BlinkColoursEnabled);
    Options.SetOption(PanelOption::Blinking, 0);
    EXPECT_FALSE(S().BlinkColoursEnabled);
    EXPECT_FALSE(G().GetBlinking());
}

TEST_F(OptionsFixture, GsmEditsLandInTheSelectedItem)
{
    Options.SelectGsmItem(3);
    EXPECT_EQ(Options.EditGsmNumber("0171 234 56", 8), 7);
    EXPECT_EQ(S().Gsm.Number, "017123456");
    EXPECT_EQ(Config->GsmItems->GetNumber(3), "017123456");
    EXPECT_EQ(Config->GsmItems->GetNumber(1), "");
    // new items report alarms, faults and pre-alarms
    EXPECT_TRUE(S().Gsm.QuantityIsEnabled(GsmQuantity::Fault));
    Options.SetGsmFlag(GsmFlag::Fault, false);
    EXPECT_FALSE(Config->GsmItems->GetFault(3));
    EXPECT_FALSE(S().Gsm.QuantityIsEnabled(GsmQuantity::Fault));
    EXPECT_TRUE(S().Gsm.QuantityIsEnabled(GsmQuantity::PreAlarm));
    Options.SetGsmQuantity(GsmQuantity::PreAlarm, 2);
    EXPECT_EQ(Config->GsmItems->GetQtyPreAlarm(3), 2);
    Options.SelectGsmItem(2);
    EXPECT_EQ(S().Gsm.Number, "");
    EXPECT_TRUE(S().Gsm.Flag(GsmFlag::Fault));
    EXPECT_TRUE(S().Gsm.QuantityIsEnabled(GsmQuantity::Fault));
    Options.SelectGsmItem(6); // no such item: the selection stays
    EXPECT_EQ(S().GsmItem, 2);
}

TEST_F(OptionsFixture, GsmNumberShowsWhatTheRecordKeeps)
{
    const int caret = Options.EditGsmNumber("0123456789 0123456789 0123", 26);
    EXPECT_EQ(Config->GsmItems->GetNumber(1), "01234567890123456789");
    EXPECT_EQ(S().Gsm.Number, "01234567890123456789");
    EXPECT_EQ(caret, 20);
}

TEST_F(OptionsFixture, ServiceDateIsKeptWithinTheStorableYears)
{
    Options.SetServiceDueEnabled(true, QDate(2070, 5, 17));
    EXPECT_EQ(S().ServiceDue, QDate(2063, 5, 17));
    EXPECT_EQ(G().GetServiceDueDate(), QDate(2063, 5, 17));
    Options.SetServiceDueDate(QDate(1999, 2, 28));
    EXPECT_EQ(G().GetServiceDueDate(), QDate(2000, 2, 28));
    Options.SetServiceDueEnabled(false, S().ServiceDue);
    EXPECT_EQ(G().GetServiceDueWord(), 0);
    EXPECT_FALSE(S().ServiceDueEnabled);
    Options.SetServiceDueDate(QDate(2030, 1, 1)); // the picker alone while disabled
    EXPECT_EQ(G().GetServiceDueWord(), 0);
}

TEST_F(OptionsFixture, RegionalAndVdSPresentation)
{
    G().SetControlKey3Mode(1);
    G().SetExtSystemDelay(0);
    Options.Load(false, false);
    EXPECT_EQ(S().Value(PanelOption::ExtSystemDelay), 10); // below its range: at its least
    EXPECT_FALSE(S().ControlKey3ModeVisible);
    EXPECT_EQ(S().Value(PanelOption::ControlKey3Mode), 0);
    EXPECT_EQ(G().GetControlKey3Mode(), 1);
    EXPECT_TRUE(S().LEDModesEnabled);
    Options.Load(true, true);
    EXPECT_TRUE(S().ControlKey3ModeVisible);
    EXPECT_EQ(S().Value(PanelOption::ControlKey3Mode), 1);
    EXPECT_TRUE(S().FireOutputActiveLEDVisible);
    EXPECT_FALSE(S().LEDModesEnabled);
}

TEST_F(OptionsFixture, EditsGoToTheBoundConfigurationOnly)
{
    auto next = std::make_unique<TPX10ConfigData>(false, false, true, false);
    next->GeneralPanelSetup->SetSiteName("NEXT");
    Options.EditTime(TimeField::DayModeStart, "23:00"); // arms the check for the old one
    Options.Bind(next.get());
    Config.reset(); // replaced: nothing may reach it any more
    EXPECT_FALSE(Options.DayModeCheckArmed());
    Options.Load(false, false);
    EXPECT_EQ(S().SiteName, "NEXT");
    Options.SetSiteName("HALL");
    Options.SelectGsmItem(2);
    Options.EditGsmNumber("999", 3);
    EXPECT_EQ(next->GeneralPanelSetup->GetSiteName(), "HALL");
    EXPECT_EQ(next->GsmItems->GetNumber(2), "999");
    // Unbound, every action is harmless and writes nothing.
    const int mains = next->GeneralPanelSetup->GetMainsDelay();
    Options.Bind(nullptr);
    Options.SetOption(PanelOption::MainsDelay, mains + 5);
    Options.ChoosePanelType(1);
    Options.ChooseRS232Protocol(2);
    Options.EditTime(TimeField::DayModeEnd, "01:00");
    Options.DayModeTimeExit();
    Options.SetServiceDueEnabled(true, QDate(2030, 1, 1));
    EXPECT_EQ(next->GeneralPanelSetup->GetMainsDelay(), mains);
    EXPECT_EQ(next->FileHeader->GetPanelType(), 3);
    EXPECT_EQ(next->GeneralPanelSetup->GetServiceDueWord(), 0);
}

TEST_F(OptionsFixture, SiteTextsAreStoredAsTheRecordKeepsThem)
{
    Options.SetSiteName("Caf\xe9 \x80 and a name longer than twenty");
    EXPECT_EQ(G().GetSiteName(), "Caf\xe9 \x80 and a name lo");
    EXPECT_EQ(S().SiteName, G().GetSiteName());
    Options.SetServicePhoneNo("0800 123");
    EXPECT_EQ(S().ServicePhoneNo, "0800 123");
}
