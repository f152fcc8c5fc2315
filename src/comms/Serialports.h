#pragma once
// Which device each port name COM1 to COM8 opens on this machine, and the
// serial devices present to choose from. The serial port setup window shows
// and edits this; the port component asks it for the device to open.
#include "Serialcommscomponent.h"

#include <array>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace comms {

enum class DeviceSource { Default, Setting, Environment };

struct PortDevice {
    std::string Path; // what the port opens
    DeviceSource Source = DeviceSource::Default;
    bool Exists = false;
};

// One entry of the device list offered for a port.
struct DeviceChoice {
    std::string Path; // what is stored and opened
    std::string Text; // what the list shows (UTF-8)
};

class SerialPorts {
public:
    // `DevRoot` stands for /dev and `SysTtyRoot` for /sys/class/tty, so tests
    // can lay out their own devices.
    explicit SerialPorts(std::string DevRoot = "/dev", std::string SysTtyRoot = "/sys/class/tty");

    static std::string EnvironmentName(TCommPort Port); // "PX10_COM3"
    static std::string SettingKey(TCommPort Port); // "Setup/COM3 Device"
    std::string DefaultDevice(TCommPort Port) const; // <dev>/ttyS<n-1>

    // The device in force: the environment variable, else the setting (a
    // choice not yet saved included), else the default.
    PortDevice Device(TCommPort Port) const;
    // The device the setting gives the port (a choice not yet saved
    // included), else the default; the environment is not looked at.
    std::string ChosenDevice(TCommPort Port) const;

    // Choices wait for Save; choosing the default (or nothing) clears the setting.
    void Choose(TCommPort Port, const std::string& Path);
    // Writes the choices to the settings; raises an Exception when the
    // settings cannot be written.
    void Save();
    void Discard();

    // The serial devices present: the stable /dev/serial/by-id names first,
    // then ttyUSB, ttyACM and ttyS devices in number order. A ttyS device
    // that the system knows has no UART behind it is left out.
    std::vector<DeviceChoice> Present() const;
    // The list offered for `Port`: the devices present, headed by the port's
    // chosen device when that is not among them. `Current` is the index of
    // the chosen device.
    std::vector<DeviceChoice> Choices(TCommPort Port, int& Current) const;
    static bool Exists(const std::string& Path);

    // "COM3  (/dev/ttyUSB0)", noting a device taken from the environment and
    // a device that is not present.
    std::string PortCaption(TCommPort Port) const;
    // One line on the chosen device of `Port`: present or not, or what it is
    // when it is no serial device (as opening it would say), and whether the
    // environment overrides it.
    std::string DeviceStatus(TCommPort Port) const;

private:
    bool HasNoUart(const std::string& Name) const;

    std::string FDevRoot;
    std::string FSysTtyRoot;
    std::array<std::optional<std::string>, 8> FChosen; // "" clears the setting
};

// A device path as it is shown: control characters and line separators as
// escapes ("\n", "\t", "\x1b", "\u2028"), so an odd name keeps to one line and
// hides nothing.
std::string DevicePathText(const std::string& Path);

// The device line of an error raised by the port: the path and the system's
// reason. A refused permission also names the group that owns the device
// where joining it would let the user in.
std::string DeviceErrorLine(const std::string& Path, int Error);

// Why the file `St` describes is no serial line, translated ("Not a serial
// device (a named pipe)"), or empty when it may be one: a character device
// that the system does not know as something other than a terminal. Only
// the device numbers are looked at: nothing is opened.
std::string NotSerialReason(const struct stat& St);
// The same for the file at `Path`, links followed; empty when there is none.
std::string NotSerialReason(const std::string& Path);
// The reason for a character device that turns out not to be a terminal.
std::string NotATerminalReason();

} // namespace comms
