#include "Serialports.h"

#include "Exception.h"
#include "File.h"
#include "Ivdictio.h"
#include "Settings.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace comms {

namespace fs = std::filesystem;

namespace {

int PortNumber(TCommPort Port)
{
    return static_cast<int>(Port) + 1;
}

std::string StoredDevice(TCommPort Port)
{
    return platform::ProgramSettings()
        ->value(QString::fromStdString(SerialPorts::SettingKey(Port)))
        .toString()
        .toStdString();
}

// The number after `prefix` in a device name ("ttyUSB12" -> 12), or -1 when
// the name is not the prefix followed by digits only.
long DeviceNumber(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 6
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(digits);
}

// False when the system files the character device under another class than
// the terminals (a memory device, a watchdog, a sound card); true for a
// terminal and for a device it does not list, such as a pseudo-terminal,
// which the opened handle then shows.
bool MayBeTerminal(dev_t Device)
{
    const fs::path node
        = "/sys/dev/char/" + std::to_string(major(Device)) + ":" + std::to_string(minor(Device));
    std::error_code ec;
    const fs::path subsystem = fs::read_symlink(node / "subsystem", ec);
    return ec || subsystem.filename() == "tty";
}

// The groups whose permission bits apply to this process: its supplementary
// groups and its effective group.
std::vector<gid_t> ProcessGroups()
{
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    groups.push_back(::getegid());
    return groups;
}

// Whether joining the group of the file `St` describes would let the user
// read and write it: the group's bits allow both, and the user is in it
// neither already nor as the owner (whose own bits apply instead).
bool JoiningTheGroupHelps(const struct stat& St, uid_t User, const std::vector<gid_t>& Groups)
{
    const mode_t readWrite = S_IRGRP | S_IWGRP;
    return (St.st_mode & readWrite) == readWrite && St.st_uid != User
        && std::find(Groups.begin(), Groups.end(), St.st_gid) == Groups.end();
}

} // namespace

SerialPorts::SerialPorts(std::string DevRoot, std::string SysTtyRoot)
    : FDevRoot(std::move(DevRoot))
    , FSysTtyRoot(std::move(SysTtyRoot))
{
}

std::string SerialPorts::EnvironmentName(TCommPort Port)
{
    return "PX10_COM" + std::to_string(PortNumber(Port));
}

std::string SerialPorts::SettingKey(TCommPort Port)
{
    return "Setup/COM" + std::to_string(PortNumber(Port)) + " Device";
}

std::string SerialPorts::DefaultDevice(TCommPort Port) const
{
    return FDevRoot + "/ttyS" + std::to_string(PortNumber(Port) - 1);
}

std::string SerialPorts::ChosenDevice(TCommPort Port) const
{
    const auto& chosen = FChosen[Port];
    const std::string path = chosen ? *chosen : StoredDevice(Port);
    return path.empty() ? DefaultDevice(Port) : path;
}

PortDevice SerialPorts::Device(TCommPort Port) const
{
    PortDevice d;
    if (const char* env = std::getenv(EnvironmentName(Port).c_str()); env && *env) {
        d.Path = env;
        d.Source = DeviceSource::Environment;
    } else {
        const auto& chosen = FChosen[Port];
        const std::string setting = chosen ? *chosen : StoredDevice(Port);
        d.Path = setting.empty() ? DefaultDevice(Port) : setting;
        d.Source = setting.empty() ? DeviceSource::Default : DeviceSource::Setting;
    }
    d.Exists = Exists(d.Path);
    return d;
}

void SerialPorts::Choose(TCommPort Port, const std::string& Path)
{
    FChosen[Port] = Path == DefaultDevice(Port) ? std::string() : Path;
}

void SerialPorts::Save()
{
    if (std::none_of(FChosen.begin(), FChosen.end(), [](const auto& c) { return c.has_value(); }))
        return;
    const std::unique_ptr<QSettings> settings = platform::ProgramSettings();
    for (int i = 0; i < 8; ++i) {
        const auto& chosen = FChosen[i];
        if (!chosen)
            continue;
        const QString key = QString::fromStdString(SettingKey(static_cast<TCommPort>(i)));
        if (chosen->empty())
            settings->remove(key);
        else
            settings->setValue(key, QString::fromStdString(*chosen));
    }
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw Exception("Unable to save the serial port settings");
    Discard();
}

void SerialPorts::Discard()
{
    FChosen = {};
}

bool SerialPorts::Exists(const std::string& Path)
{
    struct stat st { };
    return !Path.empty() && ::stat(Path.c_str(), &st) == 0;
}

bool SerialPorts::HasNoUart(const std::string& Name) const
{
    // The serial driver makes ttyS devices whether or not a UART answers;
    // type 0 marks one without.
    std::ifstream type(FSysTtyRoot + "/" + Name + "/type");
    int value = -1;
    return type >> value && value == 0;
}

std::vector<DeviceChoice> SerialPorts::Present() const
{
    std::vector<DeviceChoice> list;
    std::error_code ec;
    const fs::path byId = fs::path(FDevRoot) / "serial" / "by-id";
    std::vector<std::string> links;
    for (const auto& entry : fs::directory_iterator(byId, ec))
        links.push_back(entry.path().filename().string());
    std::sort(links.begin(), links.end());
    for (const std::string& name : links) {
        const fs::path link = byId / name;
        const fs::path target = fs::canonical(link, ec);
        if (ec)
            continue; // the device behind it is gone
        list.push_back({ link.string(),
            DevicePathText(name) + "  (" + DevicePathText(target.filename().string()) + ")" });
    }

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FDevRoot, ec))
        names.push_back(entry.path().filename().string());
    for (const char* prefix : { "ttyUSB", "ttyACM", "ttyS" }) {
        std::vector<std::pair<long, std::string>> group;
        for (const std::string& name : names)
            if (const long n = DeviceNumber(name, prefix); n >= 0)
                group.emplace_back(n, name);
        std::sort(group.begin(), group.end());
        for (const auto& [n, name] : group) {
            if (std::string(prefix) == "ttyS" && HasNoUart(name))
                continue;
            const std::string path = FDevRoot + "/" + name;
            list.push_back({ path, DevicePathText(path) });
        }
    }
    return list;
}

std::vector<DeviceChoice> SerialPorts::Choices(TCommPort Port, int& Current) const
{
    std::vector<DeviceChoice> list = Present();
    const std::string chosen = ChosenDevice(Port);
    const auto it
        = std::find_if(list.begin(), list.end(), [&](const DeviceChoice& c) { return c.Path == chosen; });
    if (it != list.end()) {
        Current = static_cast<int>(it - list.begin());
        return list;
    }
    // Kept on offer so the list shows what the port opens now.
    std::string text = DevicePathText(chosen);
    if (!Exists(chosen))
        text += "  (" + Translate("not present") + ")";
    list.insert(list.begin(), { chosen, text });
    Current = 0;
    return list;
}

std::string SerialPorts::PortCaption(TCommPort Port) const
{
    const PortDevice d = Device(Port);
    std::string text = CommPortName(Port) + "  (" + DevicePathText(d.Path);
    if (d.Source == DeviceSource::Environment)
        text += ", " + MlFormat("from %s", EnvironmentName(Port));
    if (!d.Exists)
        text += ", " + Translate("not present");
    return text + ")";
}

std::string SerialPorts::DeviceStatus(TCommPort Port) const
{
    const PortDevice d = Device(Port);
    const std::string refused = NotSerialReason(d.Path);
    if (d.Source == DeviceSource::Environment) {
        const std::string text = MlFormat("%s is set, so the port opens %s, not the device chosen here.",
            EnvironmentName(Port), DevicePathText(d.Path));
        return refused.empty() ? text : text + "\n" + refused;
    }
    if (!refused.empty())
        return refused;
    return Translate(d.Exists ? "The device is present." : "The device is not present.");
}

std::string DevicePathText(const std::string& Path)
{
    QString text;
    for (const QChar c : QString::fromStdString(Path)) {
        const char16_t code = c.unicode();
        if (code == '\n')
            text += QStringLiteral("\\n");
        else if (code == '\t')
            text += QStringLiteral("\\t");
        else if (code == '\r')
            text += QStringLiteral("\\r");
        else if (code < 0x80 && c.category() == QChar::Other_Control)
            text += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Control || code == QChar::LineSeparator
            || code == QChar::ParagraphSeparator)
            text += QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
        else
            text += c;
    }
    return text.toStdString();
}

std::string DeviceErrorLine(const std::string& Path, int Error)
{
    std::string line = DevicePathText(Path) + ": " + platform::SystemErrorText(Error);
    struct stat st { };
    if ((Error != EACCES && Error != EPERM) || ::stat(Path.c_str(), &st) != 0
        || !JoiningTheGroupHelps(st, ::geteuid(), ProcessGroups()))
        return line;
    const group* owner = ::getgrgid(st.st_gid);
    const std::string name = owner ? owner->gr_name : std::to_string(st.st_gid);
    return line + " ("
        + MlFormat("the device belongs to the group \"%s\": the user must be in that group, and log in "
                   "again after joining it",
            name)
        + ")";
}

std::string NotSerialReason(const std::string& Path)
{
    struct stat st { };
    return !Path.empty() && ::stat(Path.c_str(), &st) == 0 ? NotSerialReason(st) : std::string();
}

std::string NotATerminalReason()
{
    return Translate("Not a serial device (a character device that is not a terminal)");
}

std::string NotSerialReason(const struct stat& St)
{
    switch (St.st_mode & S_IFMT) {
    case S_IFCHR:
        return MayBeTerminal(St.st_rdev) ? std::string() : NotATerminalReason();
    case S_IFIFO:
        return Translate("Not a serial device (a named pipe)");
    case S_IFDIR:
        return Translate("Not a serial device (a folder)");
    case S_IFREG:
        return Translate("Not a serial device (a plain file)");
    case S_IFSOCK:
        return Translate("Not a serial device (a socket)");
    case S_IFBLK:
        return Translate("Not a serial device (a disk or other block device)");
    default:
        return Translate("Not a serial device");
    }
}

} // namespace comms
