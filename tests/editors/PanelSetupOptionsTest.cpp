#include "PX10ConfigData.h"
#include "Panelsetupoptions.h"
#include "Spincontrol.h"
#include "support/FakePrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct FrameFixture : ::testing::Test {
    std::unique_ptr<TPX10ConfigData> Config;
    TfrmPanelSetupOptions Frame;
    FakePrompts Prompts;
    void SetUp() override
    {
        Config = std::make_unique<TPX10ConfigData>(false, false, true, false);
        ConfigData = Config.get();
        Frame.LoadFromConfig();
    }
    void TearDown() override { ConfigData = nullptr; }
    void Choose(QComboBox* c, const QString& text)
    {
        int i = c->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    QStringList ItemsOf(QComboBox* c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    TPX10ConfigGeneralPanelSetup& G() { return *Config->GeneralPanelSetup; }
};

} // namespace

TEST(PanelTypeLists, StoredTypesMapToTheOfferedRows)
{
    EXPECT_EQ(TfrmPanelSetupOptions::PanelTypeSelectionRow(3), 3);
    EXPECT_EQ(TfrmPanelSetupOptions::PanelTypeSelectionRow(1), 1);
    EXPECT_EQ(TfrmPanelSetupOptions::PanelTypeSelectionRow(4), 0); // Marvex is not offered
    EXPECT_EQ(TfrmPanelSetupOptions::PanelTypeSelectionRow(200), 0);
    EXPECT_EQ(TfrmPanelSetupOptions::PanelTypeSelectionRow(-1), 0);
    EXPECT_EQ(TfrmPanelSetupOptions::FindPanelTypeIndex("xx412-303-123"), 1);
}

TEST(PanelTypeLists, RS485ListDependsOnPanelType)
{
    EXPECT_EQ(TfrmPanelSetupOptions::RS485ListFor(1).size(), 3u);
    EXPECT_EQ(TfrmPanelSetupOptions::RS485ListFor(0).size(), 3u);
    EXPECT_EQ(TfrmPanelSetupOptions::RS485ListFor(9).size(), 3u);
    EXPECT_EQ(TfrmPanelSetupOptions::RS485ListFor(2).size(), 5u);
    EXPECT_EQ(TfrmPanelSetupOptions::RS485SelectionRow(1, 3), 1); // BFT/LLT
    EXPECT_EQ(TfrmPanelSetupOptions::RS485SelectionRow(1, 2), 0); // not offered
    EXPECT_EQ(TfrmPanelSetupOptions::RS485SelectionRow(3, 99), 0);
    EXPECT_EQ(TfrmPanelSetupOptions::RS485ProtocolOfText("THIRD PARTY"), 4);
}

TEST_F(FrameFixture, MarvexShowsFirstRowWithoutRewritingTheType)
{
    Config->FileHeader->SetPanelType(4);
    Config->GeneralPanelSetup->SetRS485Protocol(77);
    Config->GeneralPanelSetup->SetRS232Options(9);
    Config->GeneralPanelSetup->SetExtSystemDelay(0);
    Config->FileHeader->GetRecord()->ClearModified();
    Config->GeneralPanelSetup->ClearModified();
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.cboPanelTypeSelection->currentText(), "412-304-xxx : PX21/22");
    EXPECT_EQ(Config->FileHeader->GetPanelType(), 4);
    EXPECT_FALSE(Frame.rdgEventPrinting->isEnabled());
    EXPECT_FALSE(Frame.rdgPrintFormat->isEnabled());
    EXPECT_EQ(Frame.cboRS485Protocol->currentIndex(), 0);
    EXPECT_EQ(Frame.spnExtSystemDelay->GetValue(), 10);
    EXPECT_FALSE(Config->IsModified()); // showing never writes back
}

TEST_F(FrameFixture, ChoosingPX11StoresTypeAndOffersItsRS485List)
{
    Choose(Frame.cboPanelTypeSelection, "412-303-xxx : PX11/12");
    EXPECT_EQ(Config->FileHeader->GetPanelType(), 1);
    EXPECT_EQ(ItemsOf(Frame.cboRS485Protocol), QStringList({ "VELTRANE", "BFT/LLT", "THIRD PARTY" }));
    Choose(Frame.cboRS485Protocol, "THIRD PARTY");
    EXPECT_EQ(G().GetRS485Protocol(), 4);
    EXPECT_TRUE(Frame.rdgRS485ThirdPartyDatalinkMonitoring->isEnabled());
    EXPECT_TRUE(Frame.spnRS485ThirdPartySuspendCommsLimit->isEnabled());
    EXPECT_FALSE(Frame.spnRS485QtyRepeaters->isEnabled());
    Choose(Frame.cboRS485Protocol, "BFT/LLT");
    EXPECT_EQ(G().GetRS485Protocol(), 3);
    EXPECT_TRUE(Frame.spnRS485QtyRepeaters->isEnabled());
    EXPECT_FALSE(Frame.rdgRS485ThirdPartyDatalinkMonitoring->isEnabled());
}

TEST_F(FrameFixture, GsmModemSwapsTheOptionsForTheGsmItems)
{
    G().SetRS232Options(1);
    Frame.LoadFromConfig();
    Frame.show();
    Choose(Frame.cboRS232Protocol, "GSM MODEM");
    EXPECT_EQ(G().GetRS232Protocol(), 2);
    EXPECT_EQ(G().GetRS232Options(), 0);
    EXPECT_TRUE(Frame.pnlRS232Options->isHidden());
    EXPECT_FALSE(Frame.gbxGSMItems->isHidden());
    Choose(Frame.cboRS232Protocol, "THIRD PARTY");
    EXPECT_EQ(ItemsOf(Frame.cbxRS232Options), QStringList({ "FULL DUPLEX", "HALF DUPLEX" }));
    EXPECT_FALSE(Frame.pnlRS232Options->isHidden());
}

TEST_F(FrameFixture, PrinterOptionsListFollowsPanelType)
{
    Config->FileHeader->SetPanelType(3);
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.cbxRS232Options->count(), 2);
    Config->FileHeader->SetPanelType(1);
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.cbxRS232Options->count(), 3);
}

TEST_F(FrameFixture, DayModeStartLaterThanEndPullsTheEndAlong)
{
    G().SetDayModeEndTime(6 * 60);
    Frame.LoadFromConfig();
    Frame.medDayModeStartTime->setText("22:00");
    emit Frame.medDayModeStartTime->textEdited("22:00");
    EXPECT_EQ(G().GetDayModeStartTime(), 1320);
    Frame.tmrDayModeCheckTimer(); // 100 ms
    EXPECT_EQ(G().GetDayModeEndTime(), 360);
    Frame.tmrDayModeCheckTimer(); // 200 ms
    EXPECT_EQ(Frame.medDayModeEndTime->text(), "22:00");
    EXPECT_EQ(G().GetDayModeEndTime(), 1320);
    EXPECT_EQ(Frame.gbxDayModeDelays->title(), "Day Mode Delays - INACTIVE");
    for (int i = 0; i < 4; ++i)
        Frame.tmrDayModeCheckTimer(); // the end's own check finds nothing more to do
    EXPECT_FALSE(Frame.tmrDayModeCheck->isActive());
    EXPECT_EQ(G().GetDayModeStartTime(), 1320);
}

TEST_F(FrameFixture, SensitivityEndBeforeStartPullsTheStartBack)
{
    G().SetDayModeSensitivityStartTime(600);
    G().SetDayModeSensitivityEndTime(700);
    Frame.LoadFromConfig();
    Frame.medDayModeSensitivityEndTime->setText("08:00");
    emit Frame.medDayModeSensitivityEndTime->textEdited("08:00");
    for (int i = 0; i < 4; ++i)
        Frame.tmrDayModeCheckTimer();
    EXPECT_EQ(G().GetDayModeSensitivityStartTime(), 480);
    EXPECT_EQ(Frame.medDayModeSensitivityStartTime->text(), "08:00");
}

TEST_F(FrameFixture, TorqCannotBeDisabledWithTorqDevices)
{
    Config->Modules->SetType(5, 1);
    Config->Modules->SetTorqType(5, 130);
    Prompts.Answer(mrOk);
    Frame.rdgTorqSwitch->SetItemIndex(0);
    Frame.rdgTorqSwitchClick();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text,
        "Sorry, TORQ protocol can't be disabled!\r\n\r\nRemove/Replace TORQ protocol "
        "devices present in the current configuration.");
    EXPECT_EQ(Frame.rdgTorqSwitch->ItemIndex(), 1);
    EXPECT_TRUE(G().GetTorqSwitch());
    Config->Modules->SetType(5, 0);
    Config->Modules->SetTorqType(5, 0);
    Frame.rdgTorqSwitch->SetItemIndex(0);
    Frame.rdgTorqSwitchClick();
    EXPECT_FALSE(G().GetTorqSwitch());
}

TEST_F(FrameFixture, GsmNumberLosesItsBlanks)
{
    Frame.pclGSMItems->setCurrentIndex(2);
    Frame.edtGsmNumber->setText("0171 234 56");
    Frame.edtGsmNumber->setCursorPosition(8);
    Frame.edtGsmNumberChange();
    EXPECT_EQ(Frame.edtGsmNumber->text(), "017123456");
    EXPECT_EQ(Frame.edtGsmNumber->cursorPosition(), 7);
    EXPECT_EQ(Config->GsmItems->GetNumber(3), "017123456");
    EXPECT_EQ(Config->GsmItems->GetNumber(1), "");
}

TEST_F(FrameFixture, GsmQuantityListsFollowTheirBoxes)
{
    // new items report alarms, faults and pre-alarms
    EXPECT_TRUE(Frame.cbxGsmAlarm->isChecked());
    EXPECT_TRUE(Frame.cboGsmQtyAlarm->isEnabled());
    Frame.cbxGsmFault->setChecked(false);
    emit Frame.cbxGsmFault->clicked(false);
    EXPECT_FALSE(Config->GsmItems->GetFault(1));
    EXPECT_FALSE(Frame.cboGsmQtyFault->isEnabled());
    EXPECT_TRUE(Frame.cboGsmQtyPreAlarm->isEnabled());
    Frame.pclGSMItems->setCurrentIndex(1);
    Frame.pclGSMItemsChange();
    EXPECT_TRUE(Frame.cbxGsmFault->isChecked());
    EXPECT_TRUE(Frame.cboGsmQtyFault->isEnabled());
    EXPECT_TRUE(Config->GsmItems->GetFault(2));
}

TEST_F(FrameFixture, ServiceDateIsKeptWithinTheStorableYears)
{
    Frame.cbxServiceDueEnabled->setChecked(true);
    Frame.cbxServiceDueEnabledClick();
    Frame.dtpServiceDue->setDate(QDate(2070, 5, 17));
    EXPECT_EQ(Frame.dtpServiceDue->date(), QDate(2063, 5, 17));
    EXPECT_EQ(G().GetServiceDueDate(), QDate(2063, 5, 17));
    Frame.cbxServiceDueEnabled->setChecked(false);
    Frame.cbxServiceDueEnabledClick();
    EXPECT_EQ(G().GetServiceDueWord(), 0);
    EXPECT_FALSE(Frame.dtpServiceDue->isEnabled());
}

TEST_F(FrameFixture, SpinEditsWriteButLoadingDoesNot)
{
    Frame.spnPrimaryDelay->SetValue(45);
    EXPECT_EQ(G().GetPrimaryDelay(), 45);
    G().SetPrimaryDelay(900); // outside the control's range
    G().ClearModified();
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.spnPrimaryDelay->GetValue(), 300);
    EXPECT_EQ(G().GetPrimaryDelay(), 900);
}

TEST_F(FrameFixture, RegionalAndVdSPresentation)
{
    bool regional = false, vds = false;
    Frame.IsRegionalOptionEnabled2 = [&] { return regional; };
    Frame.IsVdSCompatibility = [&] { return vds; };
    G().SetControlKey3Mode(1);
    Frame.LoadFromConfig();
    EXPECT_TRUE(Frame.rdgControlKey3Mode->isHidden());
    EXPECT_EQ(Frame.rdgControlKey3Mode->ItemIndex(), 0);
    EXPECT_EQ(G().GetControlKey3Mode(), 1);
    regional = vds = true;
    Frame.LoadFromConfig();
    EXPECT_FALSE(Frame.rdgControlKey3Mode->isHidden());
    EXPECT_EQ(Frame.rdgControlKey3Mode->ItemIndex(), 1);
    EXPECT_FALSE(Frame.rdgFireOutputActiveLEDOption->isHidden());
    EXPECT_FALSE(Frame.rdgLED2CMode->isEnabled());
}

// The controls are made on first use; until then a refresh only marks the
// frame, and the first showing fills it from the configuration current then.
TEST(PanelSetupOptionsLazy, FirstShowingCreatesAndFillsFromTheCurrentConfiguration)
{
    TPX10ConfigData first(false, false, true, false), second(false, false, true, false);
    first.GeneralPanelSetup->SetSiteName("FIRST");
    second.GeneralPanelSetup->SetSiteName("SECOND");
    second.GeneralPanelSetup->SetMainsDelay(42);
    ConfigData = &first;
    TfrmPanelSetupOptions frame;
    EXPECT_FALSE(frame.ControlsCreated());
    EXPECT_EQ(frame.txtSiteName, nullptr);
    frame.RefreshFromConfig();
    EXPECT_FALSE(frame.ControlsCreated());
    ConfigData = &second; // replaced before the frame was ever shown
    frame.RefreshFromConfig();
    frame.show();
    ASSERT_TRUE(frame.ControlsCreated());
    EXPECT_EQ(frame.txtSiteName->text(), "SECOND");
    EXPECT_EQ(frame.spnMainsDelay->GetValue(), 42);
    EXPECT_TRUE(frame.cboPanelTypeSelection->isVisible()); // shown with the frame, not later
    const int children = int(frame.findChildren<QWidget*>().size());
    // Once made, a refresh fills at once and makes nothing new.
    ConfigData = &first;
    frame.RefreshFromConfig();
    EXPECT_EQ(frame.txtSiteName->text(), "FIRST");
    frame.hide();
    frame.show();
    EXPECT_EQ(int(frame.findChildren<QWidget*>().size()), children);
    // An edit after the lazy creation still writes through.
    frame.txtSiteName->setText("EDITED");
    emit frame.txtSiteName->textEdited("EDITED");
    EXPECT_EQ(first.GeneralPanelSetup->GetSiteName(), "EDITED");
    ConfigData = nullptr;
}

TEST(PanelSetupOptionsLazy, ShowingWithoutARefreshLeavesTheControlsAsMade)
{
    TPX10ConfigData config(false, false, true, false);
    config.GeneralPanelSetup->SetSiteName("STORED");
    ConfigData = &config;
    TfrmPanelSetupOptions frame;
    frame.show(); // nobody asked for a load: nothing is read, nothing written
    ASSERT_TRUE(frame.ControlsCreated());
    EXPECT_EQ(frame.txtSiteName->text(), "");
    EXPECT_EQ(config.GeneralPanelSetup->GetSiteName(), "STORED");
    ConfigData = nullptr;
}
