// Which device each COM name opens, and the serial devices offered, with a
// temporary folder standing in for /dev and /sys/class/tty.
#include "CommsTestUtil.h"
#include "Serialports.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

using namespace comms;
namespace fs = std::filesystem;

namespace {

class SerialPortsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
        ::unsetenv("PX10_COM3");
        fs::create_directories(dev + "/serial/by-id");
        fs::create_directories(sys);
    }
    void TearDown() override { ::unsetenv("PX10_COM3"); }

    void Device(const std::string& name) { std::ofstream(dev + "/" + name) << ""; }
    void Link(const std::string& name, const std::string& target)
    {
        fs::create_symlink("../../" + target, dev + "/serial/by-id/" + name);
    }
    void UartType(const std::string& name, const char* type)
    {
        fs::create_directories(sys + "/" + name);
        std::ofstream(sys + "/" + name + "/type") << type << "\n";
    }
    static std::string Stored(TCommPort port)
    {
        QSettings s(QStringLiteral("Veltrane"), QStringLiteral("PX10 Windows Support Tool"));
        return s.value(QString::fromStdString(SerialPorts::SettingKey(port))).toString().toStdString();
    }
    std::vector<std::string> PresentPaths() const
    {
        std::vector<std::string> paths;
        for (const DeviceChoice& c : SerialPorts(dev, sys).Present())
            paths.push_back(c.Path);
        return paths;
    }

    QTemporaryDir settingsDir;
    QTemporaryDir root;
    const std::string dev = root.filePath("dev").toStdString();
    const std::string sys = root.filePath("sys").toStdString();
};

TEST_F(SerialPortsTest, StableNamesFirstThenAdaptersThenUartsInNumberOrder)
{
    for (const char* name : { "ttyS10", "ttyS2", "ttyS1", "ttyS0", "ttyUSB10", "ttyUSB1", "ttyUSB0",
             "ttyACM0", "tty0", "tty12", "ttyprintk", "ttySx", "console", "ttyUSB" })
        Device(name);
    Link("usb-FTDI_B-if00-port0", "ttyUSB1");
    Link("usb-FTDI_A-if00-port0", "ttyUSB0");
    Link("usb-Gone-if00-port0", "ttyUSB7"); // unplugged: its link dangles
    UartType("ttyS0", "4");
    UartType("ttyS1", "0"); // no UART behind it

    EXPECT_EQ(PresentPaths(),
        (std::vector<std::string> { dev + "/serial/by-id/usb-FTDI_A-if00-port0",
            dev + "/serial/by-id/usb-FTDI_B-if00-port0", dev + "/ttyUSB0", dev + "/ttyUSB1",
            dev + "/ttyUSB10", dev + "/ttyACM0", dev + "/ttyS0", dev + "/ttyS2", dev + "/ttyS10" }));
    // A stable name shows the device it points to.
    EXPECT_EQ(SerialPorts(dev, sys).Present()[1].Text, "usb-FTDI_B-if00-port0  (ttyUSB1)");

    // No devices at all, not even the folders: an empty list, no failure.
    EXPECT_TRUE(SerialPorts(root.filePath("none").toStdString(), sys).Present().empty());
}

TEST_F(SerialPortsTest, ChoiceIsStoredOnlyOnSaveAndTheDefaultClearsIt)
{
    Device("ttyUSB0");
    Device("ttyS2");
    SerialPorts ports(dev, sys);
    EXPECT_EQ(ports.Device(spCOM3).Path, dev + "/ttyS2");
    EXPECT_EQ(ports.Device(spCOM3).Source, DeviceSource::Default);
    EXPECT_TRUE(ports.Device(spCOM3).Exists);
    EXPECT_EQ(ports.PortCaption(spCOM3), "COM3  (" + dev + "/ttyS2)");
    EXPECT_EQ(ports.PortCaption(spCOM4), "COM4  (" + dev + "/ttyS3, not present)");

    ports.Choose(spCOM3, dev + "/ttyUSB0");
    EXPECT_EQ(ports.Device(spCOM3).Path, dev + "/ttyUSB0");
    EXPECT_EQ(ports.Device(spCOM3).Source, DeviceSource::Setting);
    EXPECT_EQ(Stored(spCOM3), ""); // not yet saved
    ports.Discard();
    EXPECT_EQ(ports.Device(spCOM3).Path, dev + "/ttyS2");

    ports.Choose(spCOM3, dev + "/ttyUSB0");
    ports.Save();
    EXPECT_EQ(Stored(spCOM3), dev + "/ttyUSB0");
    EXPECT_EQ(SerialPorts(dev, sys).Device(spCOM3).Path, dev + "/ttyUSB0");
    EXPECT_EQ(Stored(spCOM4), ""); // other ports untouched

    // A stored device that is gone stays on offer, marked, at the head of the list.
    fs::remove(dev + "/ttyUSB0");
    int current = -1;
    const std::vector<DeviceChoice> choices = ports.Choices(spCOM3, current);
    ASSERT_EQ(current, 0);
    EXPECT_EQ(choices[0].Path, dev + "/ttyUSB0");
    EXPECT_EQ(choices[0].Text, dev + "/ttyUSB0  (not present)");
    EXPECT_EQ(choices.size(), 2u);
    EXPECT_EQ(ports.DeviceStatus(spCOM3), "The device is not present.");
    ports.Choose(spCOM3, dev + "/serial"); // said of it as opening it would
    EXPECT_EQ(ports.DeviceStatus(spCOM3), "Not a serial device (a folder)");

    ports.Choose(spCOM3, dev + "/ttyS2"); // the default: nothing stored
    ports.Save();
    QSettings s(QStringLiteral("Veltrane"), QStringLiteral("PX10 Windows Support Tool"));
    EXPECT_FALSE(s.contains(QString::fromStdString(SerialPorts::SettingKey(spCOM3))));
    EXPECT_EQ(ports.Choices(spCOM3, current)[current].Path, dev + "/ttyS2");
}

TEST_F(SerialPortsTest, EnvironmentWinsOverTheSettingAndSaysSo)
{
    Device("ttyUSB0");
    SerialPorts ports(dev, sys);
    ports.Choose(spCOM3, dev + "/ttyUSB0");
    ports.Save();
    ::setenv("PX10_COM3", "/dev/pts/77", 1);
    const PortDevice d = ports.Device(spCOM3);
    EXPECT_EQ(d.Path, "/dev/pts/77");
    EXPECT_EQ(d.Source, DeviceSource::Environment);
    EXPECT_EQ(CommPortDevice(spCOM3), "/dev/pts/77");
    EXPECT_EQ(ports.PortCaption(spCOM3), "COM3  (/dev/pts/77, from PX10_COM3, not present)");
    EXPECT_EQ(ports.DeviceStatus(spCOM3),
        "PX10_COM3 is set, so the port opens /dev/pts/77, not the device chosen here.");
    // The setting is still what the list offers, and what the port opens
    // once the variable is gone.
    int current = -1;
    EXPECT_EQ(ports.Choices(spCOM3, current)[current].Path, dev + "/ttyUSB0");
    ::unsetenv("PX10_COM3");
    EXPECT_EQ(ports.Device(spCOM3).Path, dev + "/ttyUSB0");
    ::setenv("PX10_COM3", "/dev/new\nline\x1b", 1); // shown as escapes, on the entry's one line
    EXPECT_EQ(ports.PortCaption(spCOM3), "COM3  (/dev/new\\nline\\x1b, from PX10_COM3, not present)");
}

// A refused permission advises joining the device's group only where that
// lets the user in: the group may read and write the device, and the user is
// neither in it already nor its owner (whose own bits apply).
TEST_F(SerialPortsTest, RefusedPermissionNamesTheGroupOnlyWhereJoiningItHelps)
{
    const std::string path = dev + "/ttyUSB0";
    Device("ttyUSB0");
    const gid_t other = 4242; // an owner and a group that this process is not
    const group* named = ::getgrgid(other);
    const std::string advice = " (the device belongs to the group \""
        + std::string(named ? named->gr_name : "4242")
        + "\": the user must be in that group, and log in again after joining it)";
    // Owner, group, mode, and whether joining the group is advised.
    const std::tuple<uid_t, gid_t, mode_t, bool> cases[]
        = { { other, other, 0600, false }, { other, ::getegid(), 0660, false },
              { ::geteuid(), other, 0660, false }, { other, other, 0660, true } };
    for (const auto& [owner, gid, mode, advised] : cases) {
        ASSERT_TRUE(::chown(path.c_str(), owner, gid) == 0 && ::chmod(path.c_str(), mode) == 0);
        EXPECT_EQ(DeviceErrorLine(path, EACCES), path + ": Permission denied" + (advised ? advice : ""))
            << owner << ":" << gid << " " << std::oct << mode;
    }
    EXPECT_EQ(DeviceErrorLine(path, EPERM), path + ": Operation not permitted" + advice);
    EXPECT_EQ(DeviceErrorLine(dev + "/ttyUSB9", ENOENT), dev + "/ttyUSB9: No such file or directory");
}

} // namespace
