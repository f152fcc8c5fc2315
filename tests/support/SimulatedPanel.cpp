#include "SimulatedPanel.h"

#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr uint8_t kRequestStart = 0xF1;
constexpr uint8_t kReplyStart = 0xFA;
constexpr uint8_t kEnd = 0xFD;
constexpr uint8_t kEscape = 0xF0;

void MakeRaw(int fd)
{
    termios t {};
    if (::tcgetattr(fd, &t) != 0)
        return;
    ::cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &t);
}

long long ThreadCpuNow()
{
    timespec ts {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Escaped body bytes: any value from F0 up goes as F0, value - F0.
void PutEscaped(std::string& out, uint8_t v)
{
    if (v < kEscape) {
        out += static_cast<char>(v);
    } else {
        out += static_cast<char>(kEscape);
        out += static_cast<char>(v - kEscape);
    }
}

} // namespace

SimulatedPanel::SimulatedPanel()
{
    FMaster = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (FMaster < 0 || ::grantpt(FMaster) != 0 || ::unlockpt(FMaster) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    char name[128] = {};
    if (::ptsname_r(FMaster, name, sizeof name) != 0)
        throw std::runtime_error("cannot name the pseudo-terminal");
    FSlavePath = name;
    FSlaveKeep = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (FSlaveKeep < 0)
        throw std::runtime_error("cannot open the pseudo-terminal's slave");
    MakeRaw(FSlaveKeep);
    MakeRaw(FMaster);
    ::fcntl(FMaster, F_SETFL, ::fcntl(FMaster, F_GETFL) | O_NONBLOCK);
    if (::pipe2(FWake, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create a pipe");
    FThread = std::thread([this] { Run(); });
}

SimulatedPanel::~SimulatedPanel()
{
    Hangup();
    ::close(FWake[0]);
    ::close(FWake[1]);
}

void SimulatedPanel::Hangup()
{
    if (FThread.joinable()) {
        (void)!::write(FWake[1], "x", 1);
        FThread.join();
    }
    std::lock_guard<std::mutex> w(FWriteMutex);
    if (FMaster >= 0)
        ::close(FMaster);
    FMaster = -1;
    if (FSlaveKeep >= 0)
        ::close(FSlaveKeep);
    FSlaveKeep = -1;
}

void SimulatedPanel::SetHandler(uint8_t command, Handler handler)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FHandlers[command] = std::move(handler);
}

void SimulatedPanel::ClearHandlers()
{
    std::lock_guard<std::mutex> lock(FMutex);
    FHandlers.clear();
}

void SimulatedPanel::SetFaults(const Faults& faults)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FFaults = faults;
}

void SimulatedPanel::PushFaults(const Faults& faults)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FQueuedFaults.push_back(faults);
}

void SimulatedPanel::PushItemFaults(uint8_t command, int item, const Faults& faults)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FItemFaults[{ command, item }].push_back(faults);
}

void SimulatedPanel::SetOnSilence(std::function<void()> onSilence)
{
    std::lock_guard<std::mutex> lock(FSilenceMutex);
    FOnSilence = std::move(onSilence);
}

void SimulatedPanel::Silent()
{
    std::lock_guard<std::mutex> lock(FSilenceMutex);
    if (FOnSilence)
        FOnSilence();
}

void SimulatedPanel::SetBaudRate(unsigned baud)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FBaud = baud;
}

void SimulatedPanel::SetPaceRequests(bool pace)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FPaceRequests = pace;
}

void SimulatedPanel::EnableConfigPanel(bool enable)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FConfigPanel = enable;
    if (FIdentification.empty())
        FIdentification = MakeIdentification("301", 703);
}

void SimulatedPanel::SetIdentification(const std::string& identification)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FIdentification = identification.substr(0, 20);
    FIdentification.resize(20, ' ');
}

std::string SimulatedPanel::MakeIdentification(const std::string& typeCode, int firmware)
{
    char version[32];
    std::snprintf(version, sizeof version, " %d.%02d", firmware / 100, firmware % 100);
    std::string id = "412-" + typeCode + "-001" + version;
    id.resize(20, ' ');
    return id;
}

void SimulatedPanel::SetPasscode(int passcode)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FPasscode = passcode;
}

void SimulatedPanel::SetGeneralReplyLength(std::size_t length)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FGeneralReplyLength = length;
}

std::string SimulatedPanel::StoredBlock(uint8_t command, int item) const
{
    std::lock_guard<std::mutex> lock(FMutex);
    auto it = FMemory.find({ command, item });
    return it == FMemory.end() ? std::string() : it->second;
}

void SimulatedPanel::SetStoredBlock(uint8_t command, int item, const std::string& block)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FMemory[{ command, item }] = block;
}

std::size_t SimulatedPanel::StoredCount() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FMemory.size();
}

int SimulatedPanel::RequestItem(const Request& request)
{
    const std::string& d = request.Data;
    if (d.empty())
        return -1;
    switch (request.Command) {
    case 0x4C:
    case 0x5C:
    case 0x50:
        return d.size() >= 2 ? static_cast<uint8_t>(d[1]) : 0;
    case 0x52:
        return d.size() >= 3 ? static_cast<uint8_t>(d[2]) : 0;
    default:
        return 0;
    }
}

std::optional<SimulatedPanel::Reply> SimulatedPanel::ConfigPanelReply(const Request& request)
{
    const uint8_t code = static_cast<uint8_t>(request.Command + 1);
    const std::string& d = request.Data;
    std::lock_guard<std::mutex> lock(FMutex);
    if (request.Command == 0x46)
        return Reply { code, FIdentification };
    if (request.Command == 0x48) {
        if (d.size() < 2)
            return Reply { code, std::string(1, '\0') };
        const int value = (static_cast<uint8_t>(d[0]) << 8) | static_cast<uint8_t>(d[1]);
        return Reply { code, std::string(1, (FPasscode < 0 || value == FPasscode) ? '\x01' : '\0') };
    }
    std::size_t size = 0;
    std::size_t header = 1; // marker, then the item bytes echoed
    switch (request.Command) {
    case 0x4A:
        if (d.empty())
            return Reply { code, {} }; // detection
        size = 103;
        break;
    case 0x4E:
        size = 31;
        break;
    case 0x4C:
        size = 22;
        header = 2;
        break;
    case 0x5C:
        size = 33;
        header = 2;
        break;
    case 0x50:
        size = 16;
        header = 2;
        break;
    case 0x52:
        size = 46;
        header = 3;
        break;
    default:
        return Reply { code, {} };
    }
    if (d.size() < header)
        return Reply { code, {} };
    const int item = RequestItem(request);
    if (d[0] == 'U') {
        FMemory[{ request.Command, item }] = d;
        return Reply { code, d.substr(0, header) };
    }
    if (d[0] != 'd')
        return Reply { code, {} };
    std::string block;
    auto it = FMemory.find({ request.Command, item });
    if (it != FMemory.end())
        block = it->second;
    else
        block.assign(size, '\0');
    if (request.Command == 0x4A && FGeneralReplyLength)
        block.resize(FGeneralReplyLength, '\0');
    if (block.size() < header)
        block.resize(header, '\0');
    block.replace(0, header, d.substr(0, header));
    return Reply { code, block };
}

void SimulatedPanel::Send(const std::string& bytes)
{
    WriteOut(bytes, false, 0);
}

std::vector<SimulatedPanel::Request> SimulatedPanel::Requests() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests;
}

std::size_t SimulatedPanel::RequestCount() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests.size();
}

std::string SimulatedPanel::StrayBytes() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FStray;
}

std::string SimulatedPanel::ReceivedBytes() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FReceived;
}

void SimulatedPanel::ClearLog()
{
    std::lock_guard<std::mutex> lock(FMutex);
    FRequests.clear();
    FStray.clear();
    FReceived.clear();
}

bool SimulatedPanel::WaitForRequests(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(FMutex);
    return FChanged.wait_for(
        lock, std::chrono::milliseconds(timeoutMs), [&] { return FRequests.size() >= count; });
}

bool SimulatedPanel::WaitForBytes(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(FMutex);
    return FChanged.wait_for(
        lock, std::chrono::milliseconds(timeoutMs), [&] { return FReceived.size() >= count; });
}

std::string SimulatedPanel::Frame(uint8_t code, const std::string& data, bool badChecksum)
{
    std::string body;
    body += '\x01';
    body += '\x00';
    body += static_cast<char>(code);
    body += data;
    unsigned sum = 0;
    for (unsigned char c : body)
        sum += c;
    sum &= 0xFFFF;
    if (badChecksum)
        sum ^= 0x0001;
    body += static_cast<char>(sum >> 8);
    body += static_cast<char>(sum & 0xFF);
    std::string out(1, static_cast<char>(kReplyStart));
    for (unsigned char c : body)
        PutEscaped(out, c);
    out += static_cast<char>(kEnd);
    return out;
}

std::string SimulatedPanel::LineNoise(std::size_t size)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string noise(size, '\0');
    for (char& c : noise)
        c = static_cast<char>(byte(random));
    // It starts outside any frame, so its first byte is a stray one.
    if (size && static_cast<uint8_t>(noise[0]) >= kEscape)
        noise[0] = 'N';
    return noise;
}

void SimulatedPanel::Run()
{
    pollfd fds[2] = { { FMaster, POLLIN, 0 }, { FWake[0], POLLIN, 0 } };
    unsigned char buf[4096];
    for (;;) {
        FCpuNs = ThreadCpuNow();
        const int r = ::poll(fds, 2, -1);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 || fds[1].revents)
            break;
        if (fds[0].revents & (POLLERR | POLLNVAL))
            break;
        const ssize_t n = ::read(FMaster, buf, sizeof buf);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            // No slave side open (cannot happen while FSlaveKeep is held).
            ::poll(&fds[1], 1, 10);
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FReceived.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(n));
        }
        FChanged.notify_all();
        for (ssize_t i = 0; i < n; ++i)
            OnByte(buf[i]);
    }
    FCpuNs = ThreadCpuNow();
}

void SimulatedPanel::OnByte(uint8_t b)
{
    if (b == kRequestStart) {
        // A start inside a frame abandons the old one.
        if (FInFrame) {
            std::lock_guard<std::mutex> lock(FMutex);
            FStray += FFrame;
        }
        FInFrame = true;
        FFrame.assign(1, static_cast<char>(b));
        return;
    }
    if (!FInFrame) {
        std::lock_guard<std::mutex> lock(FMutex);
        FStray += static_cast<char>(b);
        return;
    }
    FFrame += static_cast<char>(b);
    if (b != kEnd)
        return;
    FInFrame = false;

    // Decode the whole frame at once: unescape, then check.
    std::string body;
    for (std::size_t i = 1; i + 1 < FFrame.size(); ++i) {
        uint8_t c = static_cast<uint8_t>(FFrame[i]);
        if (c == kEscape && i + 2 < FFrame.size())
            c = static_cast<uint8_t>(static_cast<uint8_t>(FFrame[++i]) + kEscape);
        body += static_cast<char>(c);
    }
    Request request;
    request.Raw = FFrame;
    if (body.size() >= 5) {
        const std::size_t dataEnd = body.size() - 2;
        unsigned sum = 0;
        for (std::size_t i = 0; i < dataEnd; ++i)
            sum += static_cast<uint8_t>(body[i]);
        const unsigned sent = (static_cast<unsigned>(static_cast<uint8_t>(body[dataEnd])) << 8)
            | static_cast<uint8_t>(body[dataEnd + 1]);
        request.ChecksumOk = (sum & 0xFFFF) == sent;
        request.HeaderOk = body[0] == '\x01' && body[1] == '\x00';
        request.Command = static_cast<uint8_t>(body[2]);
        request.Data = body.substr(3, dataEnd - 3);
    }
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FRequests.push_back(request);
    }
    FChanged.notify_all();
    // A real panel ignores a garbled request.
    if (request.ChecksumOk && request.HeaderOk)
        Answer(request);
    else
        Silent();
}

void SimulatedPanel::Answer(const Request& request)
{
    Faults faults;
    Handler handler;
    bool configPanel = false;
    std::chrono::nanoseconds requestTime { 0 };
    {
        std::lock_guard<std::mutex> lock(FMutex);
        auto perItem = FItemFaults.find({ request.Command, RequestItem(request) });
        if (perItem != FItemFaults.end() && !perItem->second.empty()) {
            faults = perItem->second.front();
            perItem->second.pop_front();
        } else if (!FQueuedFaults.empty()) {
            faults = FQueuedFaults.front();
            FQueuedFaults.pop_front();
        } else {
            faults = FFaults;
        }
        auto it = FHandlers.find(request.Command);
        if (it != FHandlers.end())
            handler = it->second;
        configPanel = FConfigPanel;
        if (FPaceRequests && FBaud)
            requestTime = std::chrono::nanoseconds(10'000'000'000LL / FBaud) * request.Raw.size();
    }
    // The request took its wire time to arrive; the panel answers after its last byte.
    if (requestTime.count() > 0)
        std::this_thread::sleep_for(requestTime);
    std::optional<Reply> reply;
    if (handler)
        reply = handler(request);
    else if (configPanel)
        reply = ConfigPanelReply(request);
    else
        reply = Reply { static_cast<uint8_t>(request.Command + 1), {} };
    if (!reply || faults.NoReply) {
        Silent();
        return;
    }
    if (faults.DelayMs > 0) {
        Silent();
        std::this_thread::sleep_for(std::chrono::milliseconds(faults.DelayMs));
    }

    Reply out = *reply;
    if (faults.WrongReplyCode)
        out.Code = static_cast<uint8_t>(out.Code + 1);
    if (faults.ShortReply && out.Data.size() > faults.ShortLength)
        out.Data.resize(faults.ShortLength);
    std::string bytes = LineNoise(faults.NoiseBurst) + faults.NoiseBefore;
    if (faults.NoiseGapMs > 0 && !faults.HoldForNext) {
        WriteOut(FHeld + bytes, faults.ByteByByte, faults.ByteGapMs);
        FHeld.clear();
        bytes.clear();
        std::this_thread::sleep_for(std::chrono::milliseconds(faults.NoiseGapMs));
    }
    if (faults.SecondStart)
        bytes += "\xFA\x01\x00\x33";
    if (faults.TruncatedFrame)
        bytes += std::string("\xFA\x01\x00", 3) + static_cast<char>(out.Code) + static_cast<char>(kEnd);
    else
        bytes += Frame(out.Code, out.Data, faults.BadChecksum);
    if (faults.HoldForNext) {
        FHeld += bytes;
        if (faults.DelayMs <= 0)
            Silent();
        return;
    }
    bytes = FHeld + bytes;
    FHeld.clear();
    WriteOut(bytes, faults.ByteByByte, faults.ByteGapMs);
    if (faults.NoiseBurst)
        ++FNoiseBursts;
}

void SimulatedPanel::WriteOut(const std::string& bytes, bool byteByByte, int gapMs)
{
    unsigned baud;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        baud = FBaud;
    }
    std::lock_guard<std::mutex> w(FWriteMutex);
    if (FMaster < 0)
        return;
    const bool paced = baud != 0;
    const auto byteTime = std::chrono::nanoseconds(paced ? 10'000'000'000LL / baud : 0);
    auto next = std::chrono::steady_clock::now();
    const std::size_t step = (byteByByte || paced) ? 1 : bytes.size();
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t len = std::min(step, bytes.size() - pos);
        const ssize_t n = ::write(FMaster, bytes.data() + pos, len);
        if (n > 0) {
            pos += static_cast<std::size_t>(n);
            FWritten += static_cast<std::size_t>(n);
            if (paced) {
                next += byteTime * n;
                std::this_thread::sleep_until(next);
            }
            if (byteByByte && gapMs > 0 && pos < bytes.size())
                std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p { FMaster, POLLOUT, 0 };
            if (::poll(&p, 1, 1000) <= 0)
                return; // nobody reads: give up rather than hang a test
            continue;
        }
        return;
    }
}
