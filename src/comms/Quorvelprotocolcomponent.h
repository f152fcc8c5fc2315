#pragma once
// The panel's packet protocol over the serial port: framed, escaped and
// checksummed requests out, a parsed reply (or an error) back through events,
// one response time-out per request.
#include "PacketFraming.h"
#include "Serialcommscomponent.h"

#include <chrono>
#include <cstdint>
#include <functional>

class TQuorvelProtocol : public TSerialComms {
public:
    TQuorvelProtocol();
    ~TQuorvelProtocol() override;

    void Open();
    void Suspend() { FSuspended = true; }
    void Resume() { FSuspended = false; }
    bool Suspended() const { return FSuspended; }

    void PacketTransaction(unsigned char Command, unsigned DataLength, const char* Data, unsigned TimeoutMs);
    void PacketTransaction(unsigned char Command, unsigned TimeoutMs);

    // Byte-wise sending, each byte through its own write.
    void SendCfgPacketStartInfo(unsigned char Command);
    void SendCfgByte(unsigned char Value);
    void SendCfgWord(unsigned short Value);
    void SendCfgChecksum();

    // Receive state machine for one byte: 0 idle (also after a failed packet),
    // 1 inside a packet, 2 a valid packet is complete.
    int ConfigurationPacketReceiver(unsigned char Value);
    void SerialCommsDataRxd(TSerialComms* Sender, char& Data);
    void PacketResponseTimeout(TSerialComms* Sender);
    // After a failed request: everything received so far is dropped, a partly
    // parsed reply included, so that one burst of noise fails one request
    // rather than each of its broken frames failing the next.
    void DiscardReceived();

    // Drops every byte that arrives until none has come for `QuietMs` (each
    // byte starts that wait again) or `BoundMs` have passed in all, then
    // discards what was received and calls `Quiet`. Meanwhile no packet, error
    // or stray byte is reported: for replies that tell nothing of the request
    // they answer, a late answer to a failed request must never be taken for
    // the answer to its repeat. A second call while one waits is ignored.
    void AwaitQuietLine(unsigned QuietMs, unsigned BoundMs, std::function<void()> Quiet);
    bool AwaitingQuiet() const { return FQuiet.Active; }
    // Ends a wait without calling its `Quiet`.
    void CancelQuietWait();

    // The reply from its first header byte: the reply code is at index 2.
    const unsigned char* GetPacketData() const { return FReceiver.Data(); }
    // 3 + reply data length after a valid reply.
    unsigned GetPacketDataLength() const { return static_cast<unsigned>(FReceiver.Length()); }

    TNotifyEvent OnPacketReceived;
    TNotifyEvent OnPacketRxError;
    TDataRxdEvent OnNonProtocolCharRxd;

private:
    void RaisePacketRxError();
    void QuietCheck();

    uint16_t FTxSum = 0;
    comms::PacketReceiver FReceiver;
    bool FSuspended = false;

    struct QuietWait {
        bool Active = false;
        std::chrono::steady_clock::time_point Start;
        std::chrono::steady_clock::time_point LastByte;
        unsigned QuietMs = 0;
        unsigned BoundMs = 0;
        std::function<void()> Quiet;
    } FQuiet;
};
