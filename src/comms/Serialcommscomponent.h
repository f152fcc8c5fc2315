#pragma once
// Serial port component: one port opened raw 8N1, a receiver thread that moves
// incoming bytes into a buffer, and delivery of those bytes one by one on the
// GUI thread through OnDataRxd. A single-shot response timer ends in OnRxTimeout.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class QObject;

enum TCommPort : uint8_t { spCOM1, spCOM2, spCOM3, spCOM4, spCOM5, spCOM6, spCOM7, spCOM8 };
enum TCommBaud : uint8_t { cb9600, cb19200, cb38400, cb57600, cb115200 };

// "COM1".."COM8".
std::string CommPortName(TCommPort port);
// The device behind a port name: $PX10_COMn, else the setting "Setup/COMn Device",
// else /dev/ttyS<n-1>.
std::string CommPortDevice(TCommPort port);

class TSerialComms;
using TNotifyEvent = std::function<void(TSerialComms* Sender)>;
using TDataRxdEvent = std::function<void(TSerialComms* Sender, char& Data)>;

namespace comms {
class MessageClient;
}

class TSerialComms {
public:
    // The message number that announces received bytes on the GUI thread.
    static constexpr int DataRxdMessage = 3024;

    // Needs a QCoreApplication: received bytes and the response timer are
    // delivered through its event loop on the constructing thread.
    TSerialComms();
    virtual ~TSerialComms();
    TSerialComms(const TSerialComms&) = delete;
    TSerialComms& operator=(const TSerialComms&) = delete;

    void Open();
    void Close();
    bool IsOpen() const { return FHandle >= 0; }

    TCommPort CommPort() const { return FCommPort; }
    void SetCommPort(TCommPort port);
    TCommBaud Baud() const { return FBaud; }
    void SetBaud(TCommBaud baud);
    unsigned GetBaudRate() const;
    // The device path the port was opened on (empty while closed).
    const std::string& DevicePath() const { return FDevicePath; }

    void SetTimeout();
    // Bound on a write: this many milliseconds per byte (50 by default).
    void SetWriteTimeoutMultiplier(unsigned ms) { FWriteMsPerByte = ms; }

    int Write(char data);
    int Write(const char* text);
    int Write(const char* buffer, int length);
    int Read(char& data, unsigned long timeoutMs);
    int Read(char* buffer, int length, unsigned long timeoutMs);
    int GetAvailableByteCount() const;
    void CleanUp();
    void PurgeComms();
    // Drops every byte received so far: the device's input queue, the
    // receive buffer and what a delivery in progress has not handed on yet.
    void DiscardInput();

    const TDataRxdEvent& OnDataRxd() const { return FOnDataRxd; }
    void SetDataRxd(TDataRxdEvent handler);
    // True while a receiver thread runs.
    bool ReceiverRunning() const { return FThread.joinable(); }

    TNotifyEvent OnRxTimeout;
    void StartTimeout(TNotifyEvent handler, unsigned ms);
    void ClearTimeout();
    bool TimeoutRunning() const;

    // What the receiver keeps for the GUI thread: a few of the longest frames
    // the panel sends (255 bytes, each of them escaped, between start and end).
    static constexpr std::size_t ReceiveBufferLimit = 4 * (2 + 2 * 255);
    // Bytes read from the device since Open, and those of them dropped
    // because that much was already waiting.
    unsigned long long ReceivedByteCount() const { return FReceived.load(); }
    unsigned long long DroppedByteCount() const { return FDropped.load(); }
    // Bytes received and not yet taken by the GUI thread.
    std::size_t BufferedByteCount();

    // Called on the GUI thread, once, when the device hangs up while the port
    // is open (an adapter unplugged, the far end closed), after the bytes that
    // came before. Set while the line is already gone, it is called soon.
    void SetOnHangup(TNotifyEvent handler);
    bool HungUp() const { return FHangupError != 0; }
    // The device and the system's reason, e.g. "/dev/ttyUSB0: Input/output error".
    std::string HangupReason() const;

    // Routes of the timer and of the received-bytes message.
    void DataRxTimeout();
    void DataRxd();

private:
    // The port's device, checked and opened; raises when it is no terminal
    // or does not open.
    int OpenTerminal() const;
    void ApplyLineSettings();
    void StartReceiver();
    void StopReceiver();
    void ReceiverLoop();
    void NoteHangup(int error); // any thread
    [[noreturn]] void RaiseWithDevice(const char* message, int error) const;

    int FHandle = -1;
    std::string FDevicePath;
    TCommPort FCommPort = spCOM1;
    TCommBaud FBaud = cb9600;
    unsigned FWriteMsPerByte = 50;
    TDataRxdEvent FOnDataRxd;
    comms::MessageClient* FClient = nullptr;

    // Shared with the receiver thread.
    std::mutex FReadLock; // held from a read of the device until its bytes are buffered
    std::mutex FLock;
    std::string FRxBuffer;
    bool FPosted = false;
    std::atomic<unsigned long long> FReceived { 0 };
    std::atomic<unsigned long long> FDropped { 0 };

    std::atomic<int> FHangupError { 0 }; // errno of the hang-up, 0 while the line is up
    bool FHangupReported = false;
    TNotifyEvent FOnHangup;

    std::thread FThread;
    int FWakeFd = -1;
    std::atomic<bool> FStop { false };

    // GUI thread only: bytes taken from FRxBuffer and not yet handed on.
    std::string FPending;
    std::size_t FPendingPos = 0;
    bool FDelivering = false;
};
