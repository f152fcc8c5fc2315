// A whole configuration sent to and received from the simulated panel over a
// pseudo-terminal, through the real port, protocol, detection and transfer.
// Run: bench_transfer
//
// BM_Transfer/<receive>/0: the panel answers at once. Figures: round trips
// (requests the panel saw), wall time and the program's CPU time per round
// trip (this process less the panel's thread). The deliberate 50 ms pauses of
// detection and of the last item are left out here (injected as no-ops).
//
// BM_Transfer/<receive>/1: the panel paces its bytes at 9600 baud and takes
// each request as arriving at that rate too; real time-outs and pauses.
// Figures: total time, the wire-time floor (all bytes both ways / 960 bytes
// per second) and their ratio; the target is within 2 % of the floor.
#include "Configtransfer.h"
#include "Initiatepanelcomms.h"
#include "PX10ConfigData.h"
#include "Quorvelprotocolcomponent.h"
#include "support/SimulatedPanel.h"
#include "FloorComparison.h"

#include <QCoreApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace {

long long ProcessCpuNs()
{
    timespec ts {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void Fill(TPX10ConfigData& c)
{
    c.GeneralPanelSetup->SetSiteName("Benchmark site");
    for (int z = 1; z <= 32; ++z)
        c.ZoneTexts->SetZoneText(z, "Zone text " + std::to_string(z));
    for (int a = 1; a <= 99; ++a) {
        c.Sensors->SetDescription(a, "Sensor description " + std::to_string(a % 10));
        c.Sensors->SetType(a, a % 11 + 1);
        c.Modules->SetDescription(a, "Module description " + std::to_string(a % 10));
        c.Modules->SetType(a, a % 20 + 1);
    }
}

void BM_Transfer(benchmark::State& state)
{
    const bool receive = state.range(0) == 1;
    const bool paced = state.range(1) == 1;
    SimulatedPanel panel;
    panel.EnableConfigPanel();
    panel.SetIdentification(SimulatedPanel::MakeIdentification("301", 703));
    panel.SetPasscode(-1);
    ::setenv("PX10_COM1", panel.SlavePath().c_str(), 1);

    comms::CommsTiming timing;
    if (!paced)
        timing.Sleep = [](unsigned) {};
    comms::EventLoopHost detectionHost;
    comms::EventLoopHost transferHost;
    comms::TInitiatePanelComms detection(detectionHost, timing);
    comms::TConfigTransfer transfer(transferHost, detection, timing);
    detectionHost.OnChanged = [&] {
        if (detection.State().FocusPasscode)
            QTimer::singleShot(0, [&] { detection.StartTransferClicked(); });
    };
    TQuorvelProtocol proto;
    auto config = std::make_unique<TPX10ConfigData>(false, false, false, false);
    Fill(*config);
    if (receive && !transfer.SendConfiguration(&proto, config.get()))
        state.SkipWithError("the configuration could not be stored in the panel");
    if (paced) {
        panel.SetBaudRate(9600);
        panel.SetPaceRequests(true);
    }

    double wallSum = 0;
    double cpuSum = 0;
    double floorSum = 0;
    double trips = 0;
    for (auto _ : state) {
        auto target = std::make_unique<TPX10ConfigData>(false, false, false, false);
        panel.ClearLog();
        const std::size_t writtenBefore = panel.WrittenByteCount();
        const long long cpu0 = ProcessCpuNs() - panel.ThreadCpuNs();
        const auto t0 = std::chrono::steady_clock::now();
        const bool ok = receive ? transfer.ReceiveConfiguration(&proto, target.get())
                                : transfer.SendConfiguration(&proto, config.get());
        const auto t1 = std::chrono::steady_clock::now();
        const long long cpu1 = ProcessCpuNs() - panel.ThreadCpuNs();
        if (!ok) {
            state.SkipWithError("transfer failed");
            break;
        }
        const double wall = std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(wall);
        wallSum += wall;
        cpuSum += static_cast<double>(cpu1 - cpu0) / 1e9;
        const double bytes = static_cast<double>(panel.ReceivedBytes().size())
            + static_cast<double>(panel.WrittenByteCount() - writtenBefore);
        floorSum += bytes / 960.0;
        trips += static_cast<double>(panel.RequestCount());
        state.counters["bytes"] = bytes;
        state.counters["failures"] = static_cast<double>(transfer.FailureCount());
    }
    const double n = static_cast<double>(state.iterations());
    if (n > 0 && trips > 0) {
        state.counters["round_trips"] = trips / n;
        state.counters["total_s"] = wallSum / n;
        state.counters["wall_us_per_rt"] = wallSum / trips * 1e6;
        state.counters["program_cpu_us_per_rt"] = cpuSum / trips * 1e6;
        if (paced) {
            state.counters["floor_s"] = floorSum / n;
            state.counters["ratio_to_floor"] = wallSum / floorSum;
            benchfloor::AddToRatio(
                receive ? "paced receive / wire time" : "paced send / wire time", wallSum, floorSum);
        }
    }
}

BENCHMARK(BM_Transfer)
    ->ArgsProduct({ { 0, 1 }, { 0 } })
    ->ArgNames({ "receive", "paced" })
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Transfer)
    ->ArgsProduct({ { 0, 1 }, { 1 } })
    ->ArgNames({ "receive", "paced" })
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    benchfloor::PrintSummary();
    return 0;
}
