// Loading and saving a full configuration (99 sensors and 99 modules defined)
// against a plain read and write of the same 18,180 bytes.
// The files go to $PX10_BENCH_DIR when set, else to a new folder under /tmp.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "PX10ConfigData.h"
#include "support/FullConfiguration.h"

namespace {

const std::string& Folder()
{
    static const std::string folder = [] {
        if (const char* dir = std::getenv("PX10_BENCH_DIR"))
            return std::string(dir);
        char pattern[] = "/tmp/px10benchXXXXXX";
        if (mkdtemp(pattern) == nullptr)
            std::abort();
        return std::string(pattern);
    }();
    return folder;
}

std::unique_ptr<TPX10ConfigData> FullConfiguration()
{
    return MakeFullConfiguration();
}

const std::string& FullFile()
{
    static const std::string path = [] {
        std::string p = Folder() + "/full.udf";
        FullConfiguration()->SaveToFile(p);
        return p;
    }();
    return path;
}

void BM_LoadFullConfiguration(benchmark::State& state)
{
    const std::string& path = FullFile();
    for (auto _ : state) {
        TPX10ConfigData c(false, false, true, false);
        c.LoadFromFile(path);
        benchmark::DoNotOptimize(c.Sensors->GetType(99));
    }
}

// The fresh default configuration that every load starts from.
void BM_CreateConfiguration(benchmark::State& state)
{
    for (auto _ : state) {
        TPX10ConfigData c(false, false, true, false);
        benchmark::DoNotOptimize(c.Sensors->GetType(99));
    }
}

void BM_SaveFullConfiguration(benchmark::State& state)
{
    auto c = FullConfiguration();
    const std::string path = Folder() + "/saved.udf";
    for (auto _ : state)
        c->SaveToFile(path);
}

void BM_PlainRead(benchmark::State& state)
{
    const std::string& path = FullFile();
    std::vector<char> buffer(TPX10ConfigData::FileSize);
    for (auto _ : state) {
        int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ssize_t n = read(fd, buffer.data(), buffer.size());
        close(fd);
        if (n != static_cast<ssize_t>(buffer.size()))
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
}

void BM_PlainWrite(benchmark::State& state)
{
    const std::string path = Folder() + "/plain.udf";
    std::vector<char> buffer(TPX10ConfigData::FileSize, 'x');
    for (auto _ : state) {
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ssize_t n = write(fd, buffer.data(), buffer.size());
        close(fd);
        if (n != static_cast<ssize_t>(buffer.size()))
            state.SkipWithError("short write");
    }
}

// The same bytes written the crash-safe way (temporary file, flush, rename),
// which is what a save costs at the least.
void BM_PlainWriteSyncRename(benchmark::State& state)
{
    const std::string path = Folder() + "/plain-sync.udf";
    const std::string temp = path + ".tmp";
    std::vector<char> buffer(TPX10ConfigData::FileSize, 'x');
    for (auto _ : state) {
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ssize_t n = write(fd, buffer.data(), buffer.size());
        fsync(fd);
        close(fd);
        rename(temp.c_str(), path.c_str());
        if (n != static_cast<ssize_t>(buffer.size()))
            state.SkipWithError("short write");
    }
}

} // namespace

BENCHMARK(BM_LoadFullConfiguration);
BENCHMARK(BM_CreateConfiguration);
BENCHMARK(BM_PlainRead);
BENCHMARK(BM_SaveFullConfiguration);
BENCHMARK(BM_PlainWrite);
BENCHMARK(BM_PlainWriteSyncRename);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (std::getenv("PX10_BENCH_DIR") == nullptr)
        std::filesystem::remove_all(Folder());
    return 0;
}
