#pragma once
// The panel's packet framing, apart from any port: building a request frame and
// the byte-by-byte receive state machine. Kept free of I/O so it can be driven
// directly (fuzzing, throughput measurement).
#include <cstddef>
#include <cstdint>
#include <string>

namespace comms {

constexpr uint8_t RequestStart = 0xF1;
constexpr uint8_t ReplyStart = 0xFA;
constexpr uint8_t PacketEnd = 0xFD;
constexpr uint8_t PacketEscape = 0xF0;

// Appends the escaped form of one byte of a packet body.
inline void AppendEscaped(std::string& out, uint8_t value)
{
    if (value >= PacketEscape) {
        out.push_back(static_cast<char>(PacketEscape));
        out.push_back(static_cast<char>(static_cast<uint8_t>(value + 0x10)));
    } else {
        out.push_back(static_cast<char>(value));
    }
}

// The complete wire bytes of a request: F1, escaped (01 00 command data
// checksum), FD.
std::string BuildRequestFrame(uint8_t command, const uint8_t* data, std::size_t length);

// Receive state machine for the panel's replies.
class PacketReceiver {
public:
    enum class Result {
        Idle, // outside a packet (the byte is not part of one)
        InPacket, // the byte was taken into the current packet
        Complete, // a valid reply has just ended
        Error, // a reply ended short, with a wrong checksum, or overflowed
    };

    static constexpr std::size_t BufferSize = 256;
    static constexpr std::size_t MinPacket = 5; // 2 header bytes, code, checksum
    static constexpr std::size_t MaxPacket = 255; // stored bytes a valid reply may hold

    Result Receive(uint8_t b)
    {
        if (b == PacketEscape) {
            FEscapePending = true;
            return FInPacket ? Result::InPacket : Result::Idle;
        }
        if (b == ReplyStart) {
            FCount = 0;
            FInPacket = true;
            FSum = 0;
            FEscapePending = false;
            return Result::InPacket;
        }
        if (b == PacketEnd) {
            if (!FInPacket)
                return Result::Idle;
            FInPacket = false;
            const uint16_t sum = static_cast<uint16_t>(FSum - (FLastTwo >> 8) - (FLastTwo & 0xFF));
            if (FCount >= MinPacket && FCount <= MaxPacket && FLastTwo == sum) {
                FCount -= 2;
                return Result::Complete;
            }
            return Result::Error;
        }
        if (!FInPacket)
            return Result::Idle;
        if (FEscapePending) {
            b = static_cast<uint8_t>(b + PacketEscape);
            FEscapePending = false;
        }
        if (FCount >= BufferSize) {
            FInPacket = false;
            return Result::Error;
        }
        FBuffer[FCount++] = b;
        FSum = static_cast<uint16_t>(FSum + b);
        FLastTwo = static_cast<uint16_t>((FLastTwo << 8) | b);
        return Result::InPacket;
    }

    // Drops a partly received reply (response time-out).
    void Reset() { FInPacket = false; }

    bool InPacket() const { return FInPacket; }
    const uint8_t* Data() const { return FBuffer; }
    // Bytes stored for the current reply; after a valid reply, without its checksum.
    std::size_t Length() const { return FCount; }

private:
    uint8_t FBuffer[BufferSize] = {};
    std::size_t FCount = 0; // full width, so no stream can move it past the buffer
    uint16_t FSum = 0;
    uint16_t FLastTwo = 0;
    bool FInPacket = false;
    bool FEscapePending = false;
};

} // namespace comms
