// Downloads through the real port and a pseudo-terminal from the simulated
// panel, which paces every byte both ways as a 9600 baud line would: an event
// log of 500 events (1500 requests) and the device data of all 198 points.
// Run: bench_download. "ratio" is the measured time over the wire-time floor
// (every request and reply byte, framing and escapes included, at 10 bits per
// byte); the program's share is what lies above 1.0. Detection (J/K, F/G) is
// inside both the time and the floor; the 50 ms settling pauses are not run.
#include "Configtransfer.h"
#include "Initiatepanelcomms.h"
#include "Quorvelprotocolcomponent.h"
#include "support/PanelRecords.h"
#include "support/SimulatedPanel.h"
#include "FloorComparison.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr unsigned kBaud = 9600;

void EnsureApp()
{
    static int argc = 1;
    static char name[] = "bench_download";
    static char* argv[] = { name, nullptr };
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// Wire bytes of every request the panel saw and of the reply it gave.
double WireSeconds(const SimulatedPanel& panel, const PanelRecords& records)
{
    std::size_t bytes = 0;
    for (const auto& r : panel.Requests()) {
        bytes += r.Raw.size();
        std::string reply;
        if (r.Command == 0x58) {
            const int event
                = (static_cast<unsigned char>(r.Data[0]) << 8) | static_cast<unsigned char>(r.Data[1]);
            const int part = static_cast<unsigned char>(r.Data[2]);
            const auto events = records.Events();
            const int count = static_cast<int>(events.size());
            reply = SimulatedPanel::Frame(0x59,
                PanelRecords::EventReplyData(
                    event, part, count, event < count ? events[event].Parts[part] : ""));
        } else if (r.Command == 0x5A) {
            const int point = static_cast<unsigned char>(r.Data[0]);
            reply = SimulatedPanel::Frame(
                0x5B, PanelRecords::DeviceReplyData(point, PanelRecords::MakeReading(point)));
        } else if (r.Command == 0x4A) {
            reply = SimulatedPanel::Frame(0x4B, "");
        } else {
            reply = SimulatedPanel::Frame(0x47, std::string(20, ' '));
        }
        bytes += reply.size();
    }
    return bytes * 10.0 / kBaud;
}

void BM_Download(benchmark::State& state, bool eventLog)
{
    EnsureApp();
    SimulatedPanel panel;
    panel.EnableConfigPanel();
    panel.SetIdentification(SimulatedPanel::MakeIdentification("301", 703));
    panel.SetBaudRate(kBaud);
    panel.SetPaceRequests(true);
    PanelRecords records;
    std::vector<PanelRecords::Event> events;
    for (int i = 0; i < 500; ++i)
        events.push_back(PanelRecords::MakeEvent(i));
    records.SetEvents(events);
    records.Install(panel);
    ::setenv("PX10_COM1", panel.SlavePath().c_str(), 1);

    comms::CommsTiming timing;
    timing.Sleep = [](unsigned) {};
    comms::EventLoopHost detectionHost, transferHost;
    comms::TInitiatePanelComms detection(detectionHost, timing);
    comms::TConfigTransfer transfer(transferHost, detection, timing);
    TQuorvelProtocol proto;
    double wire = 0, measured = 0;
    std::size_t lines = 0;
    for (auto _ : state) {
        panel.ClearLog();
        comms::TextLines out;
        QElapsedTimer clock;
        clock.start();
        const bool ok = eventLog ? transfer.DownloadEventLog(&proto, &out)
                                 : transfer.DownloadDeviceData(&proto, &out, -1);
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (!ok) {
            state.SkipWithError("download failed");
            break;
        }
        state.SetIterationTime(seconds);
        measured += seconds;
        wire += WireSeconds(panel, records);
        lines = out.size();
    }
    state.counters["wire_s"] = wire / state.iterations();
    state.counters["ratio"] = measured / wire;
    benchfloor::AddToRatio(eventLog ? "event log / wire time" : "device data / wire time", measured, wire);
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["requests"] = static_cast<double>(transfer.RequestsSent());
}

} // namespace

BENCHMARK_CAPTURE(BM_Download, event_log_500, true)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Download, device_data_all, false)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchfloor::Main(argc, argv);
}
