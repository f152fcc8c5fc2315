#pragma once
// A detection dialog and a transfer window without widgets, on the real port
// against the simulated panel, with no pauses; a wait for a reply ends as soon
// as the panel stays silent.
#include "CommsTestUtil.h"
#include "Configtransfer.h"
#include "Initiatepanelcomms.h"
#include "PX10ConfigData.h"
#include "Quorvelprotocolcomponent.h"
#include "support/FakePrompts.h"
#include "support/SimulatedPanel.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <memory>
#include <string>

inline comms::CommsTiming FastTiming()
{
    comms::CommsTiming t;
    t.DetectionTimeoutMs = GenerousTimeoutMs;
    t.ItemTimeoutMs = GenerousTimeoutMs;
    // Longer than any late reply of the tests (tens of milliseconds) takes
    // on a busy machine, short enough for tests of many failures.
    t.QuietMs = 300;
    t.SettleMs = 50;
    t.Sleep = [](unsigned) {};
    return t;
}

inline std::unique_ptr<TPX10ConfigData> NewConfig()
{
    return std::make_unique<TPX10ConfigData>(false, false, false, false);
}

class TransferFixture {
public:
    explicit TransferFixture(comms::CommsTiming timing = FastTiming())
        : detection(detectionHost, timing)
        , transfer(transferHost, detection, timing)
    {
        EnsureApp();
        panel.EnableConfigPanel();
        panel.SetIdentification(SimulatedPanel::MakeIdentification("301", 703));
        panel.SetPasscode(1234);
        proto = std::make_unique<TQuorvelProtocol>();
        expiry = std::make_unique<ExpireOnSilence>(panel, *proto);
        // The user types the passcode once the dialog asks for it.
        detectionHost.OnChanged = [this] {
            if (detection.State().FocusPasscode && autoPasscode) {
                ++passcodePrompts;
                const std::string code = passcodes.empty() ? std::string("1234") : passcodes.front();
                if (!passcodes.empty())
                    passcodes.erase(passcodes.begin());
                QTimer::singleShot(0, [this, code] {
                    detection.SetPasscodeText(code);
                    detection.StartTransferClicked();
                });
            }
        };
    }

    // Configured panel type 3 (PX10) matches a "412-301" panel.
    bool Send(TPX10ConfigData& config) { return transfer.SendConfiguration(proto.get(), &config); }
    bool Receive(TPX10ConfigData& config) { return transfer.ReceiveConfiguration(proto.get(), &config); }

    // A long write reaches a pseudo-terminal in pieces, and a noise burst is
    // to arrive at once: the program reads no further than the first byte
    // outside a reply until the panel has written `count` bursts whole.
    void HoldStrayBytesUntilBursts(int count)
    {
        proto->OnNonProtocolCharRxd = [this, count](TSerialComms*, char&) {
            QElapsedTimer clock;
            clock.start();
            while (panel.NoiseBurstsWritten() < count && clock.elapsed() < WaitMs)
                QThread::msleep(1);
        };
    }

    // The line goes the first time `when` holds as the window's state
    // changes, before the window moves on; the port has seen it by the time
    // the window hears of anything more.
    void HangUpWhen(std::function<bool()> when)
    {
        transferHost.OnChanged = [this, when = std::move(when), done = false]() mutable {
            if (done || !when())
                return;
            done = true;
            panel.Hangup();
            QElapsedTimer clock;
            clock.start();
            while (!proto->HungUp() && clock.elapsed() < WaitMs)
                QThread::msleep(1);
        };
    }

    std::vector<SimulatedPanel::Request> RequestsOf(uint8_t command) const
    {
        std::vector<SimulatedPanel::Request> out;
        for (const auto& r : panel.Requests())
            if (r.Command == command)
                out.push_back(r);
        return out;
    }

    SimulatedPanel panel;
    Com1Device com1 { panel.SlavePath() };
    FakePrompts prompts;
    std::unique_ptr<TQuorvelProtocol> proto;
    std::unique_ptr<ExpireOnSilence> expiry; // reset for a test of the real time-outs
    comms::EventLoopHost detectionHost;
    comms::EventLoopHost transferHost;
    comms::TInitiatePanelComms detection;
    comms::TConfigTransfer transfer;
    bool autoPasscode = true;
    std::vector<std::string> passcodes; // typed in turn; "1234" when none left
    int passcodePrompts = 0;
};
