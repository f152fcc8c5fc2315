// The event log and device data downloads of the transfer window: detection
// in the receive direction, then one request per event part or per point,
// with the transfer's retries, failure question and abort.
#include "Configtransfer.h"

#include "Initiatepanelcomms.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "Panelpackets.h"
#include "Prompts.h"
#include "Quorvelprotocolcomponent.h"

#include <algorithm>

namespace comms {

namespace {

constexpr unsigned char EventLogCommand = 0x58;
constexpr unsigned char DeviceDataCommand = 0x5A;

struct ClosePort {
    TQuorvelProtocol* Protocol;
    ~ClosePort()
    {
        if (Protocol)
            Protocol->Close();
    }
};

} // namespace

bool TConfigTransfer::DownloadEventLog(TQuorvelProtocol* Protocol, TextLines* Lines)
{
    FSingleDevice = false;
    return RunDownload(Protocol, Lines, Stage::EventLog, 0);
}

bool TConfigTransfer::DownloadDeviceData(TQuorvelProtocol* Protocol, TextLines* Lines, int Address)
{
    FSingleDevice = Address != -1;
    return RunDownload(Protocol, Lines, Stage::DeviceData, FSingleDevice ? Address : FirstPoint);
}

bool TConfigTransfer::RunDownload(TQuorvelProtocol* Protocol, TextLines* Lines, Stage stage, int firstItem)
{
    ClosePort closer { Protocol };
    FSend = false;
    FProtocol = Protocol;
    FLines = Lines;
    FStage = stage;
    FFirstItem = firstItem;
    FRequestsSent = 0;
    FFailures = 0;
    FPasscodeRetryActive = false;
    FSavedHandler = nullptr;
    FConfig = nullptr;
    FReceived.reset();
    FEcho.Reset();
    FLinesBase = Lines ? Lines->size() : 0;

    FDetection.SetConfiguration(nullptr);
    if (FDetection.Execute(Protocol, false, 0) != platform::mrOk) {
        FLines = nullptr;
        return false;
    }
    FFirmwareVersion = PanelFirmwareVersion(FDetection.GetSoftwareID());
    FFirmwareNumber = FDetection.GetPanelFirmwareNumber();
    FState.ProgressMax = stage == Stage::EventLog ? 1536 : 198;

    struct LinesReset {
        TextLines*& Lines;
        ~LinesReset() { Lines = nullptr; }
    } linesReset { FLines };
    return RunWindow() == platform::mrOk;
}

void TConfigTransfer::StartDownload()
{
    FState.StageText
        = Translate(FStage == Stage::EventLog ? "Transferring Event Log" : "Transferring Device Data");
    Changed();
    FItemIndex = FFirstItem;
    FRepeatRequest = [this] { SendDownloadRequest(); };
    FProtocol->OnPacketReceived = [this](TSerialComms*) { DownloadReply(); };
    FRepeatRequest();
}

void TConfigTransfer::SendDownloadRequest()
{
    if (FStage == Stage::EventLog) {
        const std::string request = EventLogRequest(FItemIndex);
        FDetection.Tracker().Sent(EventLogCommand + 1);
        FEcho.Sent(FItemIndex);
        SendPacket(EventLogCommand, static_cast<unsigned>(request.size()), request.data());
        return;
    }
    const char point = static_cast<char>(FItemIndex);
    FDetection.Tracker().Sent(DeviceDataCommand + 1);
    SendPacket(DeviceDataCommand, 1, &point);
}

bool TConfigTransfer::DropStaleReply(const unsigned char* p, unsigned length)
{
    const bool log = FStage == Stage::EventLog;
    const unsigned char code = (log ? EventLogCommand : DeviceDataCommand) + 1;
    if (length < (log ? 6u : 4u) || p[2] != code)
        return false;
    if (!log) {
        // The reply's point number need not be the one asked for; only the
        // number of a point asked for earlier marks a late second answer to
        // it, which must not be taken for the point in progress.
        const int point = p[3];
        if (point == 100 || point < FFirstItem || point >= FItemIndex)
            return false;
        KeepWaiting();
        return true;
    }
    switch (FEcho.Judge(FItemIndex, p + 3)) {
    case EventLogEcho::Verdict::Take:
        return false;
    case EventLogEcho::Verdict::Stale:
        KeepWaiting();
        return true;
    case EventLogEcho::Verdict::Refetch:
        RefetchEvent();
        return true;
    }
    return false;
}

void TConfigTransfer::KeepWaiting()
{
    using namespace std::chrono;
    const long long left = duration_cast<milliseconds>(FReplyDeadline - steady_clock::now()).count();
    TInitiatePanelComms::RestartTimeout(FProtocol, static_cast<unsigned>(std::max(left, 1LL)));
}

// Lines from the event taken in part from a reply to another request on are
// dropped and fetched again.
void TConfigTransfer::RefetchEvent()
{
    const int step = FEcho.RefetchStep();
    const int event = step / 3;
    const std::size_t kept = FLinesBase + (event > 0 ? 1 + event : 0); // the header, then a line an event
    if (FLines->size() > kept)
        FLines->resize(kept);
    FItemIndex = step;
    FState.Progress = step;
    StatusUpdate();
    FRepeatRequest();
}

void TConfigTransfer::DownloadReply()
{
    const unsigned char* p = FProtocol->GetPacketData();
    const unsigned length = FProtocol->GetPacketDataLength();
    if (DropStaleReply(p, length) || !IsCurrentReply(p, length))
        return;
    const unsigned char* data = p + 3;
    const std::size_t size = length > 3 ? length - 3 : 0;
    if (FStage == Stage::EventLog) {
        if (!FEventLog.Take(FItemIndex, data, size, *FLines)) {
            CommsFailure(FProtocol);
            return;
        }
        FEcho.Took(FItemIndex, data);
        FState.ProgressMax = FEventLog.StepCount();
        DownloadSucceeded();
        // Ends once every part of the log as last announced has arrived, also
        // when the log is empty or has shrunk below the step reached.
        if (++FItemIndex >= FEventLog.StepCount())
            FinishDownload();
        else
            FRepeatRequest();
        return;
    }
    std::string line;
    if (!DeviceDataLine(data, size, line)) {
        CommsFailure(FProtocol);
        return;
    }
    if (FItemIndex == FirstPoint && !FSingleDevice)
        FLines->push_back(DeviceDataHeader());
    FLines->push_back(line);
    DownloadSucceeded();
    FItemIndex = NextPoint(FItemIndex);
    if (FSingleDevice || FItemIndex > LastPoint)
        FinishDownload();
    else
        FRepeatRequest();
}

void TConfigTransfer::DownloadSucceeded()
{
    FRetryCount = 0;
    ++FState.Progress;
    StatusUpdate();
}

void TConfigTransfer::FinishDownload()
{
    Detach();
    FTiming.Pause(FTiming.SettleMs);
    Finish(platform::mrOk);
}

} // namespace comms
