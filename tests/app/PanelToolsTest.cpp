// The main window's panel tools against the simulated panel, through the
// real detection, transfer and text download windows.
#include "About.h"
#include "AddDevicesForm.h"
#include "SensorEditFrame.h"
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
#include <QComboBox>
#include <QDir>
#include <QPushButton>
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
        Main = std::make_unique<TfrmMain>(About.get(), std::vector<std::string> {});
        Main->show();
        QObject::connect(&Watch, &QTimer::timeout, [this] {
            TfrmInitiatePanelComms& detection = Main->Windows().PanelDetection();
            QLineEdit* edit = detection.edtPasscode;
            if (detection.isVisible() && edit->isVisible() && edit->text().isEmpty()) {
                edit->setText("1234");
                detection.Logic().SetPasscodeText("1234");
                detection.Logic().StartTransferClicked();
            }
        });
        Watch.start(20);
    }
    // Runs a fetch and gives the text its window showed. The window opens
    // after the download's own windows: its text is taken and the window
    // closed once it is up.
    QString Fetch(QAction* action)
    {
        QString text = "not shown";
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            TfrmTextDownload& download = Main->Windows().TextDownload();
            if (download.isVisible()) {
                text = download.mmoDownloadedText->toPlainText();
                download.close();
            }
        });
        closer.start(10);
        action->trigger();
        return text;
    }
    void TearDown() override
    {
        Watch.stop();
        Main.reset(); // its children, the panel windows, go with it
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

    // Changed after the send: the panel does not hold it. (A new configuration
    // may take the old one's address, so the content tells them apart.)
    ConfigData->ZoneTexts->SetZoneText(4, "Not sent");
    Prompts.Answer(platform::mrNo); // "Save changes ?": no
    Main->ToolsReceiveFromPanel->trigger();
    EXPECT_EQ(ConfigData->ZoneTexts->GetZoneText(4), "");
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
    const QString text = Fetch(Main->ToolsFetchEventLog);
    const QStringList lines = text.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
    EXPECT_EQ(lines[1], "1,\"01/01/2024 00:00:00\",\"Sensor 1\",\"Zone 1\",\"Room 0\",\"FIRE ALARM\"");
    EXPECT_EQ(Main->Windows().TextDownload().windowTitle(), "Panel Event Log");

    EXPECT_EQ(Fetch(Main->ToolsFetchDeviceData).split('\n').size(), 199);
    EXPECT_EQ(Main->Windows().TextDownload().windowTitle(), "Device Data");
    EXPECT_FALSE(Main->QuorvelProtocol1()->IsOpen());
}

// A fetch gives detection no configuration of its own: the panel's firmware
// is checked against the devices of the configuration shown.
TEST_F(PanelToolsFixture, AFetchIsRefusedWhenTheConfigurationShownNeedsNewerFirmware)
{
    Panel.SetIdentification(SimulatedPanel::MakeIdentification("301", 702));
    ConfigData->Sensors->SetType(1, 2);
    ConfigData->Sensors->SetTorqType(1, 5);
    for (int a = 1; a <= 11; ++a)
        ConfigData->Modules->SetType(a, 1);
    Prompts.Answer(platform::mrOk);
    const QString text = Fetch(Main->ToolsFetchEventLog);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Type, platform::MsgDlgType::mtWarning);
    EXPECT_EQ(Prompts.Log[0].Text.rfind("Compatibility warning.", 0), 0u);
    EXPECT_EQ(text, ""); // the window opens, with no lines
}

namespace {

// The 60 bytes of every sensor and module record.
std::vector<int> DeviceBytes(const TPX10ConfigData& c)
{
    std::vector<int> bytes;
    for (const auto* part : { c.Sensors.get(), c.Modules.get() })
        for (int a = 1; a <= TPX10ConfigDeviceConfiguration::AddressCount; ++a)
            for (int i = 0; i < TPX10ConfigRecord::DataSize; ++i)
                bytes.push_back(part->GetRecord(a)->GetByte(i));
    return bytes;
}

void Pick(QComboBox* box, const char* text)
{
    const int i = box->findText(text);
    ASSERT_GE(i, 0) << text;
    box->setCurrentIndex(i);
    emit box->activated(i);
}

} // namespace

// Devices added through Add/Change, edited in the grids and saved come back
// the same from the file and from the panel.
TEST_F(PanelToolsFixture, AddedDevicesRoundTripThroughFileAndPanel)
{
    ASSERT_TRUE(Main->ToolsAddChangeSensors->isEnabled());
    TfrmAddDevices* dialog = &Main->Windows().AddDevices();
    auto fill = [dialog](const char* protocol, const char* type, const char* function, const char* first,
                    const char* last) {
        QTimer::singleShot(0, dialog, [=] {
            Pick(dialog->cboProtocol, protocol);
            Pick(dialog->cboDeviceTypes, type);
            if (function)
                Pick(dialog->cboFunction, function);
            dialog->edtStartAddress->setText(first);
            dialog->edtEndAddress->setText(last);
            dialog->btnOK->click();
        });
    };
    fill("BRIM", "OPX", nullptr, "3", "6");
    Main->ToolsAddChangeSensors->trigger();
    fill("TORQ", "K721", "MON", "10", "15");
    Main->ToolsAddChangeModules->trigger();
    EXPECT_FALSE(dialog->isVisible());
    for (int a = 3; a <= 6; ++a)
        EXPECT_EQ(ConfigData->Sensors->GetType(a), 7) << a;
    EXPECT_EQ(ConfigData->Modules->GetChannel(15), 3);
    EXPECT_NE(Main->FindDeviceNode(Main->ModulesNode(), 14), nullptr);
    EXPECT_NE(Main->FindDeviceNode(Main->SensorsNode(), 6), nullptr);
    auto* sensors = dynamic_cast<TfrmSensorEdit*>(Main->SensorFrame());
    ASSERT_TRUE(sensors);
    sensors->SensorDataSet()->WriteField(sfDescription, 4, QString::fromUtf8("Küche €"));
    sensors->SensorDataSet()->WriteField(sfAlarm, 4, "L6");
    EXPECT_EQ(ConfigData->Sensors->GetFireSensitivity(4), 120);

    const std::vector<int> made = DeviceBytes(*ConfigData);
    const std::string file = QDir(Dir.path()).filePath("devices.UDF").toStdString();
    ConfigData->SaveToFile(file);
    TPX10ConfigData reopened(false, false, true, false);
    reopened.LoadFromFile(file);
    EXPECT_EQ(DeviceBytes(reopened), made);

    Main->ToolsSendToPanel->trigger();
    Prompts.Answer(platform::mrNo); // "Save changes ?"
    Main->ToolsReceiveFromPanel->trigger();
    EXPECT_EQ(DeviceBytes(*ConfigData), made);
    EXPECT_EQ(ConfigData->Sensors->GetDescription(4),
        "K\xFC"
        "che \x80");
}
