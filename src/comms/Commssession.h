#pragma once
// Pieces shared by the windows that talk to the panel: their time-outs and
// pauses (injectable, so tests of retries run in milliseconds), where their
// modal loop runs, and the bookkeeping that tells a late reply to an earlier
// request from the reply to the request in progress.
#include "CodePage.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

class QEventLoop;
class TSerialComms;

namespace comms {

struct CommsTiming {
    unsigned DetectionTimeoutMs = 1000; // requests J, F and H
    unsigned ItemTimeoutMs = 1500; // one transfer item
    unsigned SettleMs = 50; // pause before a window ends after the last reply
    // After a failed event-log request, the line counts as quiet once no byte
    // has come for this long: the item time-out, so that a reply up to one
    // time-out late is dropped whole, while the gaps inside a reply (about
    // 1 ms at 9600 baud) never end the wait.
    unsigned QuietMs = 1500;
    // Null: the calling thread sleeps.
    std::function<void(unsigned ms)> Sleep;

    void Pause(unsigned ms) const;
};

// Where a window's modal loop runs: a dialog's exec() in the program, a plain
// event loop in tests.
class ModalHost {
public:
    virtual ~ModalHost() = default;
    // Calls onShow once the window is up, then runs until EndModal; returns the
    // modal result.
    virtual int RunModal(const std::function<void()>& onShow) = 0;
    virtual void EndModal(int result) = 0;
    // The state shown by the window changed.
    virtual void Changed() { }
};

// A modal loop without a window.
class EventLoopHost : public ModalHost {
public:
    int RunModal(const std::function<void()>& onShow) override;
    void EndModal(int result) override;
    std::function<void()> OnChanged;
    void Changed() override
    {
        if (OnChanged)
            OnChanged();
    }

private:
    QEventLoop* FLoop = nullptr;
    std::optional<int> FResult;
};

// While a window talks to the panel: when the port's device hangs up (the
// adapter unplugged), the window's loop is ended instead of repeating its
// request against a port that is gone, and the hang-up becomes an error that
// names the device once the loop has returned.
class HangupWatch {
public:
    // `endWindow` detaches the window's handlers and ends its modal loop, and
    // returns true; once the window has ended with its result it changes
    // nothing and returns false, so a hang-up after the last reply leaves a
    // finished transfer finished.
    HangupWatch(TSerialComms* Port, std::function<bool()> endWindow);
    ~HangupWatch();
    HangupWatch(const HangupWatch&) = delete;
    HangupWatch& operator=(const HangupWatch&) = delete;
    // Raises "Communications Failure." with the device and the system's reason.
    void RaiseIfHungUp() const;

private:
    TSerialComms* FPort;
    bool FEnded = false;
};

// Requests sent and not yet answered. Only the latest is in progress; a
// repeated or abandoned request may still be answered late, and that answer
// must neither be taken for the next item nor counted as a failure.
class ReplyTracker {
public:
    enum class Match { Current, Earlier, None };

    // A request is now in progress; its reply carries this code and its data
    // starts with this prefix.
    void Sent(uint8_t replyCode, std::string prefix = {});
    // Packet from its first header byte (code at index 2), as the protocol holds it.
    Match Classify(const unsigned char* packet, unsigned length);
    void Clear();
    std::size_t Outstanding() const { return FEarlier.size() + (FCurrent ? 1 : 0); }

private:
    struct Signature {
        uint8_t Code = 0;
        std::string Prefix;
        bool Matches(const unsigned char* packet, unsigned length) const;
    };
    static constexpr std::size_t MaxEarlier = 8;
    std::optional<Signature> FCurrent;
    std::deque<Signature> FEarlier; // newest at the back
};

// Windows-1252 bytes (panel and configuration texts) as UTF-8 for display.
using platform::Cp1252ToUtf8;

} // namespace comms
