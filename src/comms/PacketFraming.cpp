#include "PacketFraming.h"

namespace comms {

std::string BuildRequestFrame(uint8_t command, const uint8_t* data, std::size_t length)
{
    std::string out;
    out.reserve(2 * (length + 5) + 2);
    out.push_back(static_cast<char>(RequestStart));
    uint16_t sum = 0;
    auto body = [&](uint8_t b) {
        sum = static_cast<uint16_t>(sum + b);
        AppendEscaped(out, b);
    };
    body(0x01);
    body(0x00);
    body(command);
    for (std::size_t i = 0; i < length; ++i)
        body(data[i]);
    const uint16_t checksum = sum;
    AppendEscaped(out, static_cast<uint8_t>(checksum >> 8));
    AppendEscaped(out, static_cast<uint8_t>(checksum & 0xFF));
    out.push_back(static_cast<char>(PacketEnd));
    return out;
}

} // namespace comms
