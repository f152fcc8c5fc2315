// The text download window as a user meets it: what closes it, and the names
// screen readers and the translators find its controls by.
#include "Spincontrol.h"
#include "Textdownloadform.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class OneLineSource : public comms::TextDownloadSource {
public:
    bool DownloadEventLog(TQuorvelProtocol*, comms::TextLines* lines) override
    {
        lines->push_back("Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
        return true;
    }
    bool DownloadDeviceData(TQuorvelProtocol*, comms::TextLines* lines, int) override
    {
        lines->push_back("Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location");
        return true;
    }
};

void Escape(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

TEST(TextDownloadWindow, EscapeKeepsTheDownloadOnlyExitAndTheCloseBoxClose)
{
    OneLineSource source;
    TfrmTextDownload form(source);
    bool openAfterEscape = false;
    QTimer::singleShot(0, [&] {
        Escape(form.mmoDownloadedText);
        Escape(&form);
        openAfterEscape = form.isVisible();
        form.Exit1->trigger();
    });
    form.ShowPanelEventLog(nullptr);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.mmoDownloadedText->accessibleName(), "Panel Event Log");

    QTimer::singleShot(0, [&] {
        Escape(form.mmoDownloadedText);
        openAfterEscape = form.isVisible();
        form.close(); // the close box
    });
    form.ShowDeviceData(nullptr);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_FALSE(form.isVisible());
}

TEST(TextDownloadWindow, EveryNamedComponentCarriesItsName)
{
    OneLineSource source;
    TfrmTextDownload form(source);
    for (const char* name : { "mmoDownloadedText", "gbxDeviceLogger", "lblIntervalText", "lblLoggingInterval",
             "trbLoggingInterval", "spnDeviceNo", "rbnSensor", "rbnModule", "btnStartStop", "File1",
             "SaveAs1", "Exit1" })
        EXPECT_NE(form.findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(form.Logic().Timer().objectName(), "Timer1");
    // Controls without text of their own are named by the text beside them.
    EXPECT_EQ(form.trbLoggingInterval->accessibleName(), "Logging Interval");
    EXPECT_EQ(form.spnDeviceNo->accessibleName(), "Sensor");
    form.rbnModule->setChecked(true);
    EXPECT_EQ(form.spnDeviceNo->accessibleName(), "Module");
}

} // namespace
