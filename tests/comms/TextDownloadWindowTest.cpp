// The text download window as a user meets it: what closes it, and the names
// screen readers and the translators find its controls by.
#include "Spincontrol.h"
#include "Textdownloadform.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Each download (a logger tick too) gives its header and 299 lines to scroll through.
class LongSource : public comms::TextDownloadSource {
public:
    bool DownloadEventLog(TQuorvelProtocol*, comms::TextLines* lines) override
    {
        lines->push_back("Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
        lines->insert(lines->end(), 299, "1,\"01/01/2024 00:00:00\",\"Sensor 1\"");
        return true;
    }
    bool DownloadDeviceData(TQuorvelProtocol*, comms::TextLines* lines, int) override
    {
        lines->push_back("Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location");
        lines->insert(lines->end(), 299, "S1,1,2,3,4,5,6%,1,OPT,\"\"");
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
    LongSource source;
    TfrmTextDownload form(source);
    bool openAfterEscape = false;
    QTimer::singleShot(0, [&] {
        Escape(form.mmoDownloadedText);
        Escape(&form);
        openAfterEscape = form.isVisible();
        form.mmoDownloadedText->verticalScrollBar()->setValue(250);
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
    EXPECT_EQ(form.mmoDownloadedText->verticalScrollBar()->value(), 0); // a new download opens at its header
}

// A logger tick's line comes below without moving what the user reads, also
// when the interval changes; the view follows new lines only from the end.
TEST(TextDownloadWindow, LoggerLinesComeBelowWithoutMovingWhatTheUserReads)
{
    LongSource source;
    TfrmTextDownload form(source);
    form.show();
    QScrollBar* bar = form.mmoDownloadedText->verticalScrollBar();
    form.Logic().StartStopClicked();
    form.Logic().TimerTick();
    bar->setValue(5);
    form.Logic().TimerTick();
    form.trbLoggingInterval->setValue(30);
    EXPECT_EQ(bar->value(), 5);
    bar->setValue(bar->maximum());
    form.Logic().TimerTick();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(form.mmoDownloadedText->document()->blockCount(), 900);
    form.Logic().StartStopClicked();
}

TEST(TextDownloadWindow, EveryNamedComponentCarriesItsName)
{
    LongSource source;
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
