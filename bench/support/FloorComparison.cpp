#include "FloorComparison.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace benchfloor {

namespace {

struct Samples {
    Comparison Spec;
    std::vector<double> SubjectNs; // per run, one value per round
    std::vector<double> FloorNs;
    std::vector<double> Ratios;
};

std::vector<std::unique_ptr<Samples>>& All()
{
    static std::vector<std::unique_ptr<Samples>> all;
    return all;
}

double TimeBatchNs(const std::function<void()>& f, int batch)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < batch; ++i)
        f();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / batch;
}

void Run(benchmark::State& state, Samples* s)
{
    const Comparison& c = s->Spec;
    // One untimed round so that first-use costs fall on neither side.
    TimeBatchNs(c.Subject, 1);
    TimeBatchNs(c.Floor, 1);
    long round = 0;
    for (auto _ : state) {
        double subject, floor;
        if (round++ % 2 == 0) {
            subject = TimeBatchNs(c.Subject, c.Batch);
            floor = TimeBatchNs(c.Floor, c.Batch);
        } else {
            floor = TimeBatchNs(c.Floor, c.Batch);
            subject = TimeBatchNs(c.Subject, c.Batch);
        }
        state.SetIterationTime(subject * 1e-9);
        s->SubjectNs.push_back(subject);
        s->FloorNs.push_back(floor);
        s->Ratios.push_back(floor > 0 ? subject / floor : 0);
    }
    state.counters["floor_ns"] = Median(s->FloorNs);
    state.counters["ratio"] = Median(s->Ratios);
}

// Half the distance between the quartiles, as a share of the median.
double Spread(std::vector<double> v)
{
    if (v.size() < 4)
        return 0;
    std::sort(v.begin(), v.end());
    double q1 = v[v.size() / 4], q3 = v[v.size() * 3 / 4];
    double m = Median(v);
    return m > 0 ? 100.0 * (q3 - q1) / 2 / m : 0;
}

std::string Time(double ns)
{
    char buf[64];
    if (ns >= 1e6)
        std::snprintf(buf, sizeof buf, "%.3f ms", ns / 1e6);
    else if (ns >= 1e3)
        std::snprintf(buf, sizeof buf, "%.2f us", ns / 1e3);
    else
        std::snprintf(buf, sizeof buf, "%.1f ns", ns);
    return buf;
}

struct Sums {
    std::string Name;
    double Subject = 0, Floor = 0;
};

std::vector<Sums>& Noted()
{
    static std::vector<Sums> noted;
    return noted;
}

} // namespace

void AddToRatio(const std::string& name, double subject, double floor)
{
    for (Sums& s : Noted())
        if (s.Name == name) {
            s.Subject += subject;
            s.Floor += floor;
            return;
        }
    Noted().push_back({ name, subject, floor });
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void Register(Comparison comparison)
{
    All().push_back(std::make_unique<Samples>());
    Samples* s = All().back().get();
    s->Spec = std::move(comparison);
    benchmark::RegisterBenchmark(s->Spec.Name.c_str(), [s](benchmark::State& state) { Run(state, s); })
        ->UseManualTime()
        ->Iterations(s->Spec.Rounds)
        ->Unit(benchmark::kMicrosecond);
}

void PrintSummary()
{
    std::string last;
    std::printf("\n");
    for (const auto& s : All()) {
        if (s->Ratios.empty())
            continue;
        const double ratio = Median(s->Ratios);
        std::printf("%s: median %s (+-%.0f%%) against %s %s (+-%.0f%%), ratio %.2f", s->Spec.Name.c_str(),
            Time(Median(s->SubjectNs)).c_str(), Spread(s->SubjectNs), s->Spec.FloorName.c_str(),
            Time(Median(s->FloorNs)).c_str(), Spread(s->FloorNs), ratio);
        if (s->Spec.Goal > 0)
            std::printf(" (goal %.2f: %s)", s->Spec.Goal, ratio <= s->Spec.Goal ? "met" : "NOT MET");
        if (s->Spec.GoalNs > 0)
            std::printf(" (goal %s: %s)", Time(s->Spec.GoalNs).c_str(),
                Median(s->SubjectNs) <= s->Spec.GoalNs ? "met" : "NOT MET");
        std::printf("\n");
        char part[160];
        std::snprintf(part, sizeof part, "%s%s %.2f", last.empty() ? "" : ", ", s->Spec.Name.c_str(), ratio);
        last += part;
    }
    for (const Sums& s : Noted()) {
        char part[160];
        std::snprintf(part, sizeof part, "%s%s %.2f", last.empty() ? "" : ", ", s.Name.c_str(),
            s.Floor > 0 ? s.Subject / s.Floor : 0.0);
        last += part;
    }
    std::printf("ratio against the floor: %s\n", last.c_str());
    std::fflush(stdout);
}

int Main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}

} // namespace benchfloor
