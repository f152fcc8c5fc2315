#pragma once
// A folder of its own for a test's files, removed with everything in it.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Ends the test program when the scope outlives `seconds`: a test of
// something that must not wait fails instead of hanging.
struct HangGuard {
    explicit HangGuard(unsigned seconds) { ::alarm(seconds); }
    ~HangGuard() { ::alarm(0); }
};

class TempFolder {
public:
    TempFolder()
    {
        static std::atomic<int> serial { 0 };
        Dir = std::filesystem::temp_directory_path()
            / ("px10-loc-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(Dir);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const std::string& name) const { return (Dir / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }

private:
    std::filesystem::path Dir;
};
