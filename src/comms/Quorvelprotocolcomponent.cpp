#include "Quorvelprotocolcomponent.h"

#include <algorithm>

TQuorvelProtocol::TQuorvelProtocol()
{
    SetDataRxd([this](TSerialComms* sender, char& data) { SerialCommsDataRxd(sender, data); });
    Resume();
}

TQuorvelProtocol::~TQuorvelProtocol() = default;

void TQuorvelProtocol::Open()
{
    Resume();
    CancelQuietWait();
    TSerialComms::Open();
}

void TQuorvelProtocol::PacketTransaction(
    unsigned char Command, unsigned DataLength, const char* Data, unsigned TimeoutMs)
{
    // One write per request: the panel sees the same bytes as byte-wise
    // sending, with one system call instead of one per byte.
    const std::string frame
        = comms::BuildRequestFrame(Command, reinterpret_cast<const uint8_t*>(Data), Data ? DataLength : 0);
    Write(frame.data(), static_cast<int>(frame.size()));
    if (OnPacketRxError && TimeoutMs != 0 && !FSuspended)
        StartTimeout([this](TSerialComms* sender) { PacketResponseTimeout(sender); }, TimeoutMs);
}

void TQuorvelProtocol::PacketTransaction(unsigned char Command, unsigned TimeoutMs)
{
    PacketTransaction(Command, 0, nullptr, TimeoutMs);
}

void TQuorvelProtocol::SendCfgPacketStartInfo(unsigned char Command)
{
    Write(static_cast<char>(comms::RequestStart));
    FTxSum = 0;
    SendCfgByte(0x01);
    SendCfgByte(0x00);
    SendCfgByte(Command);
}

void TQuorvelProtocol::SendCfgByte(unsigned char Value)
{
    FTxSum = static_cast<uint16_t>(FTxSum + Value);
    if (Value >= comms::PacketEscape) {
        Write(static_cast<char>(comms::PacketEscape));
        Write(static_cast<char>(static_cast<unsigned char>(Value + 0x10)));
    } else {
        Write(static_cast<char>(Value));
    }
}

void TQuorvelProtocol::SendCfgWord(unsigned short Value)
{
    SendCfgByte(static_cast<unsigned char>(Value >> 8));
    SendCfgByte(static_cast<unsigned char>(Value & 0xFF));
}

void TQuorvelProtocol::SendCfgChecksum()
{
    const uint16_t sum = FTxSum;
    SendCfgWord(sum);
    Write(static_cast<char>(comms::PacketEnd));
}

void TQuorvelProtocol::RaisePacketRxError()
{
    ClearTimeout();
    if (OnPacketRxError && !FSuspended) {
        TNotifyEvent handler = OnPacketRxError;
        handler(this);
    }
}

int TQuorvelProtocol::ConfigurationPacketReceiver(unsigned char Value)
{
    switch (FReceiver.Receive(Value)) {
    case comms::PacketReceiver::Result::Idle:
        return 0;
    case comms::PacketReceiver::Result::InPacket:
        return 1;
    case comms::PacketReceiver::Result::Complete:
        return 2;
    case comms::PacketReceiver::Result::Error:
        RaisePacketRxError();
        return 0;
    }
    return 0;
}

void TQuorvelProtocol::SerialCommsDataRxd(TSerialComms* Sender, char& Data)
{
    if (FQuiet.Active) {
        FQuiet.LastByte = std::chrono::steady_clock::now();
        return;
    }
    switch (ConfigurationPacketReceiver(static_cast<unsigned char>(Data))) {
    case 0:
        if (OnNonProtocolCharRxd && !FSuspended) {
            TDataRxdEvent handler = OnNonProtocolCharRxd;
            handler(this, Data);
        }
        break;
    case 2:
        ClearTimeout();
        if (OnPacketReceived && !FSuspended) {
            TNotifyEvent handler = OnPacketReceived;
            handler(this);
        }
        break;
    default:
        break;
    }
}

void TQuorvelProtocol::PacketResponseTimeout(TSerialComms* Sender)
{
    FReceiver.Reset();
    if (OnPacketRxError && !FSuspended) {
        TNotifyEvent handler = OnPacketRxError;
        handler(this);
    }
}

void TQuorvelProtocol::DiscardReceived()
{
    DiscardInput();
    FReceiver.Reset();
}

void TQuorvelProtocol::AwaitQuietLine(unsigned QuietMs, unsigned BoundMs, std::function<void()> Quiet)
{
    if (FQuiet.Active)
        return;
    FReceiver.Reset();
    const auto now = std::chrono::steady_clock::now();
    FQuiet = { true, now, now, QuietMs, BoundMs, std::move(Quiet) };
    StartTimeout([this](TSerialComms*) { QuietCheck(); }, QuietMs);
}

void TQuorvelProtocol::CancelQuietWait()
{
    if (!FQuiet.Active)
        return;
    FQuiet = {};
    ClearTimeout();
}

void TQuorvelProtocol::QuietCheck()
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const auto now = std::chrono::steady_clock::now();
    const long long sinceByte = duration_cast<milliseconds>(now - FQuiet.LastByte).count();
    const long long sinceStart = duration_cast<milliseconds>(now - FQuiet.Start).count();
    const long long toQuiet = FQuiet.QuietMs - sinceByte;
    const long long toBound = FQuiet.BoundMs - sinceStart;
    // While a question holds the events, the wait goes on until it is answered.
    if (FSuspended || (toQuiet > 0 && toBound > 0)) {
        const long long next = FSuspended ? FQuiet.QuietMs : std::min(toQuiet, toBound);
        StartTimeout([this](TSerialComms*) { QuietCheck(); }, static_cast<unsigned>(next));
        return;
    }
    std::function<void()> done = std::move(FQuiet.Quiet);
    FQuiet = {};
    DiscardReceived();
    if (done)
        done();
}
