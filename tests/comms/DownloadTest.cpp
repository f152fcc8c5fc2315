// Event log and device data downloads against the simulated panel: requests,
// CSV lines, faults, a log that changes while it is fetched.
#include "Exception.h"
#include "TransferTestUtil.h"
#include "support/PanelRecords.h"

#include <gtest/gtest.h>

#include <algorithm>

using platform::mrAbort;
using platform::mrOk;

namespace {

// The records are read by the panel's thread: they must outlive the panel,
// so they sit in a base made before it and destroyed after it.
struct RecordsHolder {
    PanelRecords records;
};

struct DownloadFixture : RecordsHolder, TransferFixture {
    explicit DownloadFixture(comms::CommsTiming timing = FastTiming())
        : TransferFixture(std::move(timing))
    {
        records.Install(panel);
    }
    bool EventLog() { return transfer.DownloadEventLog(proto.get(), &lines); }
    bool DeviceData(int address = -1) { return transfer.DownloadDeviceData(proto.get(), &lines, address); }
    std::vector<std::string> EventRequests()
    {
        std::vector<std::string> out;
        for (const auto& r : RequestsOf(0x58))
            out.push_back(r.Data);
        return out;
    }
    comms::TextLines lines;
};

PanelRecords::Event Event(std::string a, std::string b, std::string c)
{
    PanelRecords::Event e;
    e.Parts[0] = std::move(a);
    e.Parts[1] = std::move(b);
    e.Parts[2] = std::move(c);
    return e;
}

// The lines of a download without faults. Its fixture points COM1 at its
// own panel while it lives: call it before making another.
comms::TextLines CleanLog(const std::vector<PanelRecords::Event>& events)
{
    DownloadFixture f;
    f.records.SetEvents(events);
    EXPECT_TRUE(f.EventLog());
    return f.lines;
}

const std::string Full40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";

} // namespace

TEST(EventLogDownload, TwoEventsTakeSixRequestsAndGiveHeaderAndTwoLines)
{
    DownloadFixture f;
    f.records.SetEvents({
        Event("12/03/2024 14:05:33     Sensor 12", "Kitchen             Smoke head", "FIRE"),
        Event(Full40, "", Full40),
    });
    ASSERT_TRUE(f.EventLog());
    EXPECT_EQ(f.EventRequests(),
        (std::vector<std::string> { Bytes({ 0, 0, 0 }), Bytes({ 0, 0, 1 }), Bytes({ 0, 0, 2 }),
            Bytes({ 0, 1, 0 }), Bytes({ 0, 1, 1 }), Bytes({ 0, 1, 2 }) }));
    const comms::TextLines expected = {
        "Index,Date/Time,Identity,Zone Text,Device Text,Event Description",
        "1,\"12/03/2024 14:05:33\",\"Sensor 12\",\"Kitchen\",\"Smoke head\",\"FIRE\"",
        "2,\"ABCDEFGHIJKLMNOPQRSTUVW\",\"XYZ0123456789abcd\",\"" + Full40 + "\"",
    };
    EXPECT_EQ(f.lines, expected);
    // Receive direction: no passcode, and the port is closed at the end.
    EXPECT_TRUE(f.RequestsOf(0x48).empty());
    EXPECT_EQ(f.passcodePrompts, 0);
    EXPECT_FALSE(f.proto->IsOpen());
    EXPECT_FALSE(f.proto->OnPacketReceived);
    EXPECT_EQ(f.transfer.State().StageText, "Transferring Event Log");
    EXPECT_EQ(f.transfer.State().Progress, 6);
    EXPECT_EQ(f.transfer.State().ProgressMax, 6);
}

TEST(EventLogDownload, EmptyLogEndsAfterTheFirstReply)
{
    DownloadFixture f;
    ASSERT_TRUE(f.EventLog());
    EXPECT_EQ(f.EventRequests().size(), 1u);
    EXPECT_EQ(f.lines, comms::TextLines { comms::EventLogHeader() });
}

TEST(EventLogDownload, LogThatShrinksOrGrowsWhileFetchedEnds)
{
    {
        DownloadFixture f;
        std::vector<PanelRecords::Event> three
            = { PanelRecords::MakeEvent(1), PanelRecords::MakeEvent(2), PanelRecords::MakeEvent(3) };
        f.records.SetEvents(three);
        // Two events are cleared while the second one is being read.
        f.records.SetBeforeEventReply([](int step, std::vector<PanelRecords::Event>& events) {
            if (step == 4)
                events.resize(1);
        });
        ASSERT_TRUE(f.EventLog());
        EXPECT_EQ(f.EventRequests().size(), 5u);
        ASSERT_EQ(f.lines.size(), 2u); // the header and the first event
        EXPECT_EQ(f.lines[1].rfind("1,\"", 0), 0u);
    }
    {
        DownloadFixture f;
        f.records.SetEvents({ PanelRecords::MakeEvent(1) });
        f.records.SetBeforeEventReply([](int step, std::vector<PanelRecords::Event>& events) {
            if (step == 1)
                events.push_back(PanelRecords::MakeEvent(2));
        });
        ASSERT_TRUE(f.EventLog());
        EXPECT_EQ(f.EventRequests().size(), 6u);
        EXPECT_EQ(f.lines.size(), 3u);
    }
}

// Whatever goes wrong with one part's reply, the log reads as a clean
// download's: a late answer to the failed request, or a good one after a
// damaged packet, is never taken for the answer to the next part, also when
// it comes after the line fell quiet (the panel busy, reading nothing).
TEST(EventLogDownload, AFailedPartGivesTheLogOfACleanDownload)
{
    const std::vector<PanelRecords::Event> events
        = { PanelRecords::MakeEvent(1), PanelRecords::MakeEvent(2) };
    const comms::TextLines clean = CleanLog(events);
    const std::string damaged
        = SimulatedPanel::Frame(0x59, PanelRecords::EventReplyData(0, 1, 2, "junk"), true);
    // Longer than the quiet wait of the tests' timing.
    const int pastQuiet = 2 * static_cast<int>(FastTiming().QuietMs) + 100;
    struct Case {
        const char* Name;
        SimulatedPanel::Faults Fault;
        bool AbortAnsweredNo = false;
        int Step = 1; // the failing part
        std::size_t Requests = 7; // one repeat
        bool Echo = true; // the reply names its request
    };
    const Case cases[] = {
        { "short reply", { .ShortReply = true, .ShortLength = 12 } },
        { "wrong reply code", { .WrongReplyCode = true } },
        { "good reply after a damaged one", { .NoiseBefore = damaged, .NoiseGapMs = 30 } },
        { "abort answered No while the line falls quiet", { .DelayMs = 60 }, true },
        { "good reply long after a damaged one", { .NoiseBefore = damaged, .NoiseGapMs = pastQuiet } },
        // The stale answer to the first part is taken for the second until
        // the third's reply shows that the panel names its requests.
        { "first part's reply after the line fell quiet", { .DelayMs = pastQuiet }, false, 0, 10 },
        { "reply after its time-out, the panel naming no request", { .DelayMs = 60 }, false, 1, 7, false },
    };
    for (const Case& c : cases) {
        DownloadFixture f;
        f.records.SetEvents(events);
        f.records.SetEchoRequest(c.Echo);
        for (int i = 0; i < 2 + c.Step; ++i) // detection (K, G), then the parts before
            f.panel.PushFaults({});
        f.panel.PushFaults(c.Fault);
        if (c.AbortAnsweredNo) {
            f.prompts.Answer(platform::mrNo);
            f.transferHost.OnChanged = [&f, clicked = false]() mutable {
                if (!clicked && f.transfer.FailureCount() == 1) {
                    clicked = true;
                    QTimer::singleShot(0, [&f] { f.transfer.AbortClicked(); });
                }
            };
        }
        ASSERT_TRUE(f.EventLog()) << c.Name;
        EXPECT_EQ(f.lines, clean) << c.Name;
        EXPECT_EQ(f.transfer.FailureCount(), 1u) << c.Name;
        EXPECT_EQ(f.EventRequests().size(), c.Requests) << c.Name;
        EXPECT_EQ(f.prompts.Log.size(), c.AbortAnsweredNo ? 1u : 0u) << c.Name;
    }
}

// A panel that always answers too late ends in failures and the question,
// never in a wrong line: one that reads each request at once and answers
// after its time-out, and one busy past every wait, reading nothing
// meanwhile, whose answers come a request behind.
TEST(EventLogDownload, APanelAlwaysTooLateEndsInFailuresWithoutAWrongLine)
{
    const std::vector<PanelRecords::Event> events = { PanelRecords::MakeEvent(1) };
    const comms::TextLines clean = CleanLog(events);
    // Real time-outs, scaled down.
    comms::CommsTiming timing = FastTiming();
    timing.ItemTimeoutMs = 150;
    timing.QuietMs = 150;
    for (const int delay : { 250, 400 }) {
        DownloadFixture f { timing };
        f.expiry.reset();
        f.records.SetEvents(events);
        f.panel.PushFaults({});
        f.panel.PushFaults({});
        f.panel.SetFaults({ .DelayMs = delay });
        f.prompts.Answer(mrAbort);
        EXPECT_FALSE(f.EventLog());
        EXPECT_GE(f.transfer.FailureCount(), 10u) << delay;
        EXPECT_EQ(f.prompts.Log.size(), 1u) << delay;
        ASSERT_LE(f.lines.size(), clean.size()) << delay;
        EXPECT_TRUE(std::equal(f.lines.begin(), f.lines.end(), clean.begin())) << delay;
        EXPECT_FALSE(f.proto->IsOpen());
    }
}

// The line goes while the download waits for it to fall quiet: the window
// ends with the error, without a question, keeping what arrived.
TEST(EventLogDownload, HangupWhileTheLineFallsQuietEndsTheWindow)
{
    DownloadFixture f;
    f.records.SetEvents({ PanelRecords::MakeEvent(1) });
    for (int i = 0; i < 2 + 1; ++i)
        f.panel.PushFaults({});
    f.panel.PushFaults({ .NoReply = true });
    f.HangUpWhen([&f] { return f.transfer.FailureCount() == 1; });
    EXPECT_THROW(f.EventLog(), Exception);
    EXPECT_TRUE(f.prompts.Log.empty());
    EXPECT_EQ(f.lines, comms::TextLines { comms::EventLogHeader() }); // part 0 arrived
    EXPECT_FALSE(f.proto->IsOpen());
}

TEST(EventLogDownload, AbortAtTheTenthFailureKeepsTheLinesSoFar)
{
    DownloadFixture f;
    f.records.SetEvents({ PanelRecords::MakeEvent(1), PanelRecords::MakeEvent(2) });
    for (int i = 0; i < 5; ++i)
        f.panel.PushFaults({});
    for (int i = 0; i < 10; ++i)
        f.panel.PushFaults({ .NoReply = true });
    f.prompts.Answer(mrAbort);
    EXPECT_FALSE(f.EventLog());
    ASSERT_EQ(f.prompts.Log.size(), 1u);
    EXPECT_EQ(f.prompts.Log[0].Text, "Communications Failure.\r\nContinue ?");
    EXPECT_EQ(f.lines.size(), 2u); // header and event 1
    EXPECT_FALSE(f.proto->IsOpen());
}

TEST(DeviceDataDownload, AllPointsGiveHeaderAnd198Lines)
{
    DownloadFixture f;
    PanelRecords::Reading r;
    r.PW[0] = 512;
    r.PW[4] = 65535;
    r.Level = 45;
    r.Zone = 7;
    r.Type = "I ";
    r.Location = "  Boiler room";
    f.records.SetReading(105, r);
    ASSERT_TRUE(f.DeviceData());
    const auto requests = f.RequestsOf(0x5A);
    ASSERT_EQ(requests.size(), 198u);
    EXPECT_EQ(requests[0].Data, Bytes({ 1 }));
    EXPECT_EQ(requests[98].Data, Bytes({ 99 }));
    EXPECT_EQ(requests[99].Data, Bytes({ 101 }));
    EXPECT_EQ(requests[197].Data, Bytes({ 199 }));
    ASSERT_EQ(f.lines.size(), 199u);
    EXPECT_EQ(f.lines[0], "Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location");
    EXPECT_EQ(f.lines[1], "S1,10,11,12,13,14,1%,2,\"OPT\",\"Sensor 1\"");
    EXPECT_EQ(f.lines[99], "S99,990,991,992,993,994,99%,4,\"OPT\",\"Sensor 99\"");
    EXPECT_EQ(f.lines[104], "M5,512,0,0,0,65535,45%,7,\"I  \",\"Boiler room\"");
    EXPECT_EQ(f.lines[198], "M99,1990,1991,1992,1993,1994,98%,8,\"MCP\",\"Module 99\"");
    EXPECT_EQ(f.transfer.State().ProgressMax, 198);
    EXPECT_EQ(f.transfer.State().StageText, "Transferring Device Data");
    EXPECT_FALSE(f.proto->IsOpen());
}

TEST(DeviceDataDownload, OneDeviceGivesOneLineWithoutHeader)
{
    DownloadFixture f;
    ASSERT_TRUE(f.DeviceData(105));
    const auto requests = f.RequestsOf(0x5A);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Data, Bytes({ 105 }));
    EXPECT_EQ(f.lines, comms::TextLines { "M5,1050,1051,1052,1053,1054,4%,10,\"MCP\",\"Module 5\"" });
    // Sensor 1 in one device mode: still no header.
    f.lines.clear();
    ASSERT_TRUE(f.DeviceData(1));
    EXPECT_EQ(f.lines.size(), 1u);
}

TEST(DeviceDataDownload, ShortReplyIsRepeated)
{
    DownloadFixture f;
    f.panel.PushFaults({});
    f.panel.PushFaults({});
    f.panel.PushFaults({ .ShortReply = true, .ShortLength = 35 });
    ASSERT_TRUE(f.DeviceData(7));
    EXPECT_EQ(f.RequestsOf(0x5A).size(), 2u);
    EXPECT_EQ(f.transfer.FailureCount(), 1u);
    EXPECT_EQ(f.lines.size(), 1u);
}

// The reply to point 5 comes after its wait ran out and the request was
// repeated: the second answer to point 5 is not taken for point 6. A reply
// naming a point not asked for before is the reply, as the panel numbers it.
TEST(DeviceDataDownload, LateReplyAfterARepeatIsNotTakenForTheNextPoint)
{
    DownloadFixture f;
    f.panel.SetHandler(0x5A, [](const SimulatedPanel::Request& r) {
        const int point = r.Data[0] == 8 ? 150 : static_cast<unsigned char>(r.Data[0]);
        return std::optional<SimulatedPanel::Reply>(
            { 0x5B, PanelRecords::DeviceReplyData(point, PanelRecords::MakeReading(point)) });
    });
    for (int i = 0; i < 2 + 4; ++i) // detection (K, G), then points 1 to 4
        f.panel.PushFaults({});
    f.panel.PushFaults({ .DelayMs = 20 });
    ASSERT_TRUE(f.DeviceData());
    EXPECT_EQ(f.transfer.FailureCount(), 1u);
    EXPECT_EQ(f.RequestsOf(0x5A).size(), 199u);
    ASSERT_EQ(f.lines.size(), 199u);
    for (int i = 1; i <= 198; ++i) {
        const std::string address = i == 8 ? "M50"
            : i <= 99                      ? "S" + std::to_string(i)
                                           : "M" + std::to_string(i - 99);
        EXPECT_EQ(f.lines[i].substr(0, address.size() + 1), address + ",") << i;
    }
}

TEST(DeviceDataDownload, PanelNotFoundEndsWithoutLines)
{
    DownloadFixture f;
    f.panel.SetFaults({ .NoReply = true });
    f.detectionHost.OnChanged = [&] {
        if (f.detection.State().RetryVisible)
            QTimer::singleShot(0, [&] { f.detection.AbortClicked(); });
    };
    EXPECT_FALSE(f.DeviceData());
    EXPECT_TRUE(f.lines.empty());
    EXPECT_TRUE(f.RequestsOf(0x5A).empty());
    EXPECT_FALSE(f.proto->IsOpen());
}
