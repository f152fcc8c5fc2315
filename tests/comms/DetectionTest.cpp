// Panel detection and passcode against the simulated panel.
#include "Exception.h"
#include "TransferTestUtil.h"

#include <gtest/gtest.h>

namespace {

using platform::mrAbort;
using platform::mrNo;
using platform::mrOk;
using platform::mrYes;

struct DetectionFixture : TransferFixture {
    DetectionFixture()
        : TransferFixture()
    {
        proto->Close();
    }
    int Run(bool send, int panelType = 3) { return detection.Execute(proto.get(), send, panelType); }
};

TEST(Detection, SilentPanelRetriesTenTimesThenOffersRetry)
{
    DetectionFixture f;
    f.panel.SetFaults({ .NoReply = true });
    std::vector<std::string> retryTexts;
    bool notFound = false;
    f.detectionHost.OnChanged = [&] {
        const auto& s = f.detection.State();
        if (!s.Retries.empty() && (retryTexts.empty() || retryTexts.back() != s.Retries))
            retryTexts.push_back(s.Retries);
        if (s.RetryVisible && !notFound) {
            notFound = true;
            EXPECT_TRUE(s.PanelNotDetectedVisible);
            EXPECT_TRUE(s.PX10NotFoundVisible);
            EXPECT_FALSE(s.SearchingVisible);
            EXPECT_EQ(s.PX10NotFound, "PX1x/2x Panel NOT found.");
            EXPECT_EQ(s.PanelNotDetected,
                "The panel could not be detected on COM1. Ensure that the panel is connected to the computer "
                "as "
                "specified in the manual.");
            // Give late events a moment, then the user aborts.
            QTimer::singleShot(100, [&] { f.detection.AbortClicked(); });
        }
    };
    EXPECT_EQ(f.Run(false), mrAbort);
    EXPECT_TRUE(notFound);
    ASSERT_EQ(retryTexts.size(), 10u);
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(retryTexts[i - 1], "(Retries: " + std::to_string(i) + ")");
    EXPECT_EQ(f.RequestsOf(0x4A).size(), 11u);
    EXPECT_EQ(f.panel.RequestCount(), 11u);
    EXPECT_EQ(f.detection.State().SearchingForPanel, "Searching for PX1x/2x Panel on COM1...");
    EXPECT_TRUE(f.proto->IsOpen()); // the caller closes it
}

TEST(Detection, RetryStartsSearchingAgain)
{
    DetectionFixture f;
    f.panel.SetFaults({ .NoReply = true });
    int rounds = 0;
    f.detectionHost.OnChanged = [&] {
        if (f.detection.State().RetryVisible && rounds == 0) {
            rounds = 1;
            f.panel.SetFaults({});
            QTimer::singleShot(0, [&] { f.detection.StartDetection(); });
        }
    };
    EXPECT_EQ(f.Run(false), mrOk);
    EXPECT_EQ(f.RequestsOf(0x4A).size(), 12u);
    EXPECT_EQ(f.RequestsOf(0x46).size(), 1u);
}

TEST(Detection, WrongReplyCodeAndShortIdentificationRestartFromJ)
{
    DetectionFixture f;
    f.panel.PushFaults({ .WrongReplyCode = true }); // J
    f.panel.PushFaults({}); // J
    f.panel.PushFaults({ .ShortReply = true, .ShortLength = 19 }); // F
    EXPECT_EQ(f.Run(false), mrOk);
    const auto requests = f.panel.Requests();
    std::string order;
    for (const auto& r : requests)
        order += static_cast<char>(r.Command);
    EXPECT_EQ(order, "JJFJF");
    EXPECT_EQ(f.detection.GetSoftwareID(), "412-301-001 7.03");
    EXPECT_EQ(f.detection.GetPanelFirmwareNumber(), 703);
}

// Noise on the line (a burst of broken frames) ahead of the first reply is
// one failed request: what came with it is dropped, not read frame by frame
// as ten more failures.
TEST(Detection, BurstOfNoiseAheadOfTheReplyIsOneFailure)
{
    DetectionFixture f;
    f.panel.PushFaults({ .NoiseBurst = 10000 });
    f.HoldStrayBytesUntilBursts(1);
    EXPECT_EQ(f.Run(false), mrOk);
    EXPECT_EQ(f.detection.RetryCount(), 1);
    EXPECT_EQ(f.RequestsOf(0x4A).size(), 2u);
    EXPECT_EQ(f.detection.GetSoftwareID(), "412-301-001 7.03");
}

TEST(Detection, IdentificationWithoutDigitsOrTypeIsHarmless)
{
    DetectionFixture f;
    f.panel.SetIdentification(std::string("\x01  NO VERSION HERE \x02", 20));
    EXPECT_EQ(f.Run(false), mrOk);
    EXPECT_EQ(f.detection.GetSoftwareID(), "NO VERSION HERE");
    EXPECT_EQ(f.detection.GetPanelFirmwareNumber(), 0);
}

TEST(Detection, PanelTypeMismatchAnsweredYesAborts)
{
    DetectionFixture f;
    f.prompts.Answer(mrYes);
    EXPECT_EQ(f.Run(true, 0), mrAbort);
    ASSERT_EQ(f.prompts.Log.size(), 1u);
    EXPECT_EQ(
        f.prompts.Log[0].Text, "Configured Panel Type does not match target.\r\nAbort Transfer to panel ?");
    EXPECT_EQ(f.prompts.Log[0].Buttons, platform::mbYes | platform::mbNo);
    EXPECT_EQ(f.RequestsOf(0x48).size(), 0u);
}

TEST(Detection, PanelTypeMismatchAnsweredNoAsksForThePasscode)
{
    DetectionFixture f;
    f.prompts.Answer(mrNo);
    EXPECT_EQ(f.Run(true, 0), mrOk);
    EXPECT_EQ(f.passcodePrompts, 1);
    ASSERT_EQ(f.RequestsOf(0x48).size(), 1u);
    EXPECT_EQ(f.RequestsOf(0x48)[0].Data, std::string("\x04\xD2", 2));
}

TEST(Detection, ReceiveAsksNoPasscodeAndComparesNoType)
{
    DetectionFixture f;
    EXPECT_EQ(f.Run(false, 0), mrOk);
    EXPECT_TRUE(f.prompts.Log.empty());
    EXPECT_EQ(f.passcodePrompts, 0);
}

TEST(Detection, WrongPasscodeThenRightOne)
{
    DetectionFixture f;
    f.autoPasscode = false;
    int typed = 0;
    f.detectionHost.OnChanged = [&] {
        const auto& s = f.detection.State();
        if (s.FocusPasscode && typed == 0) {
            typed = 1;
            EXPECT_TRUE(s.PasscodeEditVisible && s.StartTransferVisible && s.PasscodeProtectedVisible);
            QTimer::singleShot(0, [&] {
                f.detection.SetPasscodeText("9999");
                f.detection.StartTransferClicked();
            });
        } else if (s.InvalidPasscodeVisible && typed == 1) {
            typed = 2;
            EXPECT_FALSE(s.PasscodeProtectedVisible);
            QTimer::singleShot(0, [&] {
                // Digits only, at most four.
                EXPECT_TRUE(f.detection.AcceptPasscodeKey('7'));
                EXPECT_FALSE(f.detection.AcceptPasscodeKey('a'));
                f.detection.SetPasscodeText("12x345");
                f.detection.AcceptPasscodeKey('\r');
            });
        }
    };
    EXPECT_EQ(f.Run(true), mrOk);
    EXPECT_EQ(typed, 2);
    const auto h = f.RequestsOf(0x48);
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(h[0].Data, std::string("\x27\x0F", 2));
    EXPECT_EQ(h[1].Data, std::string("\x04\xD2", 2));
}

TEST(Detection, EmptyPasscodeIsSentAsFFFF)
{
    DetectionFixture f;
    f.panel.SetPasscode(-1);
    f.passcodes = { "" };
    EXPECT_EQ(f.Run(true), mrOk);
    ASSERT_EQ(f.RequestsOf(0x48).size(), 1u);
    EXPECT_EQ(f.RequestsOf(0x48)[0].Data, std::string("\xFF\xFF", 2));
}

TEST(Detection, LostPasscodeReplyIsAskedForAgainWithoutDetectingAnew)
{
    DetectionFixture f;
    f.panel.PushItemFaults(0x48, 0, { .NoReply = true });
    EXPECT_EQ(f.Run(true), mrOk);
    std::string order;
    for (const auto& r : f.panel.Requests())
        order += static_cast<char>(r.Command);
    EXPECT_EQ(order, "JFHH");
    EXPECT_EQ(f.passcodePrompts, 1);
    EXPECT_EQ(f.detection.State().Retries, "(Retries: 1)");
}

TEST(Detection, PasscodeNeverAnsweredEndsAsNotFoundAfterTenRepeats)
{
    DetectionFixture f;
    f.panel.SetHandler(0x48, [](const SimulatedPanel::Request&) { return std::nullopt; });
    bool notFound = false;
    auto typing = f.detectionHost.OnChanged;
    f.detectionHost.OnChanged = [&] {
        typing();
        const auto& s = f.detection.State();
        if (s.RetryVisible && !notFound) {
            notFound = true;
            EXPECT_TRUE(s.PX10NotFoundVisible);
            EXPECT_FALSE(s.PasscodeEditVisible);
            EXPECT_FALSE(s.StartTransferVisible);
            QTimer::singleShot(100, [&] { f.detection.AbortClicked(); });
        }
    };
    EXPECT_EQ(f.Run(true), mrAbort);
    EXPECT_TRUE(notFound);
    EXPECT_EQ(f.RequestsOf(0x48).size(), 11u);
    EXPECT_EQ(f.RequestsOf(0x4A).size(), 1u);
    EXPECT_EQ(f.passcodePrompts, 1);
}

// A complete frame that is not the reply (bad checksum, cut short, wrong code)
// is one failed attempt, exactly as a time-out is.
TEST(Detection, BadFramesCountAsOneFailedAttemptEach)
{
    for (const SimulatedPanel::Faults& fault :
        { SimulatedPanel::Faults { .BadChecksum = true }, SimulatedPanel::Faults { .WrongReplyCode = true },
            SimulatedPanel::Faults { .TruncatedFrame = true } }) {
        DetectionFixture f;
        f.panel.SetFaults(fault);
        std::vector<std::string> retryTexts;
        f.detectionHost.OnChanged = [&] {
            const auto& s = f.detection.State();
            if (!s.Retries.empty() && (retryTexts.empty() || retryTexts.back() != s.Retries))
                retryTexts.push_back(s.Retries);
            if (s.RetryVisible)
                QTimer::singleShot(100, [&] { f.detection.AbortClicked(); });
        };
        EXPECT_EQ(f.Run(false), mrAbort);
        EXPECT_EQ(retryTexts.size(), 10u);
        EXPECT_EQ(f.RequestsOf(0x4A).size(), 11u);
    }
}

TEST(Detection, ShortPasscodeRepliesAreAskedAgain)
{
    for (std::size_t n : { 0u }) {
        DetectionFixture f;
        f.panel.PushItemFaults(0x48, 0, { .ShortReply = true, .ShortLength = n });
        EXPECT_EQ(f.Run(true), mrOk);
        EXPECT_EQ(f.RequestsOf(0x48).size(), 2u);
        EXPECT_EQ(f.passcodePrompts, 1);
    }
}

// Firmware below 7.03 refuses a mixed loop with more than 10 BRIM devices.
struct Compat {
    int Firmware;
    int Brim;
    bool Refused;
};

class Compatibility : public ::testing::TestWithParam<Compat> { };

// One TORQ sensor and `brim` BRIM modules.
std::unique_ptr<TPX10ConfigData> MixedLoop(int brim)
{
    auto config = NewConfig();
    config->Sensors->SetType(1, 2);
    config->Sensors->SetTorqType(1, 5);
    for (int a = 1; a <= brim; ++a)
        config->Modules->SetType(a, 1);
    return config;
}

TEST_P(Compatibility, MixedLoops)
{
    const Compat c = GetParam();
    DetectionFixture f;
    f.panel.SetIdentification(SimulatedPanel::MakeIdentification("301", c.Firmware));
    auto config = MixedLoop(c.Brim);
    f.detection.SetConfiguration(config.get());
    if (c.Refused)
        f.prompts.Answer(mrOk);
    EXPECT_EQ(f.Run(false), c.Refused ? mrAbort : mrOk);
    if (c.Refused) {
        ASSERT_EQ(f.prompts.Log.size(), 1u);
        EXPECT_EQ(f.prompts.Log[0].Type, platform::MsgDlgType::mtWarning);
        EXPECT_EQ(f.prompts.Log[0].Text,
            "Compatibility warning.\r\n\r\nToo many BRIM devices in a mixed loop!(Max. 10)\r\n"
            "The panel currently fitted with firmware version 412-301-001 7.02.\n\r"
                + std::to_string(c.Brim)
                + " BRIM protocol devices are present in the current configuration\n\r\n\r"
                  "The current configuration would require firmware version 7.03 or higher!");
    } else {
        EXPECT_TRUE(f.prompts.Log.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Firmware, Compatibility,
    ::testing::Values(Compat { 702, 11, true }, Compat { 702, 10, false }, Compat { 703, 11, false },
        Compat { 703, 40, false }));

// A download gives detection no configuration: it checks the one handed to it
// as shown, the caller's own before that, and without either nothing, even
// when the program holds a configuration.
TEST(Detection, ADownloadIsCheckedAgainstTheConfigurationHandedAsShown)
{
    const auto mixed = MixedLoop(11);
    const auto plain = NewConfig();
    struct Case {
        const TPX10ConfigData* Shown;
        const TPX10ConfigData* Given;
        bool Refused;
    };
    for (const Case c : { Case { nullptr, nullptr, false }, Case { mixed.get(), nullptr, true },
             Case { mixed.get(), plain.get(), false } }) {
        DetectionFixture f;
        f.panel.SetIdentification(SimulatedPanel::MakeIdentification("301", 702));
        ConfigData = mixed.get();
        if (c.Shown)
            f.detection.ShownConfiguration = [&c] { return c.Shown; };
        f.detection.SetConfiguration(c.Given);
        if (c.Refused)
            f.prompts.Answer(mrOk);
        EXPECT_EQ(f.Run(false), c.Refused ? mrAbort : mrOk);
        EXPECT_EQ(f.prompts.Log.size(), c.Refused ? 1u : 0u);
        ConfigData = nullptr;
    }
}

TEST(Detection, UnopenablePortRaisesTheMessageWithTheReason)
{
    EnsureApp();
    Com1Device com1("/nonexistent/px10-port");
    comms::EventLoopHost host;
    comms::TInitiatePanelComms detection(host, FastTiming());
    TQuorvelProtocol proto;
    try {
        detection.Execute(&proto, true, 3);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to open communications port COM1");
        EXPECT_EQ(e.Detail().rfind("/nonexistent/px10-port: ", 0), 0u) << e.Detail();
    }
}

TEST(Detection, LateReplyAfterARepeatIsNotTakenForTheNextStep)
{
    DetectionFixture f;
    f.panel.PushFaults({ .DelayMs = 20 }); // the first K comes after the J was repeated
    EXPECT_EQ(f.Run(false), mrOk);
    std::string order;
    for (const auto& r : f.panel.Requests())
        order += static_cast<char>(r.Command);
    EXPECT_EQ(order.substr(0, 3), "JJF");
    EXPECT_EQ(order.find('J', 3), std::string::npos);
}

} // namespace
