#include "Configtransfer.h"

#include "Initiatepanelcomms.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "PanelTypeList.h"
#include "Panelpackets.h"
#include "Prompts.h"
#include "Quorvelprotocolcomponent.h"

#include <algorithm>
#include <cstring>

namespace comms {

namespace {

constexpr int LastSensor = 99;
constexpr int FirstModule = 101;
constexpr int LastModule = 199;

struct StageInfo {
    const char* Status;
    unsigned char Request;
    bool Indexed;
};

const StageInfo& Info(TConfigTransfer::Stage stage)
{
    static const StageInfo table[] = {
        { IvNative("Transferring General Setup Options."), 0x4A, false },
        { IvNative("Transferring Zone Descriptions."), 0x4C, true },
        { IvNative("Transferring GSM Data"), 0x5C, true },
        { IvNative("Transferring Onboard Output Settings."), 0x4E, false },
        { IvNative("Transferring CBE Rules."), 0x50, true },
        { IvNative("Transferring Point Configurations."), 0x52, true },
    };
    return table[static_cast<int>(stage)];
}

// Closes the port however the transfer ends.
struct PortCloser {
    TQuorvelProtocol* Protocol;
    ~PortCloser()
    {
        if (Protocol)
            Protocol->Close();
    }
};

} // namespace

TConfigTransfer::TConfigTransfer(ModalHost& Host, TInitiatePanelComms& Detection, CommsTiming Timing)
    : FHost(Host)
    , FDetection(Detection)
    , FTiming(std::move(Timing))
{
}

TConfigTransfer::~TConfigTransfer() = default;

bool TConfigTransfer::SendConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config)
{
    FSend = true;
    return TransferConfiguration(Protocol, Config);
}

bool TConfigTransfer::ReceiveConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config)
{
    FSend = false;
    return TransferConfiguration(Protocol, Config);
}

bool TConfigTransfer::TransferConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config)
{
    PortCloser closer { Protocol };
    FFirmwareVersion = 99999;
    FFirmwareNumber = 0;
    FProtocol = Protocol;
    FRequestsSent = 0;
    FFailures = 0;
    FPasscodeRetryActive = false;
    FSavedHandler = nullptr;
    FStage = Stage::GeneralSetup;
    // A receive fills a copy: the caller's configuration changes only when the
    // whole of it has arrived.
    if (FSend) {
        FReceived.reset();
        FConfig = Config;
    } else {
        FReceived = std::make_unique<TPX10ConfigData>(false, false, false, false);
        Config->CopyTo(*FReceived);
        FConfig = FReceived.get();
    }

    FDetection.SetConfiguration(Config);
    int detected = platform::mrNone;
    try {
        detected = FDetection.Execute(Protocol, FSend, Config->FileHeader->GetPanelType());
    } catch (...) {
        FDetection.SetConfiguration(nullptr);
        throw;
    }
    FDetection.SetConfiguration(nullptr);
    if (detected != platform::mrOk)
        return false;

    const std::string& id = FDetection.GetSoftwareID();
    if (!FSend) {
        const int type = FindPanelTypeIndex(id);
        FConfig->FileHeader->SetPanelType(type < 0 ? 0 : type);
    }
    FFirmwareVersion = PanelFirmwareVersion(id);
    FFirmwareNumber = FDetection.GetPanelFirmwareNumber();
    FState.ProgressMax = 232 + (FFirmwareNumber >= 402 ? 64 : 32) + (FFirmwareNumber >= 507 ? 5 : 0);

    int result = platform::mrNone;
    try {
        result = RunWindow();
    } catch (...) {
        FReceived.reset();
        FConfig = nullptr;
        throw;
    }
    if (FSend)
        return result == platform::mrOk;
    if (result == platform::mrOk)
        FReceived->CopyTo(*Config);
    FReceived.reset();
    FConfig = nullptr;
    return result == platform::mrOk;
}

int TConfigTransfer::RunWindow()
{
    HangupWatch hangup(FProtocol, [this] {
        if (!FRunning)
            return false;
        Detach();
        Finish(platform::mrAbort);
        return true;
    });
    FRunning = true;
    const int result = FHost.RunModal([this] { FormShow(); });
    FRunning = false;
    Detach();
    hangup.RaiseIfHungUp();
    return result;
}

void TConfigTransfer::FormShow()
{
    FState.Sending = FSend;
    FState.Caption = Translate(FSend ? "Send to Panel" : "Receive from Panel");
    FRetryCount = 0;
    FState.Progress = 0;
    StatusUpdate();
    FProtocol->OnPacketRxError = [this](TSerialComms* s) { CommsFailure(s); };
    StartStage(FStage);
}

void TConfigTransfer::StatusUpdate()
{
    FState.Animating = true;
    FState.RetryText = MlFormat("Retries: %d", FRetryCount);
    Changed();
}

void TConfigTransfer::StartStage(Stage stage)
{
    FStage = stage;
    if (stage == Stage::EventLog || stage == Stage::DeviceData) {
        StartDownload();
        return;
    }
    FState.StageText = Translate(Info(stage).Status);
    Changed();
    FItemIndex = Info(stage).Indexed ? 1 : 0;
    FRepeatRequest = [this] { SendItemRequest(); };
    FProtocol->OnPacketReceived = [this](TSerialComms*) { ItemReply(); };
    FRepeatRequest();
}

unsigned char TConfigTransfer::RequestCode() const
{
    return Info(FStage).Request;
}

std::size_t TConfigTransfer::BlockSize() const
{
    return ConfigItemBlockSize(Item());
}

std::string TConfigTransfer::ReplyPrefix() const
{
    std::string prefix(1, static_cast<char>(FSend ? SendMarker : ReceiveMarker));
    if (FStage == Stage::Points)
        prefix += '\x01';
    if (Info(FStage).Indexed)
        prefix += static_cast<char>(FItemIndex);
    return prefix;
}

// The configuration stages come first, in the order of the items.
static_assert(
    static_cast<int>(TConfigTransfer::Stage::GeneralSetup) == static_cast<int>(ConfigItem::GeneralSetup));
static_assert(static_cast<int>(TConfigTransfer::Stage::Points) == static_cast<int>(ConfigItem::Point));

ConfigItem TConfigTransfer::Item() const
{
    return static_cast<ConfigItem>(FStage);
}

void TConfigTransfer::SendItemRequest()
{
    if (FStage == Stage::Points) {
        FState.StageText = Translate(Info(FStage).Status);
        Changed();
    }
    FDetection.Tracker().Sent(static_cast<uint8_t>(RequestCode() + 1), ReplyPrefix());
    if (FSend) {
        unsigned char block[GeneralSetupBlockSize] = {};
        EncodeConfigItem(*FConfig, Item(), FItemIndex, FFirmwareNumber, block);
        const std::size_t length
            = FStage == Stage::GeneralSetup ? GeneralSetupDataLength(FFirmwareVersion) : BlockSize();
        SendPacket(RequestCode(), static_cast<unsigned>(length), reinterpret_cast<const char*>(block));
        return;
    }
    char request[3] = { static_cast<char>(ReceiveMarker) };
    unsigned length = 1;
    if (FStage == Stage::Points)
        request[length++] = 0x01;
    if (Info(FStage).Indexed)
        request[length++] = static_cast<char>(FItemIndex);
    SendPacket(RequestCode(), length, request);
}

void TConfigTransfer::SendPacket(unsigned char Command, unsigned DataLength, const char* Data)
{
    ++FRequestsSent;
    FReplyDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(FTiming.ItemTimeoutMs);
    FProtocol->PacketTransaction(Command, DataLength, Data, FTiming.ItemTimeoutMs);
}

bool TConfigTransfer::IsCurrentReply(const unsigned char* p, unsigned length)
{
    switch (FDetection.Tracker().Classify(p, length)) {
    case ReplyTracker::Match::Earlier:
        TInitiatePanelComms::RestartTimeout(FProtocol, FTiming.ItemTimeoutMs);
        return false;
    case ReplyTracker::Match::None:
        CommsFailure(FProtocol);
        return false;
    case ReplyTracker::Match::Current:
        break;
    }
    return true;
}

void TConfigTransfer::ItemReply()
{
    const unsigned char* p = FProtocol->GetPacketData();
    const unsigned length = FProtocol->GetPacketDataLength();
    // The prefix covers the reply code, the marker and the item index, so a
    // reply too short to hold them never matches.
    if (!IsCurrentReply(p, length))
        return;
    if (!FSend) {
        // What a shorter reply leaves out keeps what the encoder put there,
        // but a reply with nothing after its marker and index carries none of
        // the item: taking it would turn the item into what the file held.
        if (length - 3 <= ReplyPrefix().size()) {
            CommsFailure(FProtocol);
            return;
        }
        unsigned char block[GeneralSetupBlockSize] = {};
        EncodeConfigItem(*FConfig, Item(), FItemIndex, FFirmwareNumber, block);
        const std::size_t copied = std::min<std::size_t>(length - 3, BlockSize());
        std::memcpy(block, p + 3, copied);
        if (!DecodeConfigItem(*FConfig, Item(), FItemIndex, FFirmwareNumber, block)) {
            CommsFailure(FProtocol);
            return;
        }
    }
    ItemSucceeded();
}

void TConfigTransfer::ItemSucceeded()
{
    FRetryCount = 0;
    ++FState.Progress;
    StatusUpdate();
    if (NextItem()) {
        FRepeatRequest();
        return;
    }
    switch (FStage) {
    case Stage::GeneralSetup:
        StartStage(Stage::ZoneTexts);
        break;
    case Stage::ZoneTexts:
        StartStage(FFirmwareNumber >= 507 ? Stage::GsmItems : Stage::OnboardOutputs);
        break;
    case Stage::GsmItems:
        StartStage(Stage::OnboardOutputs);
        break;
    case Stage::OnboardOutputs:
        StartStage(Stage::CBERules);
        break;
    case Stage::CBERules:
        StartStage(Stage::Points);
        break;
    case Stage::Points:
        Detach();
        FTiming.Pause(FTiming.SettleMs);
        Finish(platform::mrOk);
        break;
    case Stage::EventLog:
    case Stage::DeviceData:
        break; // the downloads run their own replies
    }
}

// Moves to the next item of the stage; false after its last.
bool TConfigTransfer::NextItem()
{
    switch (FStage) {
    case Stage::ZoneTexts:
        return ++FItemIndex <= TPX10ConfigZoneText::ZoneCount;
    case Stage::GsmItems:
        return ++FItemIndex <= TPX10ConfigGsmItems::ItemCount;
    case Stage::CBERules:
        return ++FItemIndex <= (FFirmwareNumber >= 402 ? 64 : 32);
    case Stage::Points:
        FItemIndex = FItemIndex == LastSensor ? FirstModule : FItemIndex + 1;
        return FItemIndex <= LastModule;
    default:
        return false;
    }
}

void TConfigTransfer::CommsFailure(TSerialComms*)
{
    if (!FRunning || !FProtocol)
        return;
    FProtocol->DiscardReceived();
    FState.Animating = false;
    ++FRetryCount;
    ++FFailures;
    StatusUpdate();
    if (FRetryCount != 0 && FRetryCount % 10 == 0) {
        // No reply is handled while the question is open.
        FProtocol->Suspend();
        const int answer = platform::CurrentPrompts().MessageDlg(
            Translate("Communications Failure.") + "\r\n" + Translate("Continue ?"),
            platform::MsgDlgType::mtConfirmation, platform::mbOK | platform::mbAbort);
        if (answer != platform::mrOk) {
            Detach();
            FTiming.Pause(FTiming.SettleMs);
            Finish(platform::mrAbort);
            return;
        }
        FProtocol->Resume();
    }
    if (FSend) {
        if (!FPasscodeRetryActive) {
            FSavedHandler = FProtocol->OnPacketReceived;
            FProtocol->OnPacketReceived = [this](TSerialComms*) { PasscodeRetryReply(); };
            FPasscodeRetryActive = true;
        }
        FDetection.SendPasscode();
        return;
    }
    if (FStage == Stage::EventLog) {
        // An event-log reply does not say which request it answers: one that
        // comes after its request failed would be taken for the repeat's, and
        // every later part would be shifted by one. So the repeat waits until
        // the line has fallen quiet; one wait at a time, or a second repeat
        // would bring the shift back.
        FProtocol->AwaitQuietLine(FTiming.QuietMs, 3 * FTiming.QuietMs, [this] {
            if (FRunning)
                FRepeatRequest();
        });
        return;
    }
    FRepeatRequest();
}

void TConfigTransfer::PasscodeRetryReply()
{
    const unsigned char* p = FProtocol->GetPacketData();
    const unsigned length = FProtocol->GetPacketDataLength();
    // A late answer to the failed item is not the panel's word on the passcode.
    if (FDetection.Tracker().Classify(p, length) == ReplyTracker::Match::Earlier) {
        TInitiatePanelComms::RestartTimeout(FProtocol, FDetection.Timing().DetectionTimeoutMs);
        return;
    }
    FProtocol->OnPacketReceived = FSavedHandler;
    FSavedHandler = nullptr;
    FPasscodeRetryActive = false;
    FRepeatRequest();
}

void TConfigTransfer::AbortClicked()
{
    if (!FRunning || !FProtocol)
        return;
    FProtocol->Suspend();
    const int answer = platform::CurrentPrompts().MessageDlg(Translate("Abort Transfer ?"),
        platform::MsgDlgType::mtConfirmation, platform::mbYes | platform::mbNo);
    if (answer == platform::mrYes) {
        Detach();
        Finish(platform::mrAbort);
        return;
    }
    FProtocol->Resume();
    --FRetryCount;
    --FFailures;
    CommsFailure(FProtocol);
}

void TConfigTransfer::FormClose()
{
    FState.Animating = false;
    Changed();
}

void TConfigTransfer::Detach()
{
    if (!FProtocol)
        return;
    FProtocol->OnPacketReceived = nullptr;
    FProtocol->OnPacketRxError = nullptr;
    FProtocol->CancelQuietWait();
    FProtocol->ClearTimeout();
    FPasscodeRetryActive = false;
    FSavedHandler = nullptr;
}

void TConfigTransfer::Finish(int result)
{
    FRunning = false;
    FState.Animating = false;
    Changed();
    FHost.EndModal(result);
}

} // namespace comms
