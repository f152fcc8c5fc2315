#include "Serialcommscomponent.h"

#include "Exception.h"
#include "ExceptionBox.h"
#include "File.h"
#include "Ivdictio.h"
#include "Prompts.h"
#include "Serialports.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace comms {

// Lives on the GUI thread: receives the bytes-arrived message and owns the
// response timer.
class MessageClient : public QObject {
public:
    explicit MessageClient(TSerialComms* owner)
        : FOwner(owner)
    {
        FTimer.setSingleShot(true);
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, this, [this] {
            try {
                FOwner->DataRxTimeout();
            } catch (const std::exception& e) {
                ShowExceptionBox(e);
            }
        });
    }

    QTimer& Timer() { return FTimer; }

    bool event(QEvent* e) override
    {
        if (e->type() != static_cast<QEvent::Type>(TSerialComms::DataRxdMessage))
            return QObject::event(e);
        try {
            FOwner->DataRxd();
        } catch (const std::exception& ex) {
            ShowExceptionBox(ex);
        }
        return true;
    }

    void Post()
    {
        QCoreApplication::postEvent(
            this, new QEvent(static_cast<QEvent::Type>(TSerialComms::DataRxdMessage)));
    }

private:
    TSerialComms* FOwner;
    QTimer FTimer;
};

} // namespace comms

using comms::MessageClient;

std::string CommPortName(TCommPort port)
{
    return "COM" + std::to_string(static_cast<int>(port) + 1);
}

std::string CommPortDevice(TCommPort port)
{
    return comms::SerialPorts().Device(port).Path;
}

TSerialComms::TSerialComms()
{
    if (!QCoreApplication::instance())
        throw Exception("Unable to hook windowed control");
    FClient = new MessageClient(this);
    SetCommPort(spCOM1);
    SetBaud(cb9600);
}

TSerialComms::~TSerialComms()
{
    Close();
    delete FClient; // also drops messages still queued for it
}

void TSerialComms::RaiseWithDevice(const char* message, int error) const
{
    throw Exception(message, comms::DeviceErrorLine(FDevicePath, error));
}

namespace {

// Closes a descriptor when the scope is left, unless it is released.
struct FdHolder {
    explicit FdHolder(int fd)
        : Fd(fd)
    {
    }
    ~FdHolder()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    FdHolder(const FdHolder&) = delete;
    FdHolder& operator=(const FdHolder&) = delete;
    int Release() { return std::exchange(Fd, -1); }
    int Fd;
};

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_rdev == b.st_rdev;
}

} // namespace

int TSerialComms::OpenTerminal() const
{
    static constexpr const char* Failed = "Unable to open communications port";
    const auto refuse = [this](const std::string& reason) {
        throw Exception(Failed, comms::DevicePathText(FDevicePath) + ": " + reason);
    };
    // The check and the open have to see the same file, or a link changed
    // between them is opened unchecked. A handle that neither reads nor
    // writes is taken first (links followed: the stable by-id names are
    // links): it wakes no named pipe's writer and runs no driver's open.
    FdHolder path(::open(FDevicePath.c_str(), O_PATH | O_CLOEXEC));
    if (path.Fd < 0)
        RaiseWithDevice(Failed, errno);
    struct stat checked { };
    if (::fstat(path.Fd, &checked) != 0)
        RaiseWithDevice(Failed, errno);
    if (const std::string reason = comms::NotSerialReason(checked); !reason.empty())
        refuse(reason);
    // The checked file itself is opened through its handle, whatever the
    // name points to by now.
    const std::string self = "/proc/self/fd/" + std::to_string(path.Fd);
    FdHolder fd(::open(self.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Fd < 0)
        RaiseWithDevice(Failed, errno);
    struct stat opened { };
    if (::fstat(fd.Fd, &opened) != 0)
        RaiseWithDevice(Failed, errno);
    if (!SameFile(opened, checked))
        refuse(Translate("The device changed while it was being opened"));
    // A character device the system could not place shows here what it is.
    if (!::isatty(fd.Fd))
        refuse(comms::NotATerminalReason());
    return fd.Release();
}

void TSerialComms::Open()
{
    if (IsOpen())
        throw Exception("Communications port already open");
    FDevicePath = CommPortDevice(FCommPort);
    const int fd = OpenTerminal();
    // Exclusive use, as the port is on Windows; devices without it still work.
    (void)::ioctl(fd, TIOCEXCL);
    FWakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (FWakeFd < 0) {
        const int error = errno;
        ::close(fd);
        RaiseWithDevice("Error creating overlapped read event", error);
    }
    FHandle = fd;
    FReceived = 0;
    FDropped = 0;
    try {
        SetTimeout();
        SetBaud(FBaud);
        SetDataRxd(FOnDataRxd);
    } catch (...) {
        Close();
        throw;
    }
}

void TSerialComms::Close()
{
    if (!IsOpen())
        return;
    StopReceiver();
    ClearTimeout();
    CleanUp();
    // The exclusive mark stays on a terminal that someone else holds open (a
    // pseudo-terminal's far end): drop it, or the next Open finds it busy.
    (void)::ioctl(FHandle, TIOCNXCL);
    ::close(FHandle);
    FHandle = -1;
    ::close(FWakeFd);
    FWakeFd = -1;
    {
        std::lock_guard<std::mutex> lock(FLock);
        FRxBuffer.clear();
        FPosted = false;
    }
    FHangupError = 0;
    FHangupReported = false;
    // Bytes of the closed session are not handed on (a delivery in progress stops).
    FPending.clear();
    FPendingPos = 0;
}

void TSerialComms::SetCommPort(TCommPort port)
{
    FCommPort = port;
    if (IsOpen()) {
        Close();
        Open();
    }
}

void TSerialComms::SetBaud(TCommBaud baud)
{
    FBaud = baud;
    if (IsOpen())
        ApplyLineSettings();
}

unsigned TSerialComms::GetBaudRate() const
{
    switch (FBaud) {
    case cb19200:
        return 19200;
    case cb38400:
        return 38400;
    case cb57600:
        return 57600;
    case cb115200:
        return 115200;
    default:
        return 9600;
    }
}

static speed_t SpeedCode(unsigned rate)
{
    switch (rate) {
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

void TSerialComms::ApplyLineSettings()
{
    termios tio {};
    if (::tcgetattr(FHandle, &tio) != 0)
        RaiseWithDevice("Unable to fetch existing port setup", errno);
    // Raw 8N1: no echo, no line editing, no character translation, no flow control.
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = SpeedCode(GetBaudRate());
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(FHandle, TCSANOW, &tio) != 0)
        RaiseWithDevice("Unable to set new baud rate", errno);
    // DTR and RTS dropped where the device allows it (a pseudo-terminal does not).
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(FHandle, TIOCMBIC, &lines);
}

void TSerialComms::SetTimeout()
{
    if (!IsOpen())
        throw Exception("Communications port is not open");
    // Reads and writes never block in the system: our own bounds apply.
    const int flags = ::fcntl(FHandle, F_GETFL);
    if (flags < 0 || ::fcntl(FHandle, F_SETFL, flags | O_NONBLOCK) != 0)
        RaiseWithDevice("Unable set communications port timeout", errno);
}

int TSerialComms::Write(char data)
{
    return Write(&data, 1);
}

int TSerialComms::Write(const char* text)
{
    return Write(text, static_cast<int>(std::char_traits<char>::length(text)));
}

int TSerialComms::Write(const char* buffer, int length)
{
    if (!IsOpen() || length <= 0)
        return 0;
    using Clock = std::chrono::steady_clock;
    // Bounded like the port's total write time-out, so a stalled line cannot
    // hold the GUI thread for ever.
    const unsigned perByte = FWriteMsPerByte ? FWriteMsPerByte : 50;
    const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<long long>(perByte) * length);
    int done = 0;
    while (done < length) {
        const ssize_t n = ::write(FHandle, buffer + done, static_cast<size_t>(length - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            if (errno == EIO || errno == ENXIO || errno == ENODEV || errno == EPIPE)
                NoteHangup(errno);
            break;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p { FHandle, POLLOUT, 0 };
        const int r = ::poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno != EINTR)
            break;
        if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            NoteHangup(EIO);
            break;
        }
    }
    return done;
}

int TSerialComms::Read(char& data, unsigned long timeoutMs)
{
    return Read(&data, 1, timeoutMs);
}

int TSerialComms::Read(char* buffer, int length, unsigned long timeoutMs)
{
    if (!IsOpen() || length <= 0)
        return 0;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (;;) {
        if (GetAvailableByteCount() >= length) {
            int got = 0;
            while (got < length) {
                const ssize_t n = ::read(FHandle, buffer + got, static_cast<size_t>(length - got));
                if (n > 0)
                    got += static_cast<int>(n);
                else if (n < 0 && errno == EINTR)
                    continue;
                else
                    break; // taken by someone else or the line is gone
            }
            return got;
        }
        const auto elapsed
            = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (static_cast<unsigned long>(elapsed) >= timeoutMs)
            return 0;
        // Wait for more input rather than spin; a short slice because poll
        // wakes on the first byte, not on the count asked for.
        pollfd p { FHandle, POLLIN, 0 };
        const long long left = static_cast<long long>(timeoutMs) - elapsed;
        const int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 10)));
        if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return 0;
    }
}

int TSerialComms::GetAvailableByteCount() const
{
    if (!IsOpen())
        return 0;
    int count = 0;
    if (::ioctl(FHandle, FIONREAD, &count) != 0)
        return 0;
    return count;
}

void TSerialComms::CleanUp()
{
    if (IsOpen())
        PurgeComms();
}

void TSerialComms::PurgeComms()
{
    if (IsOpen())
        (void)::tcflush(FHandle, TCIFLUSH);
}

void TSerialComms::DiscardInput()
{
    if (!IsOpen())
        return;
    {
        // Bytes the receiver has read are buffered before the purge, so none
        // read before it can turn up after it.
        std::lock_guard<std::mutex> reading(FReadLock);
        PurgeComms();
        std::lock_guard<std::mutex> lock(FLock);
        FRxBuffer.clear();
    }
    FPending.clear();
    FPendingPos = 0;
}

void TSerialComms::SetDataRxd(TDataRxdEvent handler)
{
    // The handler only ever runs on the GUI thread, so replacing it needs no
    // pause of the receiver thread.
    FOnDataRxd = std::move(handler);
    if (!IsOpen())
        return;
    if (!FOnDataRxd)
        StopReceiver();
    else if (!FThread.joinable())
        StartReceiver();
}

void TSerialComms::StartTimeout(TNotifyEvent handler, unsigned ms)
{
    ClearTimeout();
    OnRxTimeout = std::move(handler);
    FClient->Timer().start(static_cast<int>(std::min<unsigned>(ms, INT32_MAX)));
}

void TSerialComms::ClearTimeout()
{
    FClient->Timer().stop();
}

bool TSerialComms::TimeoutRunning() const
{
    return FClient->Timer().isActive();
}

void TSerialComms::DataRxTimeout()
{
    ClearTimeout();
    if (OnRxTimeout) {
        TNotifyEvent handler = OnRxTimeout;
        handler(this);
    }
}

std::size_t TSerialComms::BufferedByteCount()
{
    std::lock_guard<std::mutex> lock(FLock);
    return FRxBuffer.size();
}

void TSerialComms::DataRxd()
{
    // A handler that runs a nested event loop brings us back here: the new
    // bytes stay in the bounded buffer, and the outer loop takes them once it
    // has handed on the ones it holds, in order, each once.
    if (FDelivering)
        return;
    FDelivering = true;
    try {
        for (;;) {
            if (FPendingPos >= FPending.size()) {
                FPending.clear();
                FPendingPos = 0;
                std::lock_guard<std::mutex> lock(FLock);
                FPending.swap(FRxBuffer);
                FPosted = false;
                if (FPending.empty())
                    break;
            }
            char c = FPending[FPendingPos++];
            if (FOnDataRxd) {
                TDataRxdEvent handler = FOnDataRxd; // may be replaced by itself
                handler(this, c);
            }
        }
    } catch (...) {
        FDelivering = false;
        // The rest, held here or still in the buffer, follows after the error
        // is shown.
        FClient->Post();
        throw;
    }
    FDelivering = false;
    // The bytes that came before the hang-up have been handed on; now the
    // window in charge hears of it, once.
    if (FHangupError != 0 && !FHangupReported && FOnHangup) {
        FHangupReported = true;
        TNotifyEvent handler = FOnHangup;
        handler(this);
    }
}

void TSerialComms::SetOnHangup(TNotifyEvent handler)
{
    FOnHangup = std::move(handler);
    if (FOnHangup && FHangupError != 0 && !FHangupReported)
        FClient->Post(); // hung up before anyone listened
}

std::string TSerialComms::HangupReason() const
{
    const int error = FHangupError;
    return comms::DevicePathText(FDevicePath) + ": " + platform::SystemErrorText(error ? error : EIO);
}

void TSerialComms::NoteHangup(int error)
{
    int none = 0;
    if (!FHangupError.compare_exchange_strong(none, error ? error : EIO))
        return;
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (!FPosted)
            post = FPosted = true;
    }
    if (post)
        FClient->Post();
}

void TSerialComms::StartReceiver()
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FRxBuffer.clear();
        FPosted = false;
    }
    FStop = false;
    FThread = std::thread([this] { ReceiverLoop(); });
}

void TSerialComms::StopReceiver()
{
    if (!FThread.joinable())
        return;
    FStop = true;
    const uint64_t one = 1;
    (void)!::write(FWakeFd, &one, sizeof one);
    FThread.join();
    uint64_t drain = 0;
    (void)!::read(FWakeFd, &drain, sizeof drain);
}

void TSerialComms::ReceiverLoop()
{
    pollfd fds[2] = { { FHandle, POLLIN, 0 }, { FWakeFd, POLLIN, 0 } };
    char chunk[4096];
    int emptyWakes = 0;
    while (!FStop.load(std::memory_order_relaxed)) {
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents)
            continue; // asked to stop
        const short ev = fds[0].revents;
        if (!ev)
            continue;
        std::unique_lock<std::mutex> reading(FReadLock);
        std::string burst;
        bool lineGone = (ev & (POLLERR | POLLHUP | POLLNVAL)) != 0;
        int error = 0;
        // A device that never stops sending must not keep this loop from
        // handing on what it has.
        while (burst.size() < ReceiveBufferLimit) {
            const ssize_t n = ::read(FHandle, chunk, sizeof chunk);
            if (n > 0) {
                burst.append(chunk, static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN) {
                lineGone = true;
                error = errno;
            }
            break;
        }
        if (!burst.empty()) {
            emptyWakes = 0;
            bool post = false;
            {
                std::lock_guard<std::mutex> lock(FLock);
                // Past the limit the line is sending faster than anyone reads:
                // the excess is dropped, and the protocol's time-outs and
                // retries deal with what was lost.
                const std::size_t room = ReceiveBufferLimit - std::min(FRxBuffer.size(), ReceiveBufferLimit);
                const std::size_t kept = std::min(room, burst.size());
                FRxBuffer.append(burst, 0, kept);
                FDropped += burst.size() - kept;
                FReceived += burst.size();
                if (!FPosted)
                    post = FPosted = true;
            }
            if (post)
                FClient->Post();
        } else if (++emptyWakes > 100) {
            lineGone = true; // readable but nothing to read: a dead line
        }
        reading.unlock();
        // An unplugged adapter or a closed far end keeps the device readable
        // for ever; stop watching it, tell the GUI thread and wait only for Close.
        if (lineGone) {
            fds[0].fd = -1;
            NoteHangup(error);
        }
    }
}
