// The main window's panel tools against the simulated panel, through the
// real detection, transfer and text download windows.
#include "About.h"
#include "Initiatepanelcommsform.h"
#include "Main.h"
#include "PX10ConfigData.h"
#include "PX10ConfigZoneText.h"
#include "Panelcommstransferform.h"
#include "Quorvelprotocolcomponent.h"
#include "Textdownloadform.h"
#include "support/FakePrompts.h"
#include "support/PanelRecords.h"
#include "support/SimulatedPanel.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct PanelToolsFixture : ::testing::Test {
    QTemporaryDir Dir;
    FakePrompts Prompts;
    PanelRecords Records; // read by the panel's thread: destroyed after the panel
    SimulatedPanel Panel;
    std::unique_ptr<TfrmAbout> About;
    std::unique_ptr<TfrmMain> Main;
    QTimer Watch; // answers the passcode question when the dialog asks it
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
        ::setenv("PX10_COM1", Panel.SlavePath().c_str(), 1);
        Panel.EnableConfigPanel();
        Panel.SetIdentification(SimulatedPanel::MakeIdentification("301", 703));
        Panel.SetPasscode(1234);
        Records.Install(Panel);
        About = std::make_unique<TfrmAbout>();
        Main = std::make_unique<TfrmMain>(About.get(), QStringList {});
        Main->show();
        frmInitiatePanelComms = new TfrmInitiatePanelComms(Main.get());
        frmConfigTransfer = new TfrmConfigTransfer(Main.get());
        frmTextDownload = new TfrmTextDownload(ConfigTransferDownloads(), Main.get());
        QObject::connect(&Watch, &QTimer::timeout, [] {
            QLineEdit* edit = frmInitiatePanelComms->edtPasscode;
            if (frmInitiatePanelComms->isVisible() && edit->isVisible() && edit->text().isEmpty()) {
                edit->setText("1234");
                frmInitiatePanelComms->Logic().SetPasscodeText("1234");
                frmInitiatePanelComms->Logic().StartTransferClicked();
            }
        });
        Watch.start(20);
    }
    void TearDown() override
    {
        Watch.stop();
        Main.reset(); // its children, the panel windows, go with it
        frmInitiatePanelComms = nullptr;
        frmConfigTransfer = nullptr;
        frmTextDownload = nullptr;
        ConfigData = nullptr;
        ::unsetenv("PX10_COM1");
    }
};

} // namespace

TEST_F(PanelToolsFixture, SendThenReceiveMakesTheReceivedConfigurationCurrent)
{
    ConfigData->ZoneTexts->SetZoneText(3, "Boiler house");
    Main->ToolsSendToPanel->trigger();
    EXPECT_FALSE(Panel.StoredBlock(0x4C, 3).empty());
    EXPECT_FALSE(Main->QuorvelProtocol1()->IsOpen());

    Prompts.Answer(platform::mrNo); // "Save changes ?": no
    TPX10ConfigData* before = ConfigData;
    Main->ToolsReceiveFromPanel->trigger();
    EXPECT_NE(ConfigData, before);
    EXPECT_EQ(ConfigData->ZoneTexts->GetZoneText(3), "Boiler house");
    EXPECT_EQ(Main->GetDisplayFileName(), "NEW FILE");
}

TEST_F(PanelToolsFixture, ReceiveCancelledAtTheSaveQuestionTouchesNothing)
{
    ConfigData->ZoneTexts->SetZoneText(1, "Changed");
    TPX10ConfigData* before = ConfigData;
    Prompts.Answer(platform::mrCancel);
    Main->ToolsReceiveFromPanel->trigger();
    EXPECT_EQ(ConfigData, before);
    EXPECT_EQ(Panel.RequestCount(), 0u);
}

TEST_F(PanelToolsFixture, EventLogAndDeviceDataShowTheirLines)
{
    Records.SetEvents({ PanelRecords::MakeEvent(0), PanelRecords::MakeEvent(1) });
    // The text window opens after the download's own windows: take its text
    // and close it once it is up.
    QString text;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (frmTextDownload->isVisible()) {
            text = frmTextDownload->mmoDownloadedText->toPlainText();
            frmTextDownload->close();
        }
    });
    closer.start(10);
    Main->ToolsFetchEventLog->trigger();
    const QStringList lines = text.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
    EXPECT_EQ(lines[1], "1,\"01/01/2024 00:00:00\",\"Sensor 1\",\"Zone 1\",\"Room 0\",\"FIRE ALARM\"");
    EXPECT_EQ(frmTextDownload->windowTitle(), "Panel Event Log");

    Main->ToolsFetchDeviceData->trigger();
    EXPECT_EQ(text.split('\n').size(), 199);
    EXPECT_EQ(frmTextDownload->windowTitle(), "Device Data");
    EXPECT_FALSE(Main->QuorvelProtocol1()->IsOpen());
}
