#pragma once
// What the start-up check needs to know about the machine, behind an
// interface so that tests can pose as a network share or a small screen.
#include <cstdint>
#include <string>

enum class ProgramFolderKind { Local, Network, CdRom };

class EnvironmentProbe {
public:
    virtual ~EnvironmentProbe() = default;
    virtual ProgramFolderKind FolderKind(const std::string& folder) const = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    virtual std::uint64_t AvailableMemoryBytes() const = 0;
};

// The real machine: the file system of the folder (statfs), the primary
// screen (Qt) and the system's available memory.
class SystemEnvironmentProbe final : public EnvironmentProbe {
public:
    ProgramFolderKind FolderKind(const std::string& folder) const override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
    std::uint64_t AvailableMemoryBytes() const override;
    // The kind a file system type number (statfs f_type) stands for.
    static ProgramFolderKind KindOfFileSystem(long type);
};

// The translated message that stops the program, or "" when it may run.
// `productName` is the translated product name that a translation may name
// with %s.
std::string RunEnvironmentMessage(
    const EnvironmentProbe& probe, const std::string& programFolder, const std::string& productName);
