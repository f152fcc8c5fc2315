// The transfer under faults: dropped, short, late and wrong replies, the
// question after every tenth failure, the user's abort, and real time-outs.
#include "Exception.h"
#include "TransferTestUtil.h"

#include <QElapsedTimer>

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

namespace {

using platform::mrAbort;
using platform::mrNo;
using platform::mrOk;
using platform::mrYes;

void FillSome(TPX10ConfigData& c)
{
    c.GeneralPanelSetup->SetSiteName("Depot");
    c.GeneralPanelSetup->SetModulesBlinkColour(true);
    for (int z = 1; z <= 32; ++z)
        c.ZoneTexts->SetZoneText(z, "Zone " + std::to_string(z));
    for (int i = 1; i <= 5; ++i)
        c.GsmItems->SetNumber(i, "0700" + std::to_string(i));
    c.OnboardOutputCircuits->SetCircuitType(2, 4);
    for (int r = 1; r <= 64; ++r)
        c.CBERules->SetFilterType(r, r % 5 + 1);
    for (int a = 1; a <= 99; ++a) {
        c.Sensors->SetDescription(a, "S" + std::to_string(a));
        c.Modules->SetDescription(a, "M" + std::to_string(a));
        c.Modules->SetType(a, 2);
    }
}

// True when the carried options of two configurations agree.
void ExpectSameContent(const TPX10ConfigData& a, const TPX10ConfigData& b)
{
    EXPECT_EQ(a.GeneralPanelSetup->GetSiteName(), b.GeneralPanelSetup->GetSiteName());
    EXPECT_EQ(a.GeneralPanelSetup->GetModulesBlinkColour(), b.GeneralPanelSetup->GetModulesBlinkColour());
    for (int z = 1; z <= 32; ++z)
        EXPECT_EQ(a.ZoneTexts->GetZoneText(z), b.ZoneTexts->GetZoneText(z)) << "zone " << z;
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(a.GsmItems->GetNumber(i), b.GsmItems->GetNumber(i)) << "gsm " << i;
    EXPECT_EQ(a.OnboardOutputCircuits->GetCircuitType(2), b.OnboardOutputCircuits->GetCircuitType(2));
    for (int r = 1; r <= 64; ++r)
        EXPECT_EQ(a.CBERules->GetFilterType(r), b.CBERules->GetFilterType(r)) << "rule " << r;
    for (int p = 1; p <= 99; ++p) {
        EXPECT_EQ(a.Sensors->GetDescription(p), b.Sensors->GetDescription(p)) << "sensor " << p;
        EXPECT_EQ(a.Modules->GetDescription(p), b.Modules->GetDescription(p)) << "module " << p;
        EXPECT_EQ(a.Modules->GetType(p), b.Modules->GetType(p)) << "module " << p;
    }
}

// A filled configuration; for a test of a receive the panel holds it already.
std::unique_ptr<TPX10ConfigData> SentAhead(TransferFixture& f, bool send)
{
    auto sent = NewConfig();
    FillSome(*sent);
    if (!send) {
        EXPECT_TRUE(f.Send(*sent));
    }
    return sent;
}

TEST(TransferFaults, OneReplyInTenDroppedStillCompletesBothWays)
{
    TransferFixture f;
    auto sent = NewConfig();
    FillSome(*sent);
    for (int i = 0; i < 400; ++i)
        f.panel.PushFaults({ .NoReply = i % 10 == 9 });
    ASSERT_TRUE(f.Send(*sent));
    EXPECT_GE(f.transfer.FailureCount(), 25u);
    EXPECT_TRUE(f.prompts.Log.empty());

    for (int i = 0; i < 400; ++i)
        f.panel.PushFaults({ .NoReply = i % 10 == 4 });
    auto received = NewConfig();
    ASSERT_TRUE(f.Receive(*received));
    EXPECT_GE(f.transfer.FailureCount(), 25u);
    ExpectSameContent(*sent, *received);
}

TEST(TransferFaults, TenFailuresInARowAskAndAbortClosesThePort)
{
    TransferFixture f;
    auto config = NewConfig();
    for (int i = 0; i < 10; ++i)
        f.panel.PushItemFaults(0x4C, 5, { .NoReply = true });
    f.prompts.Answer(mrAbort);
    EXPECT_FALSE(f.Send(*config));
    EXPECT_FALSE(f.proto->IsOpen());
    ASSERT_EQ(f.prompts.Log.size(), 1u);
    EXPECT_EQ(f.prompts.Log[0].Text, "Communications Failure.\r\nContinue ?");
    EXPECT_EQ(f.prompts.Log[0].Buttons, platform::mbOK | platform::mbAbort);
    EXPECT_EQ(f.transfer.RetryCount(), 10);
    EXPECT_EQ(f.RequestsOf(0x4C).size(), 14u); // zones 1 to 4, then zone 5 ten times
    EXPECT_EQ(f.RequestsOf(0x48).size(),
        1u + 9u); // the passcode, then again after each failure before the question
    EXPECT_FALSE(f.proto->OnPacketReceived);
    EXPECT_FALSE(f.proto->OnPacketRxError);
}

TEST(TransferFaults, ContinueKeepsCountingAndAsksAgainAtTwenty)
{
    TransferFixture f;
    auto config = NewConfig();
    for (int i = 0; i < 20; ++i)
        f.panel.PushItemFaults(0x50, 3, { .NoReply = true });
    f.prompts.Answer(mrOk);
    f.prompts.Answer(mrOk);
    ASSERT_TRUE(f.Receive(*config));
    EXPECT_EQ(f.prompts.Log.size(), 2u);
    EXPECT_EQ(f.RequestsOf(0x50).size(), 64u + 20u);
}

TEST(TransferFaults, AbortedReceiveLeavesTheConfigurationUntouched)
{
    TransferFixture f;
    auto sent = NewConfig();
    FillSome(*sent);
    ASSERT_TRUE(f.Send(*sent));

    auto current = NewConfig();
    current->ZoneTexts->SetZoneText(1, "Keep me");
    auto before = NewConfig();
    current->CopyTo(*before);
    for (int i = 0; i < 10; ++i)
        f.panel.PushItemFaults(0x52, 150, { .NoReply = true });
    f.prompts.Answer(mrAbort);
    EXPECT_FALSE(f.Receive(*current));
    EXPECT_EQ(current->ZoneTexts->GetZoneText(1), "Keep me");
    EXPECT_EQ(current->Sensors->GetDescription(5), "");
    for (int a = 1; a <= 99; ++a)
        for (int off = 0; off < TPX10ConfigRecord::DataSize; ++off) {
            EXPECT_EQ(
                current->Sensors->GetRecord(a)->GetByte(off), before->Sensors->GetRecord(a)->GetByte(off));
            EXPECT_EQ(
                current->Modules->GetRecord(a)->GetByte(off), before->Modules->GetRecord(a)->GetByte(off));
        }
    EXPECT_EQ(current->FileHeader->GetPanelType(), before->FileHeader->GetPanelType());
    EXPECT_EQ(current->GeneralPanelSetup->GetSiteName(), "");
    EXPECT_FALSE(f.proto->IsOpen());
}

// Data bytes a reply keeps -> failures it causes per stage (the marker and the
// item index must be there; the general and on-board blocks have no index; a
// received item must carry at least one byte of its own after them).
class ShortReplies : public ::testing::TestWithParam<std::tuple<bool, std::size_t>> { };

TEST_P(ShortReplies, AtEveryStageCountAsFailuresAndAreRepeated)
{
    const auto [send, keep] = GetParam();
    TransferFixture f;
    auto sent = NewConfig();
    FillSome(*sent);
    if (!send) {
        ASSERT_TRUE(f.Send(*sent));
    }
    const std::pair<uint8_t, int> first[]
        = { { 0x4A, 0 }, { 0x4C, 1 }, { 0x5C, 1 }, { 0x4E, 0 }, { 0x50, 1 }, { 0x52, 1 } };
    const std::size_t prefix[] = { 1, 2, 2, 1, 2, 3 };
    unsigned long expected = 0;
    for (int s = 0; s < 6; ++s) {
        f.panel.PushItemFaults(first[s].first, first[s].second, { .ShortReply = true, .ShortLength = keep });
        expected += keep < prefix[s] || (!send && keep == prefix[s]) ? 1 : 0;
    }
    auto target = NewConfig();
    ASSERT_TRUE(send ? f.Send(*sent) : f.Receive(*target));
    EXPECT_EQ(f.transfer.FailureCount(), expected);
    EXPECT_EQ(f.transfer.State().Progress, 301);
    if (!send && keep == 0)
        ExpectSameContent(*sent, *target);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ShortReplies,
    ::testing::Combine(::testing::Bool(),
        ::testing::Values(std::size_t { 0 }, std::size_t { 1 }, std::size_t { 2 }, std::size_t { 3 })));

TEST(TransferFaults, PointRepliesWithoutDataNeverCountAsReceived)
{
    TransferFixture f;
    // Point 1 answered with its marker and index only, again and again.
    for (int i = 0; i < 20; ++i)
        f.panel.PushItemFaults(0x52, 1, { .ShortReply = true, .ShortLength = 3 });
    f.prompts.Answer(mrOk);
    f.prompts.Answer(mrAbort);
    auto config = NewConfig();
    EXPECT_FALSE(f.Receive(*config));
    EXPECT_EQ(f.prompts.Log.size(), 2u);
    EXPECT_EQ(f.RequestsOf(0x52).size(), 20u);
    EXPECT_EQ(f.transfer.ItemIndex(), 1);
}

TEST(TransferFaults, BadChecksumAndWrongCodeAreRepeated)
{
    TransferFixture f;
    auto config = NewConfig();
    FillSome(*config);
    f.panel.PushItemFaults(0x52, 7, { .BadChecksum = true });
    f.panel.PushItemFaults(0x50, 9, { .WrongReplyCode = true });
    ASSERT_TRUE(f.Send(*config));
    EXPECT_EQ(f.transfer.FailureCount(), 2u);
    EXPECT_EQ(f.RequestsOf(0x48).size(), 3u);
}

TEST(TransferFaults, BurstOfNoiseAheadOfAReplyIsOneFailureBothWays)
{
    for (bool send : { true, false }) {
        TransferFixture f;
        const auto sent = SentAhead(f, send);
        f.panel.PushItemFaults(0x50, 9, { .NoiseBurst = 10000 });
        f.HoldStrayBytesUntilBursts(1);
        auto target = NewConfig();
        ASSERT_TRUE(send ? f.Send(*sent) : f.Receive(*target)) << send;
        EXPECT_EQ(f.transfer.FailureCount(), 1u) << send;
        EXPECT_TRUE(f.prompts.Log.empty()) << send;
        if (!send)
            ExpectSameContent(*sent, *target);
    }
}

TEST(TransferFaults, LateReplyAfterARepeatIsDroppedBothWays)
{
    for (bool send : { true, false }) {
        TransferFixture f;
        const auto sent = SentAhead(f, send);
        f.panel.ClearLog();
        f.panel.PushItemFaults(0x4C, 5, { .DelayMs = 20 });
        f.panel.PushItemFaults(0x52, 120, { .DelayMs = 20 });
        auto target = NewConfig();
        ASSERT_TRUE(send ? f.Send(*sent) : f.Receive(*target)) << send;
        // One time-out each; the late answers neither fail nor skip an item.
        EXPECT_EQ(f.transfer.FailureCount(), 2u) << send;
        EXPECT_EQ(f.transfer.State().Progress, 301) << send;
        std::vector<int> zones;
        for (const auto& r : f.RequestsOf(0x4C))
            zones.push_back(static_cast<uint8_t>(r.Data[1]));
        EXPECT_EQ(std::count(zones.begin(), zones.end(), 5), 2) << send;
        EXPECT_EQ(std::count(zones.begin(), zones.end(), 6), 1) << send;
        if (!send)
            ExpectSameContent(*sent, *target);
    }
}

TEST(TransferFaults, AbortAnsweredNoRepeatsTheItemAndYesEnds)
{
    TransferFixture f;
    auto config = NewConfig();
    int asked = 0;
    f.transferHost.OnChanged = [&] {
        if (f.transfer.State().Progress == 5 && asked == 0) {
            asked = 1;
            QTimer::singleShot(0, [&] { f.transfer.AbortClicked(); });
        } else if (f.transfer.State().Progress == 40 && asked == 1) {
            asked = 2;
            QTimer::singleShot(0, [&] { f.transfer.AbortClicked(); });
        }
    };
    f.prompts.Answer(mrNo);
    f.prompts.Answer(mrYes);
    EXPECT_FALSE(f.Receive(*config));
    ASSERT_EQ(f.prompts.Log.size(), 2u);
    EXPECT_EQ(f.prompts.Log[0].Text, "Abort Transfer ?");
    EXPECT_EQ(f.prompts.Log[0].Buttons, platform::mbYes | platform::mbNo);
    EXPECT_EQ(f.transfer.FailureCount(), 0u);
    EXPECT_EQ(f.transfer.RetryCount(), 0);
    std::vector<int> zones;
    for (const auto& r : f.RequestsOf(0x4C))
        zones.push_back(static_cast<uint8_t>(r.Data[1]));
    // Exactly one item was asked twice: the one in progress when Abort was pressed.
    std::map<int, int> times;
    for (int z : zones)
        ++times[z];
    EXPECT_EQ(std::count_if(times.begin(), times.end(), [](const auto& t) { return t.second == 2; }), 1);
    EXPECT_EQ(zones.size(), 33u);
    EXPECT_FALSE(f.proto->IsOpen());
}

// The adapter unplugged in the middle: the transfer ends at once with an error
// naming the device, instead of asking "Continue ?" against a port that is gone.
TEST(TransferFaults, HangupMidSendAndMidReceiveEndsWithTheDeviceInTheError)
{
    for (const bool send : { true, false }) {
        TransferFixture f;
        const std::string device = f.panel.SlavePath();
        auto config = NewConfig();
        FillSome(*config);
        auto before = NewConfig();
        config->CopyTo(*before);
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (f.RequestsOf(0x4C).size() >= 10) {
                watch.stop();
                f.panel.Hangup();
            }
        });
        watch.start(1);
        std::string error = "no error";
        std::string detail;
        try {
            send ? f.Send(*config) : f.Receive(*config);
        } catch (const Exception& e) {
            error = e.Message();
            detail = e.Detail();
        }
        // The message is translated by the error box; the device line is not.
        EXPECT_EQ(error, "Communications Failure.") << send;
        EXPECT_EQ(detail, device + ": Input/output error") << send;
        EXPECT_TRUE(f.prompts.Log.empty()) << send;
        EXPECT_FALSE(f.proto->IsOpen());
        EXPECT_FALSE(f.proto->OnPacketReceived);
        EXPECT_LT(f.transfer.FailureCount(), 3u);
        if (!send)
            ExpectSameContent(*config, *before); // nothing of the half received
    }
}

// Once the last reply is taken the transfer is done, whatever the line does
// next (the downloads end the same way); a hang-up while the reply before it
// is taken still fails it.
TEST(TransferFaults, HangupAfterTheLastReplyLeavesTheTransferDone)
{
    for (const int fromEnd : { 0, 1 }) {
        TransferFixture f;
        auto sent = SentAhead(f, false);
        f.HangUpWhen([&f, fromEnd] {
            return f.transfer.State().Progress == f.transfer.State().ProgressMax - fromEnd;
        });
        auto config = NewConfig();
        std::string error;
        try {
            EXPECT_EQ(f.Receive(*config), fromEnd == 0);
        } catch (const Exception& e) {
            error = e.Message();
        }
        EXPECT_EQ(error, fromEnd == 0 ? "" : "Communications Failure.");
        EXPECT_EQ(config->GeneralPanelSetup->GetSiteName(), fromEnd == 0 ? "Depot" : "");
    }
}

TEST(TransferFaults, HangupDuringDetectionEndsItAndTheNextOpenStartsClean)
{
    TransferFixture f;
    f.panel.SetFaults({ .NoReply = true });
    // The line goes while the first request waits for its reply.
    f.expiry.reset();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (f.panel.RequestCount() >= 1) {
            watch.stop();
            f.panel.Hangup();
        }
    });
    watch.start(1);
    auto config = NewConfig();
    EXPECT_THROW(f.Receive(*config), Exception);
    EXPECT_TRUE(f.prompts.Log.empty());
    EXPECT_LT(f.detection.RetryCount(), 10);
    EXPECT_FALSE(f.proto->IsOpen());
    // A new line on the same port works as before.
    SimulatedPanel again;
    again.EnableConfigPanel();
    again.SetIdentification(SimulatedPanel::MakeIdentification("301", 703));
    Com1Device com1(again.SlavePath());
    EXPECT_TRUE(f.Receive(*config));
}

TEST(TransferTiming, RealTimeOuts)
{
    TransferFixture f { comms::CommsTiming {} };
    f.expiry.reset(); // only the port's own timer ends a wait
    auto config = NewConfig();
    f.panel.PushItemFaults(0x4A, -1, { .NoReply = true }); // the first detection request
    f.panel.PushItemFaults(0x4C, 2, { .NoReply = true });
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(f.Receive(*config));
    EXPECT_GE(clock.elapsed(), 1000 + 1500);
    EXPECT_EQ(f.transfer.FailureCount(), 1u);
    EXPECT_EQ(f.detection.RetryCount(), 1);
}

} // namespace
