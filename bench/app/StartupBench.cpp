// Start-up time and peak memory of PX10Tool against a bare Qt program that
// shows one QMainWindow, both started offscreen in the same run. Time runs
// from the spawn of the process to its "main window shown" line (the program
// prints it once the main window and every long-lived window exist and the
// window has been shown); peak memory is the child's maximum resident set.
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

void Startup(benchmark::State& state, const char* name, const char* exe)
{
    for (auto _ : state) {
        Sample s = RunOnce(exe);
        state.SetIterationTime(s.Ms / 1000.0);
        state.counters["peak_rss_kb"] = double(s.PeakKb);
        Samples[name].push_back(s);
    }
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
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
    RunOnce(PX10_BARE_QT);
    RunOnce(PX10_TOOL);
    benchmark::RegisterBenchmark("Startup/BareQtMainWindow", Startup, "bare", PX10_BARE_QT)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(15);
    benchmark::RegisterBenchmark("Startup/PX10Tool", Startup, "px10", PX10_TOOL)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(15);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::vector<double> bare, tool, bareKb, toolKb;
    for (const Sample& s : Samples["bare"])
        bare.push_back(s.Ms), bareKb.push_back(double(s.PeakKb));
    for (const Sample& s : Samples["px10"])
        tool.push_back(s.Ms), toolKb.push_back(double(s.PeakKb));
    double mb = Median(bare), mt = Median(tool);
    std::printf("\nmedian start-up: bare Qt %.1f ms, PX10Tool %.1f ms, ratio %.2f (target < 1.5)\n", mb, mt,
        mb > 0 ? mt / mb : 0.0);
    std::printf("median peak memory: bare Qt %.0f KB, PX10Tool %.0f KB, ratio %.2f\n", Median(bareKb),
        Median(toolKb), Median(bareKb) > 0 ? Median(toolKb) / Median(bareKb) : 0.0);
    return 0;
}
