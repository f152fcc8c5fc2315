#pragma once
// The configuration transfer without widgets: moves a whole configuration to
// or from the panel as a chain of stages, one request per item, with retries,
// the passcode sent again after a failed send item, the question after every
// tenth failure and the user's abort. The transfer window shows State() and
// forwards its Abort button here.
#include "Commssession.h"
#include "Downloadlines.h"
#include "Panelpackets.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class TQuorvelProtocol;
class TSerialComms;
class TPX10ConfigData;

namespace comms {

class TInitiatePanelComms;

// What the transfer window shows. Texts are UTF-8 and translated.
struct TransferState {
    std::string Caption;
    bool Sending = true; // computer picture left of the animation, panel right
    bool Animating = false;
    int Progress = 0;
    int ProgressMax = 0;
    std::string RetryText; // status panel 0
    std::string StageText; // status panel 1
};

class TConfigTransfer : public TextDownloadSource {
public:
    enum class Stage {
        GeneralSetup,
        ZoneTexts,
        GsmItems,
        OnboardOutputs,
        CBERules,
        Points,
        EventLog,
        DeviceData
    };

    TConfigTransfer(ModalHost& Host, TInitiatePanelComms& Detection, CommsTiming Timing = {});
    ~TConfigTransfer() override;
    TConfigTransfer(const TConfigTransfer&) = delete;
    TConfigTransfer& operator=(const TConfigTransfer&) = delete;

    bool SendConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config);
    // Config receives what the panel holds only when every stage succeeded;
    // after a failure or an abort it is as it was.
    bool ReceiveConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config);
    // Detection, then the stages; the port is closed at the end whatever happened.
    bool TransferConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config);

    // The panel's records as CSV lines, added to Lines: the event log, and the
    // device data of every point (Address -1) or of one (1..99, 101..199).
    // Detection runs in the receive direction; the port is closed at the end.
    bool DownloadEventLog(TQuorvelProtocol* Protocol, TextLines* Lines) override;
    bool DownloadDeviceData(TQuorvelProtocol* Protocol, TextLines* Lines, int Address) override;

    void FormShow();
    void SendPacket(unsigned char Command, unsigned DataLength, const char* Data);
    void CommsFailure(TSerialComms* Sender);
    void AbortClicked(); // the Abort button and Escape
    void FormClose();

    const TransferState& State() const { return FState; }
    TInitiatePanelComms& Detection() { return FDetection; }
    bool Running() const { return FRunning; }
    Stage CurrentStage() const { return FStage; }
    int ItemIndex() const { return FItemIndex; }
    int RetryCount() const { return FRetryCount; }
    int FirmwareVersion() const { return FFirmwareVersion; }
    int FirmwareNumber() const { return FFirmwareNumber; }
    // Requests sent and failures counted by the last transfer.
    unsigned long RequestsSent() const { return FRequestsSent; }
    unsigned long FailureCount() const { return FFailures; }

    void SetTiming(const CommsTiming& Timing) { FTiming = Timing; }

private:
    // Shows the window until it ends; raises when the device hung up.
    int RunWindow();
    void StartStage(Stage stage);
    void SendItemRequest();
    void ItemReply();
    // True for the reply to the request in progress; a late reply to an
    // earlier request restarts the wait, any other counts as a failure.
    bool IsCurrentReply(const unsigned char* p, unsigned length);
    void PasscodeRetryReply();
    void ItemSucceeded();
    bool NextItem();
    void StatusUpdate();
    void Detach();
    void Finish(int result);
    std::string ReplyPrefix() const;
    unsigned char RequestCode() const;
    std::size_t BlockSize() const;
    ConfigItem Item() const; // of a configuration stage
    void Changed() { FHost.Changed(); }
    bool RunDownload(TQuorvelProtocol* Protocol, TextLines* Lines, Stage stage, int firstItem);
    void StartDownload();
    void SendDownloadRequest();
    void DownloadReply();
    void DownloadSucceeded();
    void FinishDownload();
    // True when the reply answers another request of the download and was
    // dropped; the request in progress then waits on within its time-out.
    bool DropStaleReply(const unsigned char* p, unsigned length);
    void KeepWaiting();
    void RefetchEvent();

    ModalHost& FHost;
    TInitiatePanelComms& FDetection;
    CommsTiming FTiming;

    bool FSend = true;
    int FRetryCount = 0;
    int FItemIndex = 0;
    int FFirmwareVersion = 99999;
    int FFirmwareNumber = 0;
    TQuorvelProtocol* FProtocol = nullptr;
    TPX10ConfigData* FConfig = nullptr; // being sent, or being filled
    std::unique_ptr<TPX10ConfigData> FReceived; // filled by a receive
    std::function<void(TSerialComms*)> FSavedHandler;
    bool FPasscodeRetryActive = false;
    std::function<void()> FRepeatRequest;
    Stage FStage = Stage::GeneralSetup;
    bool FRunning = false;
    TransferState FState;
    unsigned long FRequestsSent = 0;
    unsigned long FFailures = 0;
    // Downloads.
    TextLines* FLines = nullptr;
    bool FSingleDevice = false;
    int FFirstItem = 0;
    EventLogLines FEventLog;
    EventLogEcho FEcho;
    std::size_t FLinesBase = 0; // lines the caller had before the download
    std::chrono::steady_clock::time_point FReplyDeadline; // of the request in progress
};

} // namespace comms
