// The reply parser and its events, fed byte by byte without a port.
#include "CommsTestUtil.h"
#include "PacketFraming.h"
#include "Quorvelprotocolcomponent.h"
#include "support/SimulatedPanel.h"

#include <gtest/gtest.h>

namespace {

class PacketParserTest : public RecordingProtocolTest {
protected:
    void Feed(const std::string& bytes)
    {
        for (char c : bytes) {
            char d = c;
            proto->SerialCommsDataRxd(proto.get(), d);
        }
    }
};

TEST(RequestFrame, GoldenBytes)
{
    const uint8_t d64[] = { 0x64 };
    const uint8_t pass[] = { 0x04, 0xD2 };
    const uint8_t ffff[] = { 0xFF, 0xFF };
    const uint8_t fd[] = { 0xFD };
    EXPECT_EQ(
        comms::BuildRequestFrame(0x4A, nullptr, 0), Bytes({ 0xF1, 0x01, 0x00, 0x4A, 0x00, 0x4B, 0xFD }));
    EXPECT_EQ(
        comms::BuildRequestFrame(0x4A, d64, 1), Bytes({ 0xF1, 0x01, 0x00, 0x4A, 0x64, 0x00, 0xAF, 0xFD }));
    EXPECT_EQ(comms::BuildRequestFrame(0x48, pass, 2),
        Bytes({ 0xF1, 0x01, 0x00, 0x48, 0x04, 0xD2, 0x01, 0x1F, 0xFD }));
    EXPECT_EQ(comms::BuildRequestFrame(0x48, ffff, 2),
        Bytes({ 0xF1, 0x01, 0x00, 0x48, 0xF0, 0x0F, 0xF0, 0x0F, 0x02, 0x47, 0xFD }));
    // A data byte FD travels as F0 0D; a checksum byte F3 as F0 03.
    EXPECT_EQ(comms::BuildRequestFrame(0x10, fd, 1),
        Bytes({ 0xF1, 0x01, 0x00, 0x10, 0xF0, 0x0D, 0x01, 0x0E, 0xFD }));
    EXPECT_EQ(comms::BuildRequestFrame(0xF2, nullptr, 0),
        Bytes({ 0xF1, 0x01, 0x00, 0xF0, 0x02, 0x00, 0xF0, 0x03, 0xFD }));
}

TEST_F(PacketParserTest, ShortestValidReply)
{
    Feed(Bytes({ 0xFA, 0x01, 0x00, 0x4B, 0x00, 0x4C, 0xFD }));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], Bytes({ 0x01, 0x00, 0x4B }));
    EXPECT_EQ(errors, 0);
    EXPECT_TRUE(stray.empty());
}

TEST_F(PacketParserTest, LongestValidReplyAndOneByteMore)
{
    // 255 stored bytes: header, code, 250 data bytes (every value, escaped or
    // not, high bit set or not), checksum.
    std::string data;
    for (int i = 0; i < 250; ++i)
        data += static_cast<char>((i * 7 + 0xE0) & 0xFF);
    Feed(SimulatedPanel::Frame(0x53, data));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(proto->GetPacketDataLength(), 253u);
    EXPECT_EQ(replies[0], std::string("\x01\x00\x53", 3) + data);

    // 256 stored bytes fail the length test.
    Feed(SimulatedPanel::Frame(0x53, data + "x"));
    EXPECT_EQ(replies.size(), 1u);
    EXPECT_EQ(errors, 1);
}

TEST_F(PacketParserTest, TooShortReplyIsOneError)
{
    Feed(Bytes({ 0xFA, 0x01, 0x00, 0x4B, 0xFD }));
    Feed(Bytes({ 0xFA, 0xFD }));
    EXPECT_EQ(errors, 2);
    EXPECT_TRUE(replies.empty());
    // The FD that closed a rejected packet is offered as a stray byte.
    EXPECT_EQ(stray, Bytes({ 0xFD, 0xFD }));
}

TEST_F(PacketParserTest, OverflowEndsThePacketOnce)
{
    std::string flood(1, '\xFA');
    flood += std::string(300, '\x11');
    Feed(flood);
    EXPECT_EQ(errors, 1);
    // Bytes after the overflow are outside any packet.
    EXPECT_EQ(stray.size(), 300u - 256u); // the overflowing byte included
    Feed("\xFD");
    EXPECT_EQ(errors, 1);
    // The parser recovers at the next start byte.
    Feed(SimulatedPanel::Frame(0x4B, "ok"));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].substr(3), "ok");
}

TEST_F(PacketParserTest, EscapeBeforeEndByteStillEndsThePacket)
{
    Feed(Bytes({ 0xFA, 0x01, 0x00, 0x4B, 0x00, 0x4C, 0xF0, 0xFD }));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], Bytes({ 0x01, 0x00, 0x4B }));
    // The dangling escape does not leak into the next packet.
    Feed(SimulatedPanel::Frame(0x4B, "A"));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[1].substr(3), "A");
}

TEST_F(PacketParserTest, SecondStartByteRestartsThePacket)
{
    Feed(Bytes({ 0xFA, 0x01, 0x00, 0x99, 0x12 }) + SimulatedPanel::Frame(0x4B, "xy"));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], std::string("\x01\x00\x4B", 3) + "xy");
    EXPECT_EQ(errors, 0);
}

TEST_F(PacketParserTest, NonProtocolBytesAreOffered)
{
    Feed(std::string("AT\r\n") + Bytes({ 0xF0, 0xFD }) + SimulatedPanel::Frame(0x4B, "") + "Z");
    EXPECT_EQ(stray, std::string("AT\r\n") + Bytes({ 0xF0, 0xFD }) + "Z");
    ASSERT_EQ(replies.size(), 1u);
}

TEST_F(PacketParserTest, TwoRepliesInOneBurst)
{
    Feed(SimulatedPanel::Frame(0x4B, "one") + SimulatedPanel::Frame(0x47, "two"));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].substr(2), "\x4Bone");
    EXPECT_EQ(replies[1].substr(2), "\x47two");
}

TEST_F(PacketParserTest, BadChecksumIsOneErrorAndStopsTheTimeout)
{
    proto->PacketTransaction(0x4A, 60); // port closed: nothing sent, time-out armed
    ASSERT_TRUE(proto->TimeoutRunning());
    Feed(SimulatedPanel::Frame(0x4B, "", true));
    EXPECT_EQ(errors, 1);
    EXPECT_FALSE(proto->TimeoutRunning());
    RunFor(150);
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(replies.empty());
}

TEST_F(PacketParserTest, ValidReplyStopsTheTimeout)
{
    proto->PacketTransaction(0x4A, 60);
    Feed(SimulatedPanel::Frame(0x4B, ""));
    EXPECT_FALSE(proto->TimeoutRunning());
    RunFor(150);
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(replies.size(), 1u);
}

TEST_F(PacketParserTest, TimeoutDropsAPartialReply)
{
    proto->PacketTransaction(0x4A, 30);
    Feed(Bytes({ 0xFA, 0x01, 0x00 }));
    ASSERT_TRUE(RunUntil([&] { return errors > 0; }, 1000));
    // The rest of the late reply is no longer part of a packet.
    Feed(Bytes({ 0x4B, 0x00, 0x4C, 0xFD }));
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(stray, Bytes({ 0x4B, 0x00, 0x4C, 0xFD }));
    EXPECT_EQ(errors, 1);
}

TEST_F(PacketParserTest, SuspendedEventsStillParse)
{
    proto->Suspend();
    proto->PacketTransaction(0x4A, 30);
    EXPECT_FALSE(proto->TimeoutRunning());
    Feed("noise" + SimulatedPanel::Frame(0x4B, "q") + SimulatedPanel::Frame(0x4B, "", true));
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(errors, 0);
    EXPECT_TRUE(stray.empty());
    // The buffer took the valid reply all the same.
    EXPECT_EQ(proto->GetPacketData()[2], 0x4B);
    proto->Resume();
    Feed(SimulatedPanel::Frame(0x4D, ""));
    EXPECT_EQ(replies.size(), 1u);
}

TEST_F(PacketParserTest, NoTimeoutWithoutErrorHandlerOrWithZero)
{
    proto->PacketTransaction(0x4A, 0);
    EXPECT_FALSE(proto->TimeoutRunning());
    proto->OnPacketRxError = nullptr;
    proto->PacketTransaction(0x4A, 20);
    EXPECT_FALSE(proto->TimeoutRunning());
}

TEST_F(PacketParserTest, HandlerMayReplaceItself)
{
    int first = 0, second = 0;
    proto->OnPacketReceived = [&](TSerialComms*) {
        ++first;
        proto->OnPacketReceived = [&](TSerialComms*) { ++second; };
    };
    Feed(SimulatedPanel::Frame(0x4B, "") + SimulatedPanel::Frame(0x4B, ""));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

} // namespace
