#pragma once
// A panel on the far side of a pseudo-terminal, for the comms tests, the
// benchmark and the px10-panel-sim tool. It parses requests with its own code
// (not the program's), logs them, and answers through per-command handlers,
// with switchable faults. It runs its own thread, so the program under test
// can run on the Qt event loop of the same process.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class SimulatedPanel {
public:
    // One request as the panel saw it.
    struct Request {
        uint8_t Command = 0;
        std::string Data; // unescaped data bytes
        std::string Raw; // wire bytes from the start byte to the end byte
        bool ChecksumOk = false;
        bool HeaderOk = false; // the two bytes after the start are 01 00
    };

    struct Reply {
        uint8_t Code = 0;
        std::string Data;
    };

    // What goes wrong with a reply. Times in milliseconds.
    struct Faults {
        bool NoReply = false;
        int DelayMs = 0; // late reply
        bool BadChecksum = false;
        bool WrongReplyCode = false; // code + 1 becomes code + 2
        bool ShortReply = false; // a valid frame whose data is cut to ShortLength bytes
        std::size_t ShortLength = 0;
        bool TruncatedFrame = false; // only 3 bytes between start and end
        std::string NoiseBefore; // raw bytes sent ahead of the start byte
        int NoiseGapMs = 0; // a pause between NoiseBefore and the rest of the reply
        // Bytes of line noise (every value, framing bytes included) written
        // with the reply in one burst, ahead of it and of NoiseBefore.
        std::size_t NoiseBurst = 0;
        bool SecondStart = false; // a false start (FA and a few bytes) before the reply
        bool ByteByByte = false; // each byte written alone, with a pause
        int ByteGapMs = 2; // the pause for ByteByByte
        bool HoldForNext = false; // keep this reply and send it with the next one, in one burst
    };

    // Reply to a request; std::nullopt sends nothing.
    using Handler = std::function<std::optional<Reply>(const Request&)>;

    SimulatedPanel();
    ~SimulatedPanel();
    SimulatedPanel(const SimulatedPanel&) = delete;
    SimulatedPanel& operator=(const SimulatedPanel&) = delete;

    // Path of the terminal the program opens.
    const std::string& SlavePath() const { return FSlavePath; }

    // Handlers per command byte. Without one, a request is answered with
    // code = command + 1 and no data.
    void SetHandler(uint8_t command, Handler handler);
    void ClearHandlers();

    // Faults for every reply from now on.
    void SetFaults(const Faults& faults);
    // Faults for the next reply only (queued, one per request); they take the
    // place of the standing faults.
    void PushFaults(const Faults& faults);

    // Faults for the next request with this command and item only (the item
    // as RequestItem gives it); they take the place of every other fault.
    void PushItemFaults(uint8_t command, int item, const Faults& faults);

    // Called on the panel's thread each time a request gets no reply in time:
    // none at all, a late one (before its delay) or one held for the next. Tests
    // end the program's wait from here, so the time-outs they give it can be
    // generous enough that a busy machine never reaches them by accident.
    void SetOnSilence(std::function<void()> onSilence);

    // Pace every written byte as a line at this baud rate would (0: at once).
    void SetBaudRate(unsigned baud);
    // With a baud rate set, also take each request as arriving at that rate:
    // the reply starts only after the request's wire time.
    void SetPaceRequests(bool pace);

    // --- The panel's side of detection and configuration transfer. Once
    // enabled, commands without a handler of their own are answered as a
    // panel does: J without data (detection) with K, F with the identification,
    // H with the passcode status, and the stage commands (J with data, L, \,
    // N, P, R) by storing a sent block per item or serving a stored one.
    void EnableConfigPanel(bool enable = true);
    // A 20-character identification, padded with spaces or cut.
    void SetIdentification(const std::string& identification);
    // "412-<type>-001 M.mm", e.g. ("301", 507) -> "412-301-001 5.07".
    static std::string MakeIdentification(const std::string& typeCode, int firmware);
    // The accepted level 3 passcode; -1 accepts any.
    void SetPasscode(int passcode);
    // Bytes served from the stored general setup block (0: as stored).
    void SetGeneralReplyLength(std::size_t length);
    // The block last stored for a stage command and item (send marker at byte 0),
    // or empty. Items: 0 for the general and on-board blocks.
    std::string StoredBlock(uint8_t command, int item) const;
    void SetStoredBlock(uint8_t command, int item, const std::string& block);
    std::size_t StoredCount() const;
    // The item a request addresses: the index of the zone, GSM and rule
    // requests, the point of a point request, 0 for the other stage requests,
    // -1 for a request without data.
    static int RequestItem(const Request& request);

    // Writes raw bytes towards the program (unsolicited traffic).
    void Send(const std::string& bytes);

    std::vector<Request> Requests() const;
    std::size_t RequestCount() const;
    // Bytes the panel received outside any request frame.
    std::string StrayBytes() const;
    void ClearLog();
    // Waits until at least `count` requests have arrived.
    bool WaitForRequests(std::size_t count, int timeoutMs) const;
    // Waits until at least `count` raw bytes have arrived (framed or not).
    bool WaitForBytes(std::size_t count, int timeoutMs) const;
    std::string ReceivedBytes() const;
    // Bytes written towards the program so far.
    std::size_t WrittenByteCount() const { return FWritten.load(); }
    // Replies sent with a noise burst ahead of them, counted once written whole.
    int NoiseBurstsWritten() const { return FNoiseBursts.load(); }

    // Closes the master side, as an unplugged adapter would vanish.
    void Hangup();

    // CPU time of the panel's own thread so far, in nanoseconds.
    long long ThreadCpuNs() const { return FCpuNs.load(); }

    // The wire bytes of a reply: FA, escaped (01 00 code data checksum), FD.
    static std::string Frame(uint8_t code, const std::string& data, bool badChecksum = false);
    // `size` bytes of line noise, the same on every call; the first is no
    // framing byte.
    static std::string LineNoise(std::size_t size);

private:
    void Run();
    void OnByte(uint8_t b);
    void Answer(const Request& request);
    void WriteOut(const std::string& bytes, bool byteByByte, int gapMs);
    void Silent();
    std::optional<Reply> ConfigPanelReply(const Request& request);

    int FMaster = -1;
    int FSlaveKeep = -1; // keeps the line up while the program's side is closed
    int FWake[2] = { -1, -1 };
    std::string FSlavePath;
    std::thread FThread;
    std::mutex FWriteMutex;
    std::mutex FSilenceMutex; // held while OnSilence runs, so clearing it waits for the call
    std::function<void()> FOnSilence;

    mutable std::mutex FMutex;
    mutable std::condition_variable FChanged;
    std::map<uint8_t, Handler> FHandlers;
    Faults FFaults;
    std::deque<Faults> FQueuedFaults;
    std::map<std::pair<uint8_t, int>, std::deque<Faults>> FItemFaults;
    unsigned FBaud = 0;
    bool FPaceRequests = false;
    bool FConfigPanel = false;
    std::string FIdentification;
    int FPasscode = -1;
    std::size_t FGeneralReplyLength = 0;
    std::map<std::pair<uint8_t, int>, std::string> FMemory;
    std::vector<Request> FRequests;
    std::string FStray;
    std::string FReceived;
    std::string FHeld;
    std::atomic<long long> FCpuNs { 0 };
    std::atomic<std::size_t> FWritten { 0 };
    std::atomic<int> FNoiseBursts { 0 };

    // Frame collection, panel thread only.
    bool FInFrame = false;
    std::string FFrame;
};
