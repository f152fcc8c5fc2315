// Opening an MLD dictionary of 10,000 rows and 8 languages and loading one
// language's table (read, decode, sort), against reading the same file's
// bytes; and switching to a second language. Medians of 9 runs; the last
// line gives the ratio of the open against the plain read.
#include "Ivbindic.h"
#include "Ivmldwrt.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <unistd.h>

namespace {

constexpr int Rows = 10000;
constexpr int Languages = 8;

std::string Text(std::mt19937& rng, const std::string& tail)
{
    std::string t;
    int len = 5 + static_cast<int>(rng() % 56);
    for (int k = 0; k < len; ++k)
        t += static_cast<char>('a' + rng() % 26);
    return t + tail;
}

// Unicode as the generator writes it, or 8-bit text in each language's code page.
std::string MakeFile(bool unicode)
{
    std::mt19937 rng(4321);
    TIvMLDContent c;
    c.Unicode = unicode;
    const int primaries[Languages] = { 9, 7, 12, 16, 10, 19, 21, 29 };
    for (int k = 0; k < Languages; ++k) {
        TIvLanguage l;
        l.PrimaryId = primaries[k];
        l.DefaultSub = 1;
        l.SetCodePage(1252);
        l.EnglishName = "Language " + std::to_string(k);
        l.NativeName = l.EnglishName;
        c.Languages.push_back(l);
    }
    for (int i = 0; i < Rows; ++i) {
        TIvMLDRow row;
        row.Native = Text(rng, std::to_string(i));
        for (int k = 1; k < Languages; ++k)
            row.Columns.push_back(Text(rng, "\xC3\xA9"));
        c.Rows.push_back(std::move(row));
    }
    std::string name = (std::filesystem::temp_directory_path()
        / ("bench-" + std::to_string(::getpid()) + (unicode ? "-utf16" : "-8bit") + ".mld"))
                           .string();
    IvSaveMLD(c, name);
    return name;
}

const std::string& FileOf(bool unicode)
{
    static const std::string utf16 = MakeFile(true);
    static const std::string eightBit = MakeFile(false);
    return unicode ? utf16 : eightBit;
}

void BM_ReadFileBytes(benchmark::State& state)
{
    const std::string& name = FileOf(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(IvReadFileBytes(name));
}
BENCHMARK(BM_ReadFileBytes)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_OpenAndLoad(benchmark::State& state)
{
    const std::string& name = FileOf(state.range(0));
    for (auto _ : state) {
        TIvBinaryDictionary d;
        d.SetFileName(name);
        d.SetCheckLevel(ivclNone);
        d.SetLanguage(3);
        d.Open();
        if (d.GetTranslationCount() != Rows)
            state.SkipWithError("rows missing");
    }
}
BENCHMARK(BM_OpenAndLoad)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_SecondLanguage(benchmark::State& state)
{
    TIvBinaryDictionary d;
    d.SetFileName(FileOf(state.range(0)));
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(3);
    d.Open();
    int next = 5;
    for (auto _ : state) {
        d.SetLanguage(next);
        next = next == 5 ? 3 : 5;
    }
}
BENCHMARK(BM_SecondLanguage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Keeps the medians for the ratio.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& run : runs)
            if (run.aggregate_name == "median")
                Medians[run.run_name.str()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Medians;
};

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=9";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.push_back(repetitions.data());
    args.push_back(aggregates.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (bool unicode : { true, false }) {
        std::error_code ec;
        std::filesystem::remove(FileOf(unicode), ec);
    }
    auto& m = reporter.Medians;
    const char* kinds[] = { "8bit", "utf16" };
    for (int arg : { 0, 1 }) {
        std::string a = "/" + std::to_string(arg);
        if (m.count("BM_OpenAndLoad" + a) && m.count("BM_ReadFileBytes" + a) && m["BM_ReadFileBytes" + a] > 0)
            std::printf(
                "%s: open and load %.2f ms, second language %.2f ms, read bytes %.3f ms, ratio %.1f\n",
                kinds[arg], m["BM_OpenAndLoad" + a], m["BM_SecondLanguage" + a], m["BM_ReadFileBytes" + a],
                m["BM_OpenAndLoad" + a] / m["BM_ReadFileBytes" + a]);
    }
    return 0;
}
