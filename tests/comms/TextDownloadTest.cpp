// The text download window's logic: entries, Save As and the device logger,
// with a fake download source and an injected clock.
#include "CodePage.h"
#include "Exception.h"
#include "Textdownload.h"
#include "localisation/TestDictionary.h"
#include "support/FakePrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using namespace comms;

namespace {

class FakeSource : public TextDownloadSource {
public:
    bool DownloadEventLog(TQuorvelProtocol* p, TextLines* lines) override
    {
        Calls.push_back(-2);
        Protocols.push_back(p);
        lines->push_back("Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
        if (HangUp)
            throw Exception("Communications Failure.", "/dev/ttyUSB0: Input/output error");
        return Result;
    }
    bool DownloadDeviceData(TQuorvelProtocol* p, TextLines* lines, int address) override
    {
        Calls.push_back(address);
        Protocols.push_back(p);
        if (During)
            During();
        if (Throw)
            throw Exception("Unable to open communications port COM1");
        if (address == -1)
            lines->push_back("Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location");
        else if (AddLine)
            lines->push_back(
                (address < 100 ? "S" : "M") + std::to_string(address % 100) + ",1,2,3,4,5,6%,1,OPT,\"\"");
        return Result;
    }
    std::vector<int> Calls;
    std::vector<TQuorvelProtocol*> Protocols;
    bool Result = true;
    bool AddLine = true;
    bool Throw = false;
    bool HangUp = false; // the event log's line drops after its header
    std::function<void()> During;
};

TQuorvelProtocol* const Proto = reinterpret_cast<TQuorvelProtocol*>(0x1234);

struct Fixture {
    FakeSource source;
    FakePrompts prompts;
    int shown = 0;
    int stamp = 0;
    std::function<void()> whileShown;
    TTextDownload logic { source,
        [this] {
            ++shown;
            if (whileShown)
                whileShown();
        },
        [this] { return "2024-03-12 10:00:0" + std::to_string(stamp++); } };
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(TextDownload, EntriesClearTheLinesAndOpenTheWindowWhateverTheOutcome)
{
    Fixture f;
    f.logic.Lines() = { "old" };
    f.source.Result = false; // failed or aborted download
    f.logic.ShowPanelEventLog(Proto);
    EXPECT_EQ(f.shown, 1);
    EXPECT_EQ(f.logic.Lines().size(), 1u);
    EXPECT_EQ(f.logic.Caption(), "Panel Event Log");
    EXPECT_EQ(f.logic.SaveTitle(), "Save Event Log Data");
    EXPECT_EQ(f.logic.SaveFilter(), "CSV files (*.csv)|*.csv");
    EXPECT_FALSE(f.logic.LoggerVisible());

    f.logic.ShowDeviceData(Proto);
    EXPECT_EQ(f.shown, 2);
    EXPECT_EQ(f.source.Calls.back(), -1);
    EXPECT_EQ(f.logic.Lines(), TextLines { "Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location" });
    EXPECT_EQ(f.logic.Caption(), "Device Data");
    EXPECT_EQ(f.logic.SaveTitle(), "Save Device Data");
    EXPECT_EQ(f.source.Protocols, (std::vector<TQuorvelProtocol*> { Proto, Proto }));

    // A line that drops mid-download: its error, then the window with the
    // lines that arrived; a port that would not open: its error alone.
    for (const bool hangUp : { true, false }) {
        Fixture g;
        (hangUp ? g.source.HangUp : g.source.Throw) = true;
        g.whileShown = [&] { EXPECT_EQ(g.logic.Lines().size(), 1u); };
        g.prompts.Answer(platform::mrOk);
        hangUp ? g.logic.ShowPanelEventLog(Proto) : g.logic.ShowDeviceData(Proto);
        EXPECT_EQ(g.prompts.Log.size(), 1u);
        EXPECT_EQ(g.shown, hangUp ? 1 : 0);
    }
}

TEST(TextDownload, LoggerPanelShownOnlyWhileTheLoggerRuns)
{
    Fixture f;
    bool visible = false;
    f.whileShown = [&] { visible = f.logic.LoggerVisible(); };
    f.logic.Lines() = { "old" };
    f.logic.ShowDeviceLogger(Proto);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(f.logic.LoggerVisible());
    EXPECT_TRUE(f.logic.Lines().empty());
    EXPECT_EQ(f.logic.Caption(), "Device Logger");
    EXPECT_EQ(f.logic.SaveTitle(), "Save Device Data");
    EXPECT_TRUE(f.source.Calls.empty()); // nothing is fetched until Start
}

TEST(TextDownload, LoggerRequestAddressIntervalAndStamps)
{
    Fixture f;
    f.logic.ShowDeviceLogger(Proto);
    f.logic.SetDeviceNo(5);
    f.logic.SetModule(true);
    f.logic.SetIntervalPosition(20);
    EXPECT_EQ(f.logic.IntervalText(), "20");
    EXPECT_EQ(f.logic.StartStopCaption(), "Start");

    f.logic.StartStopClicked();
    EXPECT_TRUE(f.logic.Timer().isActive());
    EXPECT_EQ(f.logic.Timer().interval(), 100); // the first tick comes at once
    EXPECT_EQ(f.logic.StartStopCaption(), "Stop");
    EXPECT_FALSE(f.logic.CanClose());

    bool timerDuringDownload = true;
    f.source.During = [&] { timerDuringDownload = f.logic.Timer().isActive(); };
    f.logic.TimerTick();
    EXPECT_FALSE(timerDuringDownload); // no tick can start inside the download's windows
    EXPECT_EQ(f.source.Calls, std::vector<int> { 105 });
    EXPECT_EQ(f.source.Protocols.back(), Proto);
    EXPECT_TRUE(f.logic.Timer().isActive());
    EXPECT_EQ(f.logic.Timer().interval(), 20000);
    ASSERT_EQ(f.logic.Lines().size(), 1u);
    EXPECT_EQ(f.logic.Lines()[0], "\"2024-03-12 10:00:00\",M5,1,2,3,4,5,6%,1,OPT,\"\"");

    f.logic.SetModule(false);
    f.logic.SetDeviceNo(99);
    f.logic.SetIntervalPosition(60);
    f.logic.TimerTick();
    EXPECT_EQ(f.source.Calls.back(), 99);
    EXPECT_EQ(f.logic.Timer().interval(), 60000);
    ASSERT_EQ(f.logic.Lines().size(), 2u);
    EXPECT_EQ(f.logic.Lines()[0], "\"2024-03-12 10:00:00\",M5,1,2,3,4,5,6%,1,OPT,\"\"");
    EXPECT_EQ(f.logic.Lines()[1], "\"2024-03-12 10:00:01\",S99,1,2,3,4,5,6%,1,OPT,\"\"");

    f.logic.StartStopClicked();
    EXPECT_FALSE(f.logic.Timer().isActive());
    EXPECT_EQ(f.logic.StartStopCaption(), "Start");
    EXPECT_TRUE(f.logic.CanClose());
}

// The stamp is the language's short date and long time, the year in full.
TEST(TextDownload, StampsTakeTheDateAndTimeFormatsOfTheLanguage)
{
    const QDateTime when(QDate(2026, 12, 7), QTime(22, 3, 59));
    MemoryDictionary d;
    SetUpLanguages(d, { 9, 12, 7 }); // English, French, German
    d.SetLanguage(1);
    EXPECT_EQ(TTextDownload::DateTimeText(when), "07/12/2026 22:03:59");
    d.SetLanguage(2);
    EXPECT_EQ(TTextDownload::DateTimeText(when), "07.12.2026 22:03:59");
    d.SetLanguage(0);
    EXPECT_EQ(TTextDownload::DateTimeText(when), "12/7/2026 10:03:59 PM");
    EXPECT_EQ(TTextDownload::DateTimeText(when.addSecs(-12 * 3600)), "12/7/2026 10:03:59 AM");
}

TEST(TextDownload, IntervalStaysWithinTheTrackBar)
{
    Fixture f;
    f.logic.SetIntervalPosition(1);
    EXPECT_EQ(f.logic.IntervalPosition(), 5);
    f.logic.SetIntervalPosition(600);
    EXPECT_EQ(f.logic.IntervalPosition(), 60);
}

TEST(TextDownload, TickWithoutANewLineStampsNothing)
{
    Fixture f;
    f.logic.Lines() = { "S1,earlier line" };
    f.source.AddLine = false;
    f.logic.StartStopClicked();
    f.logic.TimerTick();
    EXPECT_EQ(f.logic.Lines(), TextLines { "S1,earlier line" });
    EXPECT_TRUE(f.logic.Timer().isActive());
    EXPECT_EQ(f.stamp, 0);
}

TEST(TextDownload, FailedTickStopsLoggingWithOneMessage)
{
    Fixture f;
    f.logic.StartStopClicked();
    f.source.Result = false; // the user aborted the download
    f.prompts.Answer(platform::mrOk);
    f.logic.TimerTick();
    EXPECT_FALSE(f.logic.Logging());
    EXPECT_EQ(f.logic.StartStopCaption(), "Start");
    ASSERT_EQ(f.prompts.Log.size(), 1u);
    EXPECT_EQ(f.prompts.Log[0].Text, "Device logging stopped.");
    EXPECT_EQ(f.logic.Lines().size(), 1u); // the line it got is kept, stamped
    EXPECT_EQ(f.logic.Lines()[0].rfind("\"2024-03-12 10:00:00\",S1,", 0), 0u);

    // A port that cannot be opened: the same, with the port's message.
    f.logic.StartStopClicked();
    f.source.Throw = true;
    f.prompts.Answer(platform::mrOk);
    f.logic.TimerTick();
    EXPECT_FALSE(f.logic.Logging());
    ASSERT_EQ(f.prompts.Log.size(), 2u);
    EXPECT_EQ(f.prompts.Log[1].Text, "Unable to open communications port COM1."); // the error box's full stop
    EXPECT_EQ(f.prompts.Log[1].Type, platform::MsgDlgType::mtError);
}

TEST(TextDownload, TimerDrivesTheTicks)
{
    Fixture f;
    f.logic.StartStopClicked();
    // Ticks come only from the event loop; run it until the first one.
    QElapsedTimer clock;
    clock.start();
    while (f.source.Calls.empty() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(f.source.Calls, std::vector<int> { 1 });
    EXPECT_EQ(f.logic.Timer().interval(), 5000);
    f.logic.StartStopClicked();
}

TEST(TextDownload, SaveAsWritesEveryLineWithCrLf)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("log.csv").toStdString();
    Fixture f;
    f.logic.Lines() = { "Index,Date/Time", "1,\"x\"", "2,\"Caf\xC3\xA9\"" };
    f.logic.ShowPanelEventLog(Proto); // sets the title; the fake adds a header
    f.logic.Lines() = { "Index,Date/Time", "1,\"x\"", "2,\"Caf\xC3\xA9\"" };
    f.prompts.AnswerFile(path);
    EXPECT_TRUE(f.logic.SaveAs());
    EXPECT_EQ(ReadFile(path), "Index,Date/Time\r\n1,\"x\"\r\n2,\"Caf\xE9\"\r\n");
    ASSERT_EQ(f.prompts.Dialogs.size(), 1u);
    EXPECT_EQ(f.prompts.Dialogs[0].Title, "Save Event Log Data");
    EXPECT_EQ(f.prompts.Dialogs[0].DefaultExt, "csv");
    EXPECT_EQ(f.prompts.Dialogs[0].Filter, "CSV files (*.csv)|*.csv");
    EXPECT_EQ(f.prompts.Dialogs[0].FileName, "");

    // Saving over it replaces it; cancelling writes nothing.
    f.logic.Lines() = { "only" };
    f.prompts.AnswerFile(path);
    EXPECT_TRUE(f.logic.SaveAs());
    EXPECT_EQ(ReadFile(path), "only\r\n");
    f.prompts.AnswerFile("");
    EXPECT_FALSE(f.logic.SaveAs());
    EXPECT_EQ(ReadFile(path), "only\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left
}

TEST(TextDownload, SaveWritesTheBytesThePanelSent)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("log.csv").toStdString();
    std::string panelText;
    for (int c = 0x20; c < 0x100; ++c)
        panelText += static_cast<char>(c);
    Fixture f;
    // Shown as Unicode (the euro sign, the five unassigned codes included),
    // saved byte for byte; a translated text the code page cannot hold
    // keeps its place as "?".
    f.logic.Lines() = { "\xD0\x96\xE2\x82\xAC", "1,\"" + platform::Cp1252ToUtf8(panelText) + "\"" };
    EXPECT_EQ(f.logic.Lines()[1].substr(0x80 - 0x20 + 3, 3), "\xE2\x82\xAC");
    f.logic.SaveToFile(path);
    EXPECT_EQ(ReadFile(path), "?\x80\r\n1,\"" + panelText + "\"\r\n");
}

TEST(TextDownload, SaveAsKeepsTheOldFileWhenWritingFails)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("data.csv").toStdString();
    {
        std::ofstream(path, std::ios::binary) << "previous contents\r\n";
    }
    Fixture f;
    f.logic.Lines().assign(2000, std::string(60, 'x'));
    // The disk fills up in the middle of the write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    f.prompts.AnswerFile(path);
    std::string message;
    try {
        f.logic.SaveAs();
    } catch (const Exception& e) {
        message = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(message.rfind("Unable to save " + path, 0), 0u) << message;
    EXPECT_EQ(ReadFile(path), "previous contents\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}
