// The serial port on real pseudo-terminals.
#include "CommsTestUtil.h"
#include "Exception.h"
#include "Serialcommscomponent.h"
#include "support/SimulatedPanel.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <set>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string AllByteValues()
{
    std::string s;
    for (int i = 0; i < 256; ++i)
        s += static_cast<char>(i);
    return s;
}

std::string OpenError(TSerialComms& port)
{
    try {
        port.Open();
    } catch (const Exception& e) {
        return e.what();
    }
    return "";
}

// A pseudo-terminal of the test's own as COM1, its far end left to the test.
struct BareTerminal {
    static int OpenMaster()
    {
        const int m = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m >= 0 && (::grantpt(m) != 0 || ::unlockpt(m) != 0)) {
            ::close(m);
            return -1;
        }
        return m;
    }
    ~BareTerminal()
    {
        if (Master >= 0)
            ::close(Master);
    }
    int Master = OpenMaster();
    Com1Device Com1 { Master >= 0 ? ::ptsname(Master) : "/nonexistent" };
};

class SerialCommsTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApp(); }

    void Collect(TSerialComms& port)
    {
        port.SetDataRxd([this](TSerialComms*, char& c) { received += c; });
    }

    SimulatedPanel panel;
    Com1Device com1 { panel.SlavePath() };
    std::string received;
};

// Through a link to a link, as the stable by-id names (relative links) are.
TEST_F(SerialCommsTest, EveryByteValuePassesBothWaysUnchanged)
{
    QTemporaryDir dir;
    const std::string link = dir.filePath("by-id-port").toStdString();
    ASSERT_EQ(::symlink(panel.SlavePath().c_str(), dir.filePath("tty").toStdString().c_str()), 0);
    ASSERT_EQ(::symlink("tty", link.c_str()), 0);
    Com1Device byId(link);
    TSerialComms port;
    Collect(port);
    port.SetBaud(cb115200);
    port.Open();
    EXPECT_EQ(port.DevicePath(), link);
    const std::string all = AllByteValues() + AllByteValues();
    panel.Send(all);
    ASSERT_TRUE(RunUntil([&] { return received.size() >= all.size(); }, WaitMs));
    EXPECT_EQ(received, all);

    EXPECT_EQ(port.Write(all.data(), static_cast<int>(all.size())), static_cast<int>(all.size()));
    ASSERT_TRUE(panel.WaitForBytes(all.size(), WaitMs));
    EXPECT_EQ(panel.ReceivedBytes(), all);
}

TEST_F(SerialCommsTest, MissingDeviceNamesPathAndReason)
{
    Com1Device missing("/nonexistent/px10-tty");
    TSerialComms port;
    EXPECT_EQ(OpenError(port),
        "Unable to open communications port\n/nonexistent/px10-tty: No such file or directory");
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.ReceiverRunning());
    Com1Device odd("/nonexistent/px10\ttty\n"); // control characters show as escapes, on the device's line
    EXPECT_EQ(OpenError(port),
        "Unable to open communications port\n/nonexistent/px10\\ttty\\n: No such file or directory");
}

TEST_F(SerialCommsTest, NotATerminalLeavesThePortClosed)
{
    Com1Device null("/dev/null");
    TSerialComms port;
    Collect(port);
    const std::string reason = "Not a serial device (a character device that is not a terminal)";
    EXPECT_EQ(OpenError(port), "Unable to open communications port\n/dev/null: " + reason);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.ReceiverRunning());
    // Fully closed: the next Open on a good device works.
    Com1Device good(panel.SlavePath());
    port.Open();
    EXPECT_TRUE(port.IsOpen());
}

// Counts the opens of files in a folder as the system reports them, before
// open() returns: an open that only names a file (to look at it) is not
// reported, one that could read or write is.
struct OpenWatch {
    explicit OpenWatch(const std::string& folder) { ::inotify_add_watch(Fd, folder.c_str(), IN_OPEN); }
    ~OpenWatch() { ::close(Fd); }
    int Opens()
    {
        alignas(inotify_event) char buffer[4096];
        int count = 0;
        for (ssize_t n; (n = ::read(Fd, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n; ++count)
                at += sizeof(inotify_event) + reinterpret_cast<const inotify_event*>(buffer + at)->len;
        return count;
    }
    int Fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
};

const char* const PipeRefused = "Not a serial device (a named pipe)";

// Only a terminal is opened: a named pipe's waiting writer is never woken,
// and each kind of file is refused with the path and what it is.
TEST_F(SerialCommsTest, WhatIsNoTerminalIsRefusedUnopenedAndNamed)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string fifo = folder + "/pipe", file = folder + "/file", socket = folder + "/socket";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(QFile(QString::fromStdString(file)).open(QIODevice::WriteOnly));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address { AF_UNIX, {} };
    socket.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    std::vector<std::pair<std::string, std::string>> cases { { fifo, PipeRefused },
        { file, "Not a serial device (a plain file)" }, { folder, "Not a serial device (a folder)" },
        { socket, "Not a serial device (a socket)" } };
    // A disk node needs the right to make one.
    if (const std::string disk = folder + "/disk"; ::mknod(disk.c_str(), S_IFBLK | 0600, makedev(7, 0)) == 0)
        cases.emplace_back(disk, "Not a serial device (a disk or other block device)");

    OpenWatch watch(folder);
    for (const auto& [path, reason] : cases) {
        Com1Device device(path);
        TSerialComms port;
        EXPECT_EQ(OpenError(port), "Unable to open communications port\n" + path + ": " + reason);
        EXPECT_FALSE(port.IsOpen());
    }
    EXPECT_EQ(watch.Opens(), 0);
    // The watch does see an open that could wake a writer.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_EQ(watch.Opens(), 1);
    ::close(reader);
    ::close(listener);
}

// A link switched between the terminal and a named pipe while the port opens
// again and again: whatever the name points to when it is checked is what is
// opened, so the pipe is never opened.
TEST_F(SerialCommsTest, ALinkSwitchedMeanwhileNeverOpensWhatWasNotChecked)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string fifo = folder + "/pipe", link = folder + "/port", next = folder + "/next";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(panel.SlavePath().c_str(), link.c_str()), 0);
    OpenWatch watch(folder);
    std::atomic<bool> stop { false };
    std::thread switcher([&] {
        for (unsigned i = 0; !stop && i < 10'000'000; ++i) {
            ::unlink(next.c_str());
            if (::symlink(i % 2 ? fifo.c_str() : panel.SlavePath().c_str(), next.c_str()) == 0)
                ::rename(next.c_str(), link.c_str());
        }
    });
    Com1Device device(link);
    std::set<std::string> failures;
    for (int i = 0; i < 2000; ++i) {
        TSerialComms port;
        if (const std::string message = OpenError(port); !message.empty())
            failures.insert(message);
    }
    stop = true;
    switcher.join();
    EXPECT_EQ(watch.Opens(), 0);
    for (const std::string& message : failures)
        EXPECT_EQ(message, "Unable to open communications port\n" + link + ": " + PipeRefused);
}

TEST_F(SerialCommsTest, OpeningTwiceKeepsThePortOpen)
{
    TSerialComms port;
    Collect(port);
    port.Open();
    EXPECT_EQ(OpenError(port), "Communications port already open");
    EXPECT_TRUE(port.IsOpen());
    panel.Send("ok");
    EXPECT_TRUE(RunUntil([&] { return received == "ok"; }, WaitMs));
}

TEST_F(SerialCommsTest, ClosedPortOperations)
{
    TSerialComms port;
    try {
        port.SetTimeout();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Communications port is not open");
    }
    char c = 0;
    EXPECT_EQ(port.Write("abc"), 0);
    EXPECT_EQ(port.Read(c, 10), 0);
    EXPECT_EQ(port.GetAvailableByteCount(), 0);
    port.Close(); // harmless
}

TEST_F(SerialCommsTest, BaudRates)
{
    TSerialComms port;
    const std::pair<TCommBaud, unsigned> rates[] = { { cb9600, 9600 }, { cb19200, 19200 }, { cb38400, 38400 },
        { cb57600, 57600 }, { cb115200, 115200 } };
    port.Open();
    for (auto [baud, rate] : rates) {
        port.SetBaud(baud); // applied to the open line
        EXPECT_EQ(port.GetBaudRate(), rate);
    }
    port.SetBaud(static_cast<TCommBaud>(9));
    EXPECT_EQ(port.GetBaudRate(), 9600u);
}

TEST_F(SerialCommsTest, EmptyHandlerStopsTheReceiverAndReadTakesOver)
{
    TSerialComms port;
    Collect(port);
    port.Open();
    EXPECT_TRUE(port.ReceiverRunning());
    port.SetDataRxd(nullptr);
    EXPECT_FALSE(port.ReceiverRunning());

    panel.Send("ab");
    char buf[4] = {};
    EXPECT_EQ(port.Read(buf, 2, WaitMs), 2);
    EXPECT_EQ(std::string(buf, 2), "ab");
    // Fewer bytes queued than asked for: time-out 0 gives up at once.
    panel.Send("c");
    ASSERT_TRUE(RunUntil([&] { return port.GetAvailableByteCount() == 1; }, WaitMs));
    EXPECT_EQ(port.Read(buf, 2, 0), 0);
    EXPECT_EQ(port.GetAvailableByteCount(), 1);
    port.PurgeComms();
    EXPECT_EQ(port.GetAvailableByteCount(), 0);

    Collect(port);
    EXPECT_TRUE(port.ReceiverRunning());
    panel.Send("d");
    EXPECT_TRUE(RunUntil([&] { return received == "d"; }, WaitMs));
}

TEST_F(SerialCommsTest, NestedEventLoopDeliversEachByteOnceInOrder)
{
    TSerialComms port;
    int depth = 0, maxDepth = 0;
    bool nested = false;
    port.SetDataRxd([&](TSerialComms*, char& c) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        received += c;
        if (!nested) {
            // As a modal box would: a nested loop while more bytes arrive.
            nested = true;
            panel.Send("DEF");
            RunFor(100);
        }
        --depth;
    });
    port.Open();
    panel.Send("abc");
    ASSERT_TRUE(RunUntil([&] { return received.size() >= 6; }, WaitMs));
    RunFor(30);
    EXPECT_EQ(received, "abcDEF");
    EXPECT_EQ(maxDepth, 1);
}

TEST_F(SerialCommsTest, HandlerMayWriteFromInside)
{
    TSerialComms port;
    port.SetDataRxd([&](TSerialComms* sender, char& c) {
        received += c;
        sender->Write(static_cast<char>(c + 1));
    });
    port.Open();
    panel.Send("HAL");
    ASSERT_TRUE(RunUntil([&] { return panel.ReceivedBytes().size() >= 3; }, WaitMs));
    EXPECT_EQ(panel.ReceivedBytes(), "IBM");
}

TEST_F(SerialCommsTest, TimerFiresOnceAndCloseStopsIt)
{
    TSerialComms port;
    port.Open();
    int fired = 0;
    port.StartTimeout([&](TSerialComms*) { ++fired; }, 20);
    EXPECT_TRUE(RunUntil([&] { return fired > 0; }, WaitMs));
    RunFor(60);
    EXPECT_EQ(fired, 1);

    port.StartTimeout([&](TSerialComms*) { ++fired; }, 20);
    port.Close();
    EXPECT_FALSE(port.TimeoutRunning());
    RunFor(80);
    EXPECT_EQ(fired, 1);
}

TEST_F(SerialCommsTest, SetCommPortReopensOnTheNewDevice)
{
    SimulatedPanel second;
    ::setenv("PX10_COM2", second.SlavePath().c_str(), 1);
    TSerialComms port;
    Collect(port);
    port.Open();
    port.SetCommPort(spCOM2);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.DevicePath(), second.SlavePath());
    second.Send("2");
    EXPECT_TRUE(RunUntil([&] { return received == "2"; }, WaitMs));
    port.Close();
    ::unsetenv("PX10_COM2");
}

TEST_F(SerialCommsTest, HangupNeitherSpinsNorBlocksClose)
{
    TSerialComms port;
    Collect(port);
    port.Open();
    panel.Hangup();
    timespec a {}, b {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &a);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &b);
    const double cpuMs = (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 100.0) << "the receiver thread keeps running on a dead line";
    EXPECT_EQ(port.Write("x"), 0);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialCommsTest, WriteToAStalledLineIsBounded)
{
    BareTerminal stalled; // its far end never reads
    const int master = stalled.Master;
    ASSERT_GE(master, 0);
    TSerialComms port;
    port.SetWriteTimeoutMultiplier(1);
    port.Open();
    const std::string chunk(16, 'x');
    int accepted = 16;
    long total = 0;
    for (int i = 0; i < 1'000'000 && accepted == 16; ++i) {
        accepted = port.Write(chunk.data(), 16);
        total += accepted;
    }
    EXPECT_LT(accepted, 16);
    EXPECT_GT(total, 0);
    port.Close();
}

TEST_F(SerialCommsTest, FloodingDeviceIsHeldToTheBufferLimitAndTheLineRecovers)
{
    BareTerminal flooded;
    const int master = flooded.Master;
    ASSERT_GE(master, 0);
    TSerialComms port;
    std::size_t delivered = 0;
    std::atomic<bool> writing { true };
    constexpr std::size_t total = 8 << 20;
    port.SetDataRxd([&](TSerialComms*, char& c) {
        received += c;
        // The first byte opens a nested loop (as a box would) for the whole
        // flood: nothing is handed on meanwhile, so the rest has to wait or go.
        if (++delivered == 1)
            RunUntil([&] { return !writing && port.ReceivedByteCount() == total; }, 3 * WaitMs);
    });
    port.Open();
    std::thread writer([&] {
        const std::string chunk(4096, 'x');
        for (std::size_t done = 0; done < total;) {
            const ssize_t n = ::write(master, chunk.data(), chunk.size());
            if (n > 0)
                done += static_cast<std::size_t>(n);
        }
        writing = false;
    });
    ASSERT_TRUE(
        RunUntil([&] { return !writing && delivered + port.DroppedByteCount() == total; }, 3 * WaitMs));
    writer.join();
    // What the outer delivery held, plus one full buffer.
    EXPECT_LE(delivered, 2 * TSerialComms::ReceiveBufferLimit);
    EXPECT_EQ(port.ReceivedByteCount(), total);

    // Once read, the line carries what comes next, whole.
    ASSERT_EQ(::write(master, "END", 3), 3);
    ASSERT_TRUE(RunUntil(
        [&] { return received.size() >= 3 && received.substr(received.size() - 3) == "END"; }, WaitMs));
    EXPECT_EQ(port.BufferedByteCount(), 0u);
    port.Close();
}

TEST(CommPortMapping, EnvironmentThenSettingThenDefault)
{
    EnsureApp();
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    ::unsetenv("PX10_COM3");
    EXPECT_EQ(CommPortName(spCOM3), "COM3");
    EXPECT_EQ(CommPortName(spCOM8), "COM8");
    EXPECT_EQ(CommPortDevice(spCOM3), "/dev/ttyS2");
    EXPECT_EQ(CommPortDevice(spCOM1), "/dev/ttyS0");
    {
        QSettings settings(QStringLiteral("Veltrane"), QStringLiteral("PX10 Windows Support Tool"));
        settings.setValue(QStringLiteral("Setup/COM3 Device"), QStringLiteral("/dev/ttyUSB0"));
    }
    EXPECT_EQ(CommPortDevice(spCOM3), "/dev/ttyUSB0");
    EXPECT_EQ(CommPortDevice(spCOM4), "/dev/ttyS3");
    ::setenv("PX10_COM3", "/dev/pts/77", 1);
    EXPECT_EQ(CommPortDevice(spCOM3), "/dev/pts/77");
    ::unsetenv("PX10_COM3");
}

} // namespace
