#include "Initiatepanelcomms.h"

#include "Exception.h"
#include "Format.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "PanelTypeList.h"
#include "Panelpackets.h"
#include "Prompts.h"
#include "Quorvelprotocolcomponent.h"

#include <cctype>

namespace comms {

namespace {

constexpr unsigned char CmdDetect = 0x4A;
constexpr unsigned char ReplyDetect = 0x4B;
constexpr unsigned char CmdIdentify = 0x46;
constexpr unsigned char ReplyIdentify = 0x47;
constexpr unsigned char CmdPasscode = 0x48;
constexpr unsigned char ReplyPasscode = 0x49;
constexpr unsigned IdentificationLength = 20;
constexpr int MaxDetectionRepeats = 10;

std::string TrimControls(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

TInitiatePanelComms::TInitiatePanelComms(ModalHost& Host, CommsTiming Timing)
    : FHost(Host)
    , FTiming(std::move(Timing))
{
}

TInitiatePanelComms::~TInitiatePanelComms() = default;

int TInitiatePanelComms::PortNumber() const
{
    return FProtocol ? static_cast<int>(FProtocol->CommPort()) + 1 : 1;
}

int TInitiatePanelComms::Execute(TQuorvelProtocol* Protocol, bool Send, int ConfiguredPanelType)
{
    FProtocol = Protocol;
    FSend = Send;
    FConfiguredPanelType = ConfiguredPanelType;
    FTracker.Clear();
    try {
        Protocol->Open();
    } catch (const std::exception& e) {
        // The required message first; the device and the system's reason follow
        // on their own line when the port gave them.
        const auto* ours = dynamic_cast<const Exception*>(&e);
        throw Exception::Translated(MlFormat("Unable to open communications port COM%d", PortNumber()),
            ours ? ours->Detail() : std::string());
    }
    FEnded = false;
    HangupWatch hangup(Protocol, [this] {
        Detach();
        FHost.EndModal(platform::mrAbort);
        return true;
    });
    const int result = FHost.RunModal([this] { FormShow(); });
    Detach();
    hangup.RaiseIfHungUp();
    return result;
}

void TInitiatePanelComms::FormShow()
{
    FState.PasscodeVisible = false;
    FState.PasscodeProtectedVisible = false;
    FState.EnterPasscodeVisible = false;
    FState.InvalidPasscodeVisible = false;
    FState.PasscodeEditVisible = false;
    FState.SoftwareIDVisible = false;
    FState.RetryVisible = false;
    FState.StartTransferVisible = false;
    FState.FocusPasscode = false;
    FState.Passcode.clear();
    FState.PictureVisible = true;
    FState.SearchingForPanel = MlFormat("Searching for PX1x/2x Panel on COM%d...", PortNumber());
    FState.PX10NotFound = Translate("PX1x/2x Panel NOT found.");
    FState.PanelNotDetected = MlFormat("The panel could not be detected on COM%d. Ensure that the panel is "
                                       "connected to the computer as specified in the manual.",
        PortNumber());
    Changed();
    StartDetection();
}

void TInitiatePanelComms::StartDetection()
{
    FRetryCount = 0;
    FState.Retries.clear();
    FState.RetryVisible = false;
    FState.StartTransferVisible = false;
    FState.PX10NotFoundVisible = false;
    FState.PanelNotDetectedVisible = false;
    FState.SearchingVisible = true;
    Changed();
    SendDetectionRequest(CmdDetect);
}

void TInitiatePanelComms::SendDetectionRequest(unsigned char Code)
{
    if (!FProtocol)
        return;
    FProtocol->OnPacketReceived = [this](TSerialComms*) { DetectionReply(); };
    FProtocol->OnPacketRxError = [this](TSerialComms*) { DetectionFailure(); };
    FTracker.Sent(Code == CmdDetect ? ReplyDetect : ReplyIdentify);
    FProtocol->PacketTransaction(Code, FTiming.DetectionTimeoutMs);
}

void TInitiatePanelComms::RestartTimeout(TQuorvelProtocol* Protocol, unsigned Ms)
{
    Protocol->StartTimeout([Protocol](TSerialComms* s) { Protocol->PacketResponseTimeout(s); }, Ms);
}

void TInitiatePanelComms::DetectionFailure()
{
    if (CountFailure())
        SendDetectionRequest(CmdDetect);
}

bool TInitiatePanelComms::CountFailure()
{
    if (FProtocol)
        FProtocol->DiscardReceived();
    const int taken = FRetryCount++;
    if (taken >= MaxDetectionRepeats) {
        FState.PasscodeVisible = false;
        FState.PasscodeProtectedVisible = false;
        FState.EnterPasscodeVisible = false;
        FState.InvalidPasscodeVisible = false;
        FState.PasscodeEditVisible = false;
        FState.StartTransferVisible = false;
        FState.RetryVisible = true;
        FState.PanelNotDetectedVisible = true;
        FState.PX10NotFoundVisible = true;
        FState.SearchingVisible = false;
        Detach();
        Changed();
        return false;
    }
    FState.Retries = MlFormat("(Retries: %d)", FRetryCount);
    Changed();
    return true;
}

void TInitiatePanelComms::DetectionReply()
{
    const unsigned char* p = FProtocol->GetPacketData();
    const unsigned length = FProtocol->GetPacketDataLength();
    switch (FTracker.Classify(p, length)) {
    case ReplyTracker::Match::Earlier:
        RestartTimeout(FProtocol, FTiming.DetectionTimeoutMs);
        return;
    case ReplyTracker::Match::None:
        DetectionFailure();
        return;
    case ReplyTracker::Match::Current:
        break;
    }
    if (p[2] == ReplyDetect) {
        SendDetectionRequest(CmdIdentify);
        return;
    }
    // A G reply too short for the identification is a failed step, not a panel.
    if (length < 3 + IdentificationLength) {
        DetectionFailure();
        return;
    }
    FSoftwareID = TrimControls(std::string(reinterpret_cast<const char*>(p + 3), IdentificationLength));
    Identified();
}

void TInitiatePanelComms::Identified()
{
    FState.SoftwareID = Cp1252ToUtf8(FSoftwareID);
    FState.SoftwareIDVisible = true;
    Changed();
    auto& prompts = platform::CurrentPrompts();
    // No reply may reach a step while one of its boxes is open.
    Detach();
    if (FSend) {
        const int type = FindPanelTypeIndex(FSoftwareID.substr(0, 9));
        if (type != FConfiguredPanelType) {
            const std::string text = Translate("Configured Panel Type does not match target.") + "\r\n"
                + Translate("Abort Transfer to panel ?");
            if (prompts.MessageDlg(
                    text, platform::MsgDlgType::mtConfirmation, platform::mbYes | platform::mbNo)
                == platform::mrYes) {
                FHost.EndModal(platform::mrAbort);
                return;
            }
        }
    }
    const TPX10ConfigData* config = FConfig ? FConfig : ShownConfiguration ? ShownConfiguration() : nullptr;
    if (GetPanelFirmwareNumber() < 703 && config) {
        const int torq = config->Sensors->CountTorqDevices() + config->Modules->CountTorqDevices();
        const int brim = config->Sensors->CountBrimDevices() + config->Modules->CountBrimDevices();
        if (torq >= 1 && brim > 10) {
            const std::string text
                = Translate(
                      "Compatibility warning.\r\n\r\nToo many BRIM devices in a mixed loop!(Max. 10)\r\n")
                + Translate("The panel currently fitted with firmware version ") + Cp1252ToUtf8(FSoftwareID)
                + platform::Format(
                    ".\n\r%d BRIM protocol devices are present in the current configuration\n\r\n\r", brim)
                + Translate("The current configuration would require firmware version 7.03 or higher!");
            prompts.MessageDlg(text, platform::MsgDlgType::mtWarning, platform::mbOK);
            FHost.EndModal(platform::mrAbort);
            return;
        }
    }
    if (FSend) {
        FState.PasscodeVisible = true;
        FState.PasscodeProtectedVisible = true;
        FState.EnterPasscodeVisible = true;
        FState.StartTransferVisible = true;
        FState.InvalidPasscodeVisible = false;
        FState.RetryVisible = false;
        FState.SearchingVisible = false;
        FState.Retries.clear();
        FState.Passcode.clear();
        FState.PasscodeEditVisible = true;
        FState.FocusPasscode = true;
        Changed();
        FState.FocusPasscode = false;
        return;
    }
    FTiming.Pause(FTiming.SettleMs);
    FHost.EndModal(platform::mrOk);
}

void TInitiatePanelComms::SetPasscodeText(const std::string& Text)
{
    std::string digits;
    for (char c : Text)
        if (std::isdigit(static_cast<unsigned char>(c)) && digits.size() < 4)
            digits += c;
    FState.Passcode = digits;
}

bool TInitiatePanelComms::AcceptPasscodeKey(char32_t Key)
{
    if (Key == '\r' || Key == '\n') {
        StartTransferClicked();
        return false;
    }
    // Only printable non-digits are dropped: control characters (Backspace,
    // Tab, Delete, the clipboard keys) edit and move as they do anywhere.
    const bool control = Key < 0x20 || (Key >= 0x7F && Key < 0xA0);
    return control || (Key >= '0' && Key <= '9');
}

void TInitiatePanelComms::StartTransferClicked()
{
    if (!FProtocol)
        return;
    FProtocol->OnPacketReceived = [this](TSerialComms*) { PasscodeReply(); };
    FProtocol->OnPacketRxError = [this](TSerialComms*) { PasscodeFailure(); };
    FRetryCount = 0;
    FState.Retries.clear();
    Changed();
    SendPasscode();
}

void TInitiatePanelComms::SendPasscode()
{
    if (!FProtocol)
        return;
    unsigned value = 0xFFFF;
    if (!FState.Passcode.empty())
        value = static_cast<unsigned>(std::stoul(FState.Passcode)) & 0xFFFF;
    FPasscodePacket[0] = static_cast<unsigned char>(value >> 8);
    FPasscodePacket[1] = static_cast<unsigned char>(value & 0xFF);
    FTracker.Sent(ReplyPasscode);
    FProtocol->PacketTransaction(
        CmdPasscode, 2, reinterpret_cast<const char*>(FPasscodePacket), FTiming.DetectionTimeoutMs);
}

void TInitiatePanelComms::PasscodeReply()
{
    const unsigned char* p = FProtocol->GetPacketData();
    const unsigned length = FProtocol->GetPacketDataLength();
    if (FTracker.Classify(p, length) == ReplyTracker::Match::Earlier) {
        RestartTimeout(FProtocol, FTiming.DetectionTimeoutMs);
        return;
    }
    if (p[2] == ReplyIdentify) {
        SendPasscode();
        return;
    }
    if (p[2] == ReplyPasscode && length < 4) {
        SendPasscode(); // no status byte: ask again rather than guess
        return;
    }
    if (p[2] == ReplyPasscode && p[3] != 0) {
        Detach();
        FTiming.Pause(FTiming.SettleMs);
        FHost.EndModal(platform::mrOk);
        return;
    }
    FState.PasscodeProtectedVisible = false;
    FState.InvalidPasscodeVisible = true;
    Changed();
}

void TInitiatePanelComms::PasscodeFailure()
{
    // A lost reply is asked for again, as detection asks again, rather than
    // sending the user back through detection and the prompt without end.
    // After as many repeats the panel counts as not found; Retry searches anew.
    if (CountFailure())
        SendPasscode();
}

void TInitiatePanelComms::AbortClicked()
{
    Detach();
    FHost.EndModal(platform::mrAbort);
}

void TInitiatePanelComms::FormClose()
{
    Detach();
}

void TInitiatePanelComms::Detach()
{
    if (!FProtocol)
        return;
    FProtocol->OnPacketReceived = nullptr;
    FProtocol->OnPacketRxError = nullptr;
}

int TInitiatePanelComms::GetPanelFirmwareNumber() const
{
    return PanelFirmwareNumber(FSoftwareID);
}

} // namespace comms
