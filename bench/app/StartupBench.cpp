// Start-up time and peak memory of PX10Tool against the same main window built
// in plain Qt (the floor) and an empty QMainWindow, all started offscreen in
// the same run, in alternation. Time runs from the spawn of the process to its
// "main window shown" line, which it prints once its main window (with the
// splash screen over it) has been painted for the first time. What the user
// cannot see yet is made when first needed and does not count: the module
// grid, the panel setup options, the on-board outputs, the add devices dialog
// and the other long-lived windows (rule and zone text editors, panel comms,
// printing, range entry, text download). Peak memory is the child's maximum
// resident set. The last line gives the ratio against the floor.
#include "FloorComparison.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Sample {
    double Ms = 0;
    long PeakKb = 0;
};

std::map<std::string, std::vector<Sample>> Samples;

Sample RunOnce(const char* exe)
{
    int out[2];
    if (pipe(out) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = { const_cast<char*>(exe), nullptr };
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, exe, &actions, nullptr, argv, environ) != 0)
        std::abort();
    close(out[1]);
    std::string got;
    char buf[256];
    Sample s;
    while (got.find("main window shown") == std::string::npos) {
        ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, size_t(n));
    }
    s.Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    while (read(out[0], buf, sizeof buf) > 0) { }
    close(out[0]);
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    s.PeakKb = usage.ru_maxrss;
    return s;
}

const char* const Programs[] = { PX10_TOOL, PX10_PLAIN_QT, PX10_BARE_QT };
const char* const Names[] = { "px10", "plain", "bare" };

// One round starts the three programs once each, the first one changing from
// round to round, so that whatever else the machine does falls on all alike.
void Startup(benchmark::State& state)
{
    long round = 0;
    for (auto _ : state) {
        double toolMs = 0;
        for (int k = 0; k < 3; ++k) {
            const int p = static_cast<int>((round + k) % 3);
            Sample s = RunOnce(Programs[p]);
            Samples[Names[p]].push_back(s);
            if (p == 0)
                toolMs = s.Ms;
        }
        ++round;
        state.SetIterationTime(toolMs / 1000.0);
    }
}

std::vector<double> Of(const char* name, bool memory)
{
    std::vector<double> v;
    for (const Sample& s : Samples[name])
        v.push_back(memory ? double(s.PeakKb) : s.Ms);
    return v;
}

// Half the distance between the quartiles, in ms.
double Spread(std::vector<double> v)
{
    if (v.size() < 4)
        return 0;
    std::sort(v.begin(), v.end());
    return (v[v.size() * 3 / 4] - v[v.size() / 4]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("PX10_STARTUP_PROBE", "1", 1);
    // Settings of the measured runs stay out of the user's own.
    char home[] = "/tmp/px10-bench-XXXXXX";
    if (mkdtemp(home))
        setenv("XDG_CONFIG_HOME", home, 1);
    // Warm the page cache once so the first sample is not an outlier.
    for (const char* p : Programs)
        RunOnce(p);
    benchmark::RegisterBenchmark("Startup/PX10Tool", Startup)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(15);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Each round's programs ran side by side: the ratio is the median of the rounds' ratios.
    std::vector<double> toPlain, toBare;
    const auto t = Of("px10", false), p = Of("plain", false), b = Of("bare", false);
    for (std::size_t i = 0; i < t.size() && i < p.size() && i < b.size(); ++i) {
        toPlain.push_back(p[i] > 0 ? t[i] / p[i] : 0);
        toBare.push_back(b[i] > 0 ? t[i] / b[i] : 0);
    }
    const double plainRatio = benchfloor::Median(toPlain);
    const double tool = benchfloor::Median(Of("px10", false));
    const double plain = benchfloor::Median(Of("plain", false));
    const double bare = benchfloor::Median(Of("bare", false));
    std::printf("\nmedian start-up: PX10Tool %.1f ms (+-%.1f), the same window in plain Qt %.1f ms (+-%.1f), "
                "an empty window %.1f ms (+-%.1f)\n",
        tool, Spread(Of("px10", false)), plain, Spread(Of("plain", false)), bare, Spread(Of("bare", false)));
    std::printf("median peak memory: PX10Tool %.0f KB, plain Qt %.0f KB, empty window %.0f KB\n",
        benchfloor::Median(Of("px10", true)), benchfloor::Median(Of("plain", true)),
        benchfloor::Median(Of("bare", true)));
    std::printf("against the empty window: ratio %.2f\n", benchfloor::Median(toBare));
    std::printf("ratio against the floor (the same window in plain Qt): %.2f (goal 1.10: %s)\n", plainRatio,
        plainRatio <= 1.1 ? "met" : "NOT MET");
    return 0;
}
