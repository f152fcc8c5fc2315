// The packet protocol end to end: the real port on a pseudo-terminal against
// the simulated panel and its faults.
#include "CommsTestUtil.h"
#include "Exception.h"
#include "Quorvelprotocolcomponent.h"
#include "support/FakePrompts.h"
#include "support/SimulatedPanel.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

class ProtocolTest : public RecordingProtocolTest {
protected:
    void SetUp() override
    {
        RecordingProtocolTest::SetUp();
        proto->Open();
    }
    // The port closes before the panel and the COM1 setting go.
    void TearDown() override { proto.reset(); }

    bool WaitReplies(std::size_t n, int ms = WaitMs)
    {
        return RunUntil([&] { return replies.size() >= n; }, ms);
    }

    SimulatedPanel panel;
    Com1Device com1 { panel.SlavePath() };
};

TEST_F(ProtocolTest, RequestsOnTheWire)
{
    proto->PacketTransaction(0x4A, 0);
    proto->PacketTransaction(0x4A, 1, "\x64", 0);
    proto->PacketTransaction(0x48, 2, "\x04\xD2", 0);
    proto->PacketTransaction(0x48, 2, "\xFF\xFF", 0);
    const std::string expected = Bytes({ 0xF1, 0x01, 0x00, 0x4A, 0x00, 0x4B, 0xFD })
        + Bytes({ 0xF1, 0x01, 0x00, 0x4A, 0x64, 0x00, 0xAF, 0xFD })
        + Bytes({ 0xF1, 0x01, 0x00, 0x48, 0x04, 0xD2, 0x01, 0x1F, 0xFD })
        + Bytes({ 0xF1, 0x01, 0x00, 0x48, 0xF0, 0x0F, 0xF0, 0x0F, 0x02, 0x47, 0xFD });
    ASSERT_TRUE(panel.WaitForBytes(expected.size(), WaitMs));
    EXPECT_EQ(panel.ReceivedBytes(), expected);
    ASSERT_TRUE(panel.WaitForRequests(4, WaitMs));
    const auto requests = panel.Requests();
    EXPECT_EQ(requests[3].Command, 0x48);
    EXPECT_EQ(requests[3].Data, "\xFF\xFF");
    for (const auto& r : requests)
        EXPECT_TRUE(r.ChecksumOk && r.HeaderOk);
}

TEST_F(ProtocolTest, ByteWiseSendingMatchesTheFrame)
{
    proto->SendCfgPacketStartInfo(0x48);
    proto->SendCfgWord(0xFFFF);
    proto->SendCfgChecksum();
    const std::string expected = Bytes({ 0xF1, 0x01, 0x00, 0x48, 0xF0, 0x0F, 0xF0, 0x0F, 0x02, 0x47, 0xFD });
    ASSERT_TRUE(panel.WaitForBytes(expected.size(), WaitMs));
    EXPECT_EQ(panel.ReceivedBytes(), expected);
}

TEST_F(ProtocolTest, ReplyToJ)
{
    EXPECT_EQ(SimulatedPanel::Frame(0x4B, ""), Bytes({ 0xFA, 0x01, 0x00, 0x4B, 0x00, 0x4C, 0xFD }));
    proto->PacketTransaction(0x4A, GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(1));
    EXPECT_EQ(replies[0], Bytes({ 0x01, 0x00, 0x4B }));
    EXPECT_EQ(errors, 0);
    EXPECT_FALSE(proto->TimeoutRunning());
}

TEST_F(ProtocolTest, HandlerRepliesWithData)
{
    panel.SetHandler(0x46, [](const SimulatedPanel::Request& r) {
        return SimulatedPanel::Reply { 0x47, "PX20 V7.03 \xF0\xFA\xFD\xFF" + r.Data };
    });
    proto->PacketTransaction(0x46, 1, "\xF1", GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(1));
    EXPECT_EQ(replies[0].substr(2), "\x47PX20 V7.03 \xF0\xFA\xFD\xFF\xF1");
}

TEST_F(ProtocolTest, NoReplyGivesOneTimeout)
{
    panel.SetFaults({ .NoReply = true });
    proto->PacketTransaction(0x4A, 40);
    ASSERT_TRUE(RunUntil([&] { return errors > 0; }, WaitMs));
    RunFor(120);
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(replies.empty());
}

TEST_F(ProtocolTest, RealOneSecondTimeout)
{
    panel.SetFaults({ .NoReply = true });
    QElapsedTimer clock;
    qint64 firedAt = -1;
    proto->OnPacketRxError = [&](TSerialComms*) {
        ++errors;
        firedAt = clock.elapsed();
    };
    clock.start();
    proto->PacketTransaction(0x4A, 1000);
    // A busy machine may fire it late, never early.
    ASSERT_TRUE(RunUntil([&] { return errors > 0; }, WaitMs));
    EXPECT_GE(firedAt, 995) << "time-out came early";
    RunFor(50);
    EXPECT_EQ(errors, 1);
}

TEST_F(ProtocolTest, BadChecksumIsOneErrorWithoutLaterTimeout)
{
    panel.SetFaults({ .BadChecksum = true });
    proto->PacketTransaction(0x4A, GenerousTimeoutMs);
    ASSERT_TRUE(RunUntil([&] { return errors > 0; }, WaitMs));
    EXPECT_FALSE(proto->TimeoutRunning());
    RunFor(100);
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(replies.empty());
}

TEST_F(ProtocolTest, WrongCodeAndShortDataReachTheCaller)
{
    // Framing is fine: telling these apart is the caller's job.
    panel.SetHandler(0x46, [](const SimulatedPanel::Request&) {
        return SimulatedPanel::Reply { 0x47, "ABCDEFGH" };
    });
    panel.PushFaults({ .WrongReplyCode = true });
    panel.PushFaults({ .ShortReply = true, .ShortLength = 3 });
    proto->PacketTransaction(0x46, GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(1));
    proto->PacketTransaction(0x46, GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(2));
    EXPECT_EQ(replies[0].substr(2),
        "\x48"
        "ABCDEFGH");
    EXPECT_EQ(replies[1].substr(2),
        "\x47"
        "ABC");
    EXPECT_EQ(errors, 0);
}

TEST_F(ProtocolTest, TruncatedFrameIsAnError)
{
    panel.SetFaults({ .TruncatedFrame = true });
    proto->PacketTransaction(0x4A, GenerousTimeoutMs);
    ASSERT_TRUE(RunUntil([&] { return errors > 0; }, WaitMs));
    EXPECT_TRUE(replies.empty());
    EXPECT_FALSE(proto->TimeoutRunning());
}

TEST_F(ProtocolTest, NoiseAndFalseStartBeforeTheReply)
{
    panel.SetFaults({ .NoiseBefore = "\r\nRING\xF0\xFD", .SecondStart = true });
    proto->PacketTransaction(0x4A, GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(1));
    EXPECT_EQ(replies[0], Bytes({ 0x01, 0x00, 0x4B }));
    EXPECT_EQ(stray, "\r\nRING\xF0\xFD");
    EXPECT_EQ(errors, 0);
}

TEST_F(ProtocolTest, ReplySplitByteByByteWithEscapes)
{
    panel.SetHandler(0x4C, [](const SimulatedPanel::Request&) {
        return SimulatedPanel::Reply { 0x4D, std::string("\xF0\xFD\xFA\xF1 zone", 9) };
    });
    panel.SetFaults({ .ByteByByte = true, .ByteGapMs = 3 });
    proto->PacketTransaction(0x4C, GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(1));
    EXPECT_EQ(replies[0].substr(2), std::string("\x4D\xF0\xFD\xFA\xF1 zone", 10));
    EXPECT_EQ(errors, 0);
}

TEST_F(ProtocolTest, TwoRepliesMergedIntoOneBurst)
{
    panel.PushFaults({ .HoldForNext = true });
    proto->PacketTransaction(0x4A, 40);
    ASSERT_TRUE(RunUntil([&] { return errors > 0; }, WaitMs));
    proto->PacketTransaction(0x4C, GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(2));
    EXPECT_EQ(static_cast<uint8_t>(replies[0][2]), 0x4B);
    EXPECT_EQ(static_cast<uint8_t>(replies[1][2]), 0x4D);
    EXPECT_EQ(errors, 1);
}

TEST_F(ProtocolTest, LateReplyAfterTheTimeout)
{
    ExpireOnSilence expiry(panel, *proto);
    std::size_t repliesAtTimeout = 0;
    proto->OnPacketRxError = [&](TSerialComms*) {
        ++errors;
        repliesAtTimeout = replies.size();
    };
    panel.PushFaults({ .DelayMs = 20 });
    proto->PacketTransaction(0x4A, GenerousTimeoutMs);
    // It still parses when it comes; the caller decides what it is worth.
    ASSERT_TRUE(WaitReplies(1));
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(repliesAtTimeout, 0u);
}

TEST_F(ProtocolTest, PacedLineAt9600Baud)
{
    panel.SetBaudRate(9600);
    const std::string data(60, '\xF5');
    panel.SetHandler(0x52, [&](const SimulatedPanel::Request& r) {
        return SimulatedPanel::Reply { 0x53, r.Data };
    });
    proto->PacketTransaction(0x52, 60, data.data(), GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(1));
    EXPECT_EQ(replies[0].substr(3), data);
}

TEST_F(ProtocolTest, NextRequestFromInsideTheHandler)
{
    int sent = 1;
    proto->OnPacketReceived = [&](TSerialComms*) {
        replies.emplace_back(
            reinterpret_cast<const char*>(proto->GetPacketData()), proto->GetPacketDataLength());
        if (sent < 25) {
            const char item = static_cast<char>(sent++);
            proto->PacketTransaction(0x50, 1, &item, GenerousTimeoutMs);
        }
    };
    const char first = 0;
    proto->PacketTransaction(0x50, 1, &first, GenerousTimeoutMs);
    ASSERT_TRUE(WaitReplies(25));
    RunFor(20);
    EXPECT_EQ(replies.size(), 25u);
    EXPECT_EQ(errors, 0);
    const auto requests = panel.Requests();
    ASSERT_EQ(requests.size(), 25u);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(requests[i].Data, std::string(1, static_cast<char>(i)));
}

TEST_F(ProtocolTest, CloseStopsThePendingTimeout)
{
    panel.SetFaults({ .NoReply = true });
    proto->PacketTransaction(0x4A, 30);
    proto->Close();
    RunFor(100);
    EXPECT_EQ(errors, 0);
}

TEST_F(ProtocolTest, SuspendedPortArmsNoTimeoutAndFiresNothing)
{
    proto->Suspend();
    proto->PacketTransaction(0x4A, 30);
    EXPECT_FALSE(proto->TimeoutRunning());
    // The reply is parsed all the same, and handed to nobody.
    ASSERT_TRUE(RunUntil([&] { return proto->GetPacketData()[2] == 0x4B; }, WaitMs));
    RunFor(30);
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(errors, 0);
    // Open clears the suspension.
    proto->Close();
    proto->Open();
    EXPECT_FALSE(proto->Suspended());
}

TEST_F(ProtocolTest, AFailingHandlerIsReportedAndLaterBytesStillArrive)
{
    FakePrompts prompts;
    prompts.Answer(platform::mrOk);
    int calls = 0;
    proto->OnPacketReceived = [&](TSerialComms*) {
        if (++calls == 1)
            throw Exception("Invalid reply");
        replies.emplace_back("second");
    };
    panel.PushFaults({ .HoldForNext = true });
    proto->PacketTransaction(0x4A, 0);
    proto->PacketTransaction(0x4A, 0); // both replies in one burst
    ASSERT_TRUE(WaitReplies(1));
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(prompts.Log.size(), 1u);
    EXPECT_EQ(prompts.Log[0].Text, "Invalid reply."); // the error box's full-stop rule
}

} // namespace
