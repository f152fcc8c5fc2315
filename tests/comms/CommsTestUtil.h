#pragma once
// Event-loop helpers for the comms tests: the component delivers bytes and
// time-outs through Qt's event loop on this thread.
#include "Quorvelprotocolcomponent.h"
#include "support/SimulatedPanel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

inline void EnsureApp()
{
    static int argc = 1;
    static char name[] = "comms_tests";
    static char* argv[] = { name, nullptr };
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// Runs the event loop until `done` holds or `ms` pass; returns `done()`.
inline bool RunUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    QTimer tick; // keeps WaitForMoreEvents from sleeping past the deadline
    tick.start(2);
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done();
}

// Runs the event loop for `ms`.
inline void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

inline std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// The bound of a wait for a condition: only a failing test waits it out.
constexpr int WaitMs = 10000;

// A response time-out that no reply on its way reaches, however busy the
// machine: where the panel stays silent, ExpireOnSilence ends the wait.
constexpr unsigned GenerousTimeoutMs = 5000;

// Ends the port's wait for a reply as its time-out would, as soon as the
// simulated panel leaves a request unanswered or answers it late. The expiry
// is queued on the event loop ahead of any bytes the panel sends afterwards,
// so a late reply always comes after the time-out, never before it.
class ExpireOnSilence {
public:
    ExpireOnSilence(SimulatedPanel& panel, TSerialComms& port)
        : FPanel(panel)
    {
        panel.SetOnSilence([this, &port] {
            QMetaObject::invokeMethod(
                &FContext,
                [&port] {
                    if (port.TimeoutRunning())
                        port.DataRxTimeout();
                },
                Qt::QueuedConnection);
        });
    }
    // No call is under way once the hook is cleared; expiries still queued go with FContext.
    ~ExpireOnSilence() { FPanel.SetOnSilence(nullptr); }
    ExpireOnSilence(const ExpireOnSilence&) = delete;
    ExpireOnSilence& operator=(const ExpireOnSilence&) = delete;

private:
    SimulatedPanel& FPanel;
    QObject FContext;
};

// Points COM1 at a device for the life of the object.
class Com1Device {
public:
    explicit Com1Device(const std::string& path) { ::setenv("PX10_COM1", path.c_str(), 1); }
    ~Com1Device() { ::unsetenv("PX10_COM1"); }
};

// A fixture whose protocol component records what it receives: the replies'
// data, the receive errors and the bytes outside any packet.
class RecordingProtocolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        proto = std::make_unique<TQuorvelProtocol>();
        proto->OnPacketReceived = [this](TSerialComms*) {
            replies.emplace_back(
                reinterpret_cast<const char*>(proto->GetPacketData()), proto->GetPacketDataLength());
        };
        proto->OnPacketRxError = [this](TSerialComms*) { ++errors; };
        proto->OnNonProtocolCharRxd = [this](TSerialComms*, char& c) { stray += c; };
    }

    std::unique_ptr<TQuorvelProtocol> proto;
    std::vector<std::string> replies;
    int errors = 0;
    std::string stray;
};
