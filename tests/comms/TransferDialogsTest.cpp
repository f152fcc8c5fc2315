// The detection and transfer dialogs as a user meets them: the pictures, the
// passcode typed into the edit, and a transfer both ways against the simulated panel.
#include "CommsTestUtil.h"
#include "Initiatepanelcommsform.h"
#include "JpegImage.h"
#include "PX10ConfigData.h"
#include "Panelcommstransferform.h"
#include "Quorvelprotocolcomponent.h"
#include "support/FakePrompts.h"
#include "support/SimulatedPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// No pauses; a wait for a reply ends as soon as the panel stays silent.
comms::CommsTiming Fast()
{
    comms::CommsTiming t;
    t.DetectionTimeoutMs = GenerousTimeoutMs;
    t.ItemTimeoutMs = GenerousTimeoutMs;
    t.Sleep = [](unsigned) {};
    return t;
}

TEST(JpegImage, PicturesDecodeAndDamageGivesNull)
{
    TfrmInitiatePanelComms detection; // registers the pictures
    const QImage panel = platform::LoadJpeg(QStringLiteral(":/comms/panel.jpg"));
    const QImage computer = platform::LoadJpeg(QStringLiteral(":/comms/computer.jpg"));
    EXPECT_EQ(panel.size(), QSize(96, 120));
    EXPECT_EQ(computer.size(), QSize(120, 120));
    // The screen of the computer is blue.
    const QColor screen = computer.pixelColor(60, 40);
    EXPECT_GT(screen.blue(), 120);
    EXPECT_LT(screen.red(), 80);

    QFile file(QStringLiteral(":/comms/panel.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // A truncated picture decodes to something or nothing, never a crash.
    (void)platform::DecodeJpeg(bytes.left(bytes.size() / 2));
    EXPECT_TRUE(platform::DecodeJpeg(bytes.left(20)).isNull());
    EXPECT_TRUE(platform::DecodeJpeg(QByteArray("not a picture")).isNull());
    EXPECT_TRUE(platform::DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(platform::LoadJpeg(QStringLiteral("/nonexistent.jpg")).isNull());
}

void Key(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
}

TEST(PasscodeEdit, EditingKeysWorkOnlyPrintableNonDigitsAreDropped)
{
    TfrmInitiatePanelComms detection;
    detection.show();
    QLineEdit* edit = detection.edtPasscode;
    edit->show();
    edit->setFocus();
    Key(edit, Qt::Key_1, "1");
    Key(edit, Qt::Key_2, "2");
    Key(edit, Qt::Key_3, "3");
    Key(edit, Qt::Key_A, "a");
    Key(edit, Qt::Key_Space, " ");
    Key(edit, Qt::Key_unknown, QString(QChar(0x0663))); // a digit of another script
    EXPECT_EQ(edit->text(), "123");
    Key(edit, Qt::Key_Left);
    Key(edit, Qt::Key_Left);
    EXPECT_EQ(edit->cursorPosition(), 1);
    Key(edit, Qt::Key_Delete, QString(QChar(0x7F)));
    EXPECT_EQ(edit->text(), "13");
    Key(edit, Qt::Key_Backspace, "\b");
    EXPECT_EQ(edit->text(), "3");
    Key(edit, Qt::Key_Home);
    Key(edit, Qt::Key_9, "9");
    EXPECT_EQ(edit->text(), "93");
    EXPECT_EQ(detection.Logic().State().Passcode, "93");
    // The clipboard keys work; a paste keeps only its digits.
    QApplication::clipboard()->setText("4x5");
    Key(edit, Qt::Key_A, QString(QChar(0x01)), Qt::ControlModifier);
    Key(edit, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "45");
    EXPECT_EQ(detection.Logic().State().Passcode, "45");
    // Tab moves on.
    Key(edit, Qt::Key_Tab, "\t");
    EXPECT_NE(detection.focusWidget(), edit);
    EXPECT_EQ(edit->accessibleName(), "Passcode");
}

TEST(PasscodeEdit, EveryNamedComponentCarriesItsName)
{
    TfrmInitiatePanelComms detection;
    for (const char* name : { "imgPX10", "imgTR70", "imgMarvex", "ImageQTB", "lblRetries",
             "lblPanelNotDetected", "lblPX10NotFound", "lblSearchingForPanel", "lblPasscode",
             "lblEnterPasscode", "lblPasscodeProtected", "lblInvalidPasscode", "lblSoftwareID", "btnRetry",
             "btnAbort", "btnStartTransfer", "edtPasscode", "Timer1" })
        EXPECT_NE(detection.findChild<QObject*>(name), nullptr) << name;
}

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel.EnableConfigPanel();
        panel.SetIdentification(SimulatedPanel::MakeIdentification("301", 703));
        panel.SetPasscode(4321);
        detection.Logic().SetTiming(Fast());
        transfer.Logic().SetTiming(Fast());
    }

    SimulatedPanel panel;
    Com1Device com1 { panel.SlavePath() };
    FakePrompts prompts;
    TQuorvelProtocol proto;
    ExpireOnSilence expiry { panel, proto };
    TfrmInitiatePanelComms detection;
    TfrmConfigTransfer transfer { detection };
};

TEST_F(DialogsTest, SendThroughTheWidgetsThenReceive)
{
    TPX10ConfigData sent(false, false, false, false);
    sent.ZoneTexts->SetZoneText(3, "Boiler room");
    sent.Sensors->SetDescription(42, "Loft");
    // The user types the passcode once the edit is offered, and presses Start Transfer.
    bool typed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!typed && detection.isVisible() && detection.edtPasscode->isVisible()) {
            typed = true;
            EXPECT_TRUE(detection.btnStartTransfer->isVisible());
            EXPECT_FALSE(detection.btnRetry->isVisible());
            EXPECT_EQ(detection.lblSoftwareID->text(), QStringLiteral("412-301-001 7.03"));
            detection.edtPasscode->setText(QStringLiteral("4321"));
            emit detection.edtPasscode->textEdited(detection.edtPasscode->text());
            detection.btnStartTransfer->click();
        }
    });
    poll.start(5);
    ASSERT_TRUE(transfer.SendConfiguration(&proto, &sent));
    EXPECT_TRUE(typed);
    EXPECT_EQ(transfer.windowTitle(), QStringLiteral("Send to Panel"));
    EXPECT_EQ(transfer.pbProgress->value(), 301);
    EXPECT_EQ(transfer.pbProgress->maximum(), 301);
    EXPECT_FALSE(proto.IsOpen());
    EXPECT_FALSE(detection.imgPX10->pixmap().isNull());
    EXPECT_FALSE(transfer.imgComputer->pixmap().isNull());

    TPX10ConfigData received(false, false, false, false);
    ASSERT_TRUE(transfer.ReceiveConfiguration(&proto, &received));
    EXPECT_EQ(transfer.windowTitle(), QStringLiteral("Receive from Panel"));
    EXPECT_EQ(received.ZoneTexts->GetZoneText(3), "Boiler room");
    EXPECT_EQ(received.Sensors->GetDescription(42), "Loft");
}

TEST_F(DialogsTest, AbortButtonOfTheDetectionDialogEndsTheTransfer)
{
    panel.SetFaults({ .NoReply = true });
    // The user gives up once the dialog shows that it is retrying.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (detection.isVisible() && !detection.lblRetries->text().isEmpty()) {
            poll.stop();
            // Grown for its texts where its showing placed it: in the middle.
            const QPoint middle = detection.screen()->availableGeometry().center();
            EXPECT_LE((detection.geometry().center() - middle).manhattanLength(), 30);
            detection.btnAbort->click();
        }
    });
    poll.start(5);
    TPX10ConfigData config(false, false, false, false);
    EXPECT_FALSE(transfer.ReceiveConfiguration(&proto, &config));
    EXPECT_FALSE(proto.IsOpen());
    EXPECT_FALSE(detection.lblRetries->text().isEmpty());
}

} // namespace
