#include "RunEnvironment.h"

#include "Ivdictio.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/statfs.h>

ProgramFolderKind SystemEnvironmentProbe::KindOfFileSystem(long type)
{
    switch (static_cast<unsigned long>(type) & 0xFFFFFFFFul) {
    case 0x6969ul: // NFS
    case 0x517Bul: // SMB
    case 0xFF534D42ul: // CIFS
    case 0xFE534D42ul: // SMB2
    case 0x5346414Ful: // AFS
    case 0x73757245ul: // Coda
    case 0x564Cul: // NCP
    case 0x00C36400ul: // Ceph
        return ProgramFolderKind::Network;
    case 0x9660ul: // ISO 9660
    case 0x15013346ul: // UDF
        return ProgramFolderKind::CdRom;
    default:
        return ProgramFolderKind::Local;
    }
}

ProgramFolderKind SystemEnvironmentProbe::FolderKind(const std::string& folder) const
{
    struct statfs fs { };
    if (statfs(folder.c_str(), &fs) != 0)
        return ProgramFolderKind::Local; // an unknown folder does not stop the program
    return KindOfFileSystem(static_cast<long>(fs.f_type));
}

int SystemEnvironmentProbe::ScreenWidth() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size().width() : 0;
}

int SystemEnvironmentProbe::ScreenHeight() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size().height() : 0;
}

std::uint64_t SystemEnvironmentProbe::AvailableMemoryBytes() const
{
    std::ifstream in("/proc/meminfo");
    std::string key;
    std::uint64_t value = 0;
    std::string unit;
    while (in >> key >> value) {
        std::getline(in, unit);
        if (key == "MemAvailable:")
            return value * 1024;
    }
    return 0;
}

std::string RunEnvironmentMessage(
    const EnvironmentProbe& probe, const std::string& programFolder, const std::string& productName)
{
    std::string message;
    switch (probe.FolderKind(programFolder)) {
    case ProgramFolderKind::Network:
        message = IvNative(
            "The PX1x/2x Series Windows Support Tool cannot be run from a\r\nnetwork drive and must be "
            "installed on your hard drive.");
        break;
    case ProgramFolderKind::CdRom:
        message
            = IvNative("The PX1x/2x Series Windows Support Tool cannot be run from\r\nthe CDROM and must be "
                        "installed on your hard drive.");
        break;
    case ProgramFolderKind::Local:
        break;
    }
    if (probe.ScreenWidth() < 800 || probe.ScreenHeight() < 600)
        message = IvNative(
            "The PX1x/2x Series Windows Support Tool MUST be\r\nrun in a resolution of 800x600 or "
            "greater.");
    if (message.empty())
        return "";
    // A translation may name the product up to twice; one that does not fit
    // gives way to the English text.
    return MlFormat(message, productName, productName);
}
