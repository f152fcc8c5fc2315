// Loading and saving a full configuration (every item in use)
// against the least the system must do for the same 18,180 bytes, measured in
// alternation: a load against open + read + close, a save against writing a
// temporary file, fsync, rename and fsync of the folder (in a folder of a few
// files and in one of 20,000, where a save must cost the same); and a fresh
// default configuration against copying the same bytes into a new block. The
// files go to $PX10_BENCH_DIR when set, else to a new folder under /tmp.
#include "FloorComparison.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

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

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s failed\n", what);
        std::abort();
    }
}

// A folder of `count` small files, as a user's folder of sites.
std::string CrowdedFolder(std::size_t count)
{
    const std::string folder = Folder() + "/crowded";
    std::filesystem::create_directory(folder);
    char name[32];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "/site%05zu.udf", i);
        const int fd = open((folder + name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        Check(fd >= 0, "making the crowded folder");
        close(fd);
    }
    return folder;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string full = Folder() + "/full.udf";
    MakeFullConfiguration()->SaveToFile(full);
    auto toSave = MakeFullConfiguration();
    const std::string saved = Folder() + "/saved.udf";
    // On a page boundary, as the program's own blocks are: the kernel copies to
    // or from a buffer that starts a few bytes past one at a fraction of its
    // speed, so where the allocator put it would decide the floor.
    static const platform::File::Block buffer = [] {
        auto b = platform::File::NewBlock(TPX10ConfigData::FileSize);
        std::memset(b.get(), 'x', TPX10ConfigData::FileSize);
        return b;
    }();
    constexpr std::size_t size = TPX10ConfigData::FileSize;

    benchfloor::Register({ "LoadFullConfiguration",
        [&] {
            TPX10ConfigData c(false, false, true, false);
            c.LoadFromFile(full);
            benchmark::DoNotOptimize(c.Sensors->GetType(99));
        },
        [&] {
            int fd = open(full.c_str(), O_RDONLY | O_CLOEXEC);
            ssize_t n = read(fd, buffer.get(), size);
            close(fd);
            Check(n == static_cast<ssize_t>(size), "plain read");
            benchmark::DoNotOptimize(buffer.get());
        },
        200, 100, 2.0, 0, "open+read+close" });

    // The least a crash-safe save of the same bytes does in `folder`.
    const auto plainSave = [&](const std::string& folder) {
        return [&, folder, plain = folder + "/plain.udf", plainTemp = folder + "/plain.udf.tmp"] {
            int fd = open(plainTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            ssize_t n = write(fd, buffer.get(), size);
            Check(fsync(fd) == 0, "fsync");
            close(fd);
            Check(rename(plainTemp.c_str(), plain.c_str()) == 0, "rename");
            int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            fsync(dir);
            close(dir);
            Check(n == static_cast<ssize_t>(size), "plain write");
        };
    };
    benchfloor::Register({ "SaveFullConfiguration", [&] { toSave->SaveToFile(saved); }, plainSave(Folder()),
        4, 60, 1.2, 0, "write+fsync+rename+folder fsync" });
    const std::string crowded = CrowdedFolder(20000);
    const std::string savedThere = crowded + "/saved.udf";
    benchfloor::Register({ "SaveFullConfigurationAmong20000Files", [&] { toSave->SaveToFile(savedThere); },
        plainSave(crowded), 4, 60, 1.2, 0, "write+fsync+rename+folder fsync there" });

    // A fresh default configuration, every part holding its defaults (parts
    // take them when first touched, so every part is asked).
    benchfloor::Register({ "CreateConfiguration",
        [] {
            TPX10ConfigData c(false, false, true, false);
            benchmark::DoNotOptimize(c.IsModified());
        },
        [] {
            auto block = std::make_unique<char[]>(TPX10ConfigData::FileSize);
            std::memcpy(block.get(), buffer.get(), TPX10ConfigData::FileSize);
            benchmark::DoNotOptimize(block.get());
        },
        500, 100, 0, 0, "new+copy of 18,180 bytes" });

    int result = benchfloor::Main(argc, argv);
    if (std::getenv("PX10_BENCH_DIR") == nullptr)
        std::filesystem::remove_all(Folder());
    return result;
}
