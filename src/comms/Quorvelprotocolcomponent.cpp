#include "Quorvelprotocolcomponent.h"

TQuorvelProtocol::TQuorvelProtocol()
{
    SetDataRxd([this](TSerialComms* sender, char& data) { SerialCommsDataRxd(sender, data); });
    Resume();
}

TQuorvelProtocol::~TQuorvelProtocol() = default;

void TQuorvelProtocol::Open()
{
    Resume();
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
