// Feeds arbitrary bytes to the reply state machine and checks that it stays
// inside its buffer and only accepts replies whose checksum holds.
#include "PacketFraming.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    comms::PacketReceiver receiver;
    for (size_t i = 0; i < size; ++i) {
        const auto result = receiver.Receive(data[i]);
        const size_t length = receiver.Length();
        if (length > comms::PacketReceiver::BufferSize)
            std::abort();
        if (result == comms::PacketReceiver::Result::Complete) {
            if (length < 3 || length > 253)
                std::abort();
            const uint8_t* p = receiver.Data();
            unsigned sum = 0;
            for (size_t k = 0; k < length; ++k)
                sum += p[k];
            if ((sum & 0xFFFF) != ((unsigned(p[length]) << 8) | p[length + 1]))
                std::abort();
        }
    }
    return 0;
}
