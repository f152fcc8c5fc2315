#pragma once
// Panel detection and passcode, without widgets: finds the panel (J/K then
// F/G), reads its identification, refuses what the panel cannot hold and, for
// a send, has the panel accept the level 3 passcode. The detection dialog shows
// State() and forwards its buttons and keys here.
#include "Commssession.h"

#include <functional>
#include <string>

class TQuorvelProtocol;
class TPX10ConfigData;

namespace comms {

// What the detection dialog shows. Texts are UTF-8 and translated.
struct DetectionState {
    bool PictureVisible = true; // imgPX10
    bool PasscodeVisible = false; // lblPasscode
    bool PasscodeProtectedVisible = false;
    bool EnterPasscodeVisible = false;
    bool InvalidPasscodeVisible = false;
    bool PasscodeEditVisible = false;
    bool SoftwareIDVisible = false;
    bool RetryVisible = false;
    bool StartTransferVisible = false;
    bool PanelNotDetectedVisible = false;
    bool PX10NotFoundVisible = false;
    bool SearchingVisible = true;
    bool FocusPasscode = false; // the passcode edit should take the focus
    std::string Retries;
    std::string SearchingForPanel;
    std::string PX10NotFound;
    std::string PanelNotDetected;
    std::string SoftwareID; // shown text
    std::string Passcode; // content of the passcode edit (digits only)
};

class TInitiatePanelComms {
public:
    explicit TInitiatePanelComms(ModalHost& Host, CommsTiming Timing = {});
    ~TInitiatePanelComms();
    TInitiatePanelComms(const TInitiatePanelComms&) = delete;
    TInitiatePanelComms& operator=(const TInitiatePanelComms&) = delete;

    // Opens the port and runs the dialog; returns its modal result (mrOk when
    // the panel is ready). The port stays open: the caller closes it.
    int Execute(TQuorvelProtocol* Protocol, bool Send, int ConfiguredPanelType);

    // Steps of the dialog.
    void FormShow();
    void StartDetection(); // also the Retry button
    void StartTransferClicked(); // the Start Transfer button and Enter in the passcode
    void SendPasscode();
    void AbortClicked(); // the Abort button and Escape
    void FormClose();
    void SetPasscodeText(const std::string& Text);
    // Passcode edit keys: Enter starts the transfer; printable characters
    // other than digits are dropped; everything else passes.
    bool AcceptPasscodeKey(char32_t Key);

    // The panel's identification (Windows-1252 bytes, trimmed).
    const std::string& GetSoftwareID() const { return FSoftwareID; }
    int GetPanelFirmwareNumber() const;

    const DetectionState& State() const { return FState; }
    // The configuration whose devices the compatibility test counts; without
    // one, the configuration shown.
    void SetConfiguration(const TPX10ConfigData* Config) { FConfig = Config; }
    // The configuration shown, which a download (it gives none) is checked
    // against; null or unset: none, and nothing is counted.
    std::function<const TPX10ConfigData*()> ShownConfiguration;
    void SetTiming(const CommsTiming& Timing) { FTiming = Timing; }
    const CommsTiming& Timing() const { return FTiming; }
    ReplyTracker& Tracker() { return FTracker; }
    int RetryCount() const { return FRetryCount; }
    bool Sending() const { return FSend; }

    // Response time-out of the request in progress, started again after a late
    // reply to an earlier request was dropped.
    static void RestartTimeout(TQuorvelProtocol* Protocol, unsigned Ms);

private:
    void SendDetectionRequest(unsigned char Code);
    void DetectionReply();
    void DetectionFailure();
    // Counts a failed request, dropping what the line brought with it: true
    // when it is to be repeated, false once the repeats are used up and the
    // not-found state shows.
    bool CountFailure();
    void Identified();
    void PasscodeReply();
    void PasscodeFailure();
    void Detach();
    void Changed() { FHost.Changed(); }
    int PortNumber() const;

    ModalHost& FHost;
    CommsTiming FTiming;
    TQuorvelProtocol* FProtocol = nullptr;
    bool FSend = false;
    int FRetryCount = 0;
    int FConfiguredPanelType = 0;
    unsigned char FPasscodePacket[2] = { 0xFF, 0xFF };
    std::string FSoftwareID;
    const TPX10ConfigData* FConfig = nullptr;
    DetectionState FState;
    ReplyTracker FTracker;
    bool FEnded = false;
};

} // namespace comms
