// The text download window as a user meets it: what closes it, and the names
// screen readers and the translators find its controls by.
#include "Spincontrol.h"
#include "Textdownloadform.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A download gives its header and 299 lines, a logger tick one line.
class OneLineSource : public comms::TextDownloadSource {
public:
    bool DownloadEventLog(TQuorvelProtocol*, comms::TextLines* lines) override
    {
        lines->push_back("Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
        lines->insert(lines->end(), 299, "1,\"01/01/2024 00:00:00\",\"Sensor 1\"");
        return true;
    }
    bool DownloadDeviceData(TQuorvelProtocol*, comms::TextLines* lines, int address) override
    {
        if (address != -1) {
            lines->push_back("S1,tick " + std::to_string(++Ticks));
            return true;
        }
        lines->push_back("Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location");
        lines->insert(lines->end(), 299, "S1,1,2,3,4,5,6%,1,OPT,\"\"");
        return true;
    }
    int Ticks = 0;
};

QString TopLine(const QPlainTextEdit* text)
{
    return text->cursorForPosition(QPoint(1, 1)).block().text();
}

void Escape(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

// A download opens at its header line, also after the last one was read to its end.
TEST(TextDownloadWindow, EscapeKeepsTheDownloadOnlyExitAndTheCloseBoxClose)
{
    OneLineSource source;
    TfrmTextDownload form(source);
    bool openAfterEscape = false;
    QString top;
    QTimer::singleShot(0, [&] {
        Escape(form.mmoDownloadedText);
        Escape(&form);
        openAfterEscape = form.isVisible();
        top = TopLine(form.mmoDownloadedText);
        form.mmoDownloadedText->verticalScrollBar()->setValue(250);
        form.Exit1->trigger();
    });
    form.ShowPanelEventLog(nullptr);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(top, "Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.mmoDownloadedText->accessibleName(), "Panel Event Log");

    QTimer::singleShot(0, [&] {
        Escape(form.mmoDownloadedText);
        openAfterEscape = form.isVisible();
        top = TopLine(form.mmoDownloadedText);
        form.close(); // the close box
    });
    form.ShowDeviceData(nullptr);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(top, "Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location");
}

// The logger's lines come below: what the user reads and selects stays put
// through a tick and a change of the interval; the view follows a new line
// only while it shows the end.
TEST(TextDownloadWindow, LoggerLinesComeBelowWithoutMovingWhatTheUserReads)
{
    OneLineSource source;
    TfrmTextDownload form(source);
    QPlainTextEdit* text = form.mmoDownloadedText;
    QScrollBar* bar = text->verticalScrollBar();
    auto use = [&] {
        form.btnStartStop->click();
        for (int n = 0; n < 80; ++n)
            form.Logic().TimerTick();
        QTextCursor selection(text->document()->findBlockByNumber(10));
        selection.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
        text->setTextCursor(selection);
        bar->setValue(5);
        const QString selected = selection.selectedText(), top = TopLine(text);
        form.Logic().TimerTick();
        form.trbLoggingInterval->setValue(30);
        EXPECT_EQ(text->textCursor().selectedText(), selected);
        EXPECT_EQ(TopLine(text), top);
        bar->setValue(bar->maximum());
        form.Logic().TimerTick();
        EXPECT_EQ(bar->value(), bar->maximum()) << "the end is followed";
        EXPECT_EQ(text->document()->blockCount(), 82);
        EXPECT_EQ(text->document()->lastBlock().text(), QString::fromStdString(form.Logic().Lines().back()));
    };
    QTimer::singleShot(0, [&] {
        use();
        form.Logic().Timer().stop(); // also when a check above gave up
        form.close();
    });
    form.ShowDeviceLogger(nullptr);
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
