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
        SendPacket(EventLogCommand, static_cast<unsigned>(request.size()), request.data());
        return;
    }
    const char point = static_cast<char>(FItemIndex);
    // The reply starts with the point number: a late second answer to a
    // repeated point is told from the answer to the next one.
    FDetection.Tracker().Sent(DeviceDataCommand + 1, std::string(1, point));
    SendPacket(DeviceDataCommand, 1, &point);
}

void TConfigTransfer::DownloadReply()
{
    const unsigned char* p = FProtocol->GetPacketData();
    const unsigned length = FProtocol->GetPacketDataLength();
    if (!IsCurrentReply(p, length))
        return;
    const unsigned char* data = p + 3;
    const std::size_t size = length > 3 ? length - 3 : 0;
    if (FStage == Stage::EventLog) {
        if (!FEventLog.Take(FItemIndex, data, size, *FLines)) {
            CommsFailure(FProtocol);
            return;
        }
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
