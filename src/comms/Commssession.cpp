#include "Commssession.h"

#include "Exception.h"
#include "Serialcommscomponent.h"

#include <QEventLoop>

#include <chrono>
#include <thread>

namespace comms {

void CommsTiming::Pause(unsigned ms) const
{
    if (Sleep)
        Sleep(ms);
    else if (ms)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

HangupWatch::HangupWatch(TSerialComms* Port, std::function<bool()> endWindow)
    : FPort(Port)
{
    if (FPort)
        FPort->SetOnHangup([this, end = std::move(endWindow)](TSerialComms*) { FEnded = end(); });
}

HangupWatch::~HangupWatch()
{
    if (FPort)
        FPort->SetOnHangup(nullptr);
}

void HangupWatch::RaiseIfHungUp() const
{
    // Only a hang-up that ended the window.
    if (FEnded)
        throw Exception("Communications Failure.", FPort->HangupReason());
}

int EventLoopHost::RunModal(const std::function<void()>& onShow)
{
    FResult.reset();
    QEventLoop loop;
    FLoop = &loop;
    if (onShow)
        onShow();
    if (!FResult)
        loop.exec();
    FLoop = nullptr;
    return FResult.value_or(0);
}

void EventLoopHost::EndModal(int result)
{
    FResult = result;
    if (FLoop)
        FLoop->quit();
}

bool ReplyTracker::Signature::Matches(const unsigned char* packet, unsigned length) const
{
    if (length < 3 + Prefix.size() || packet[2] != Code)
        return false;
    return Prefix.compare(0, Prefix.size(), reinterpret_cast<const char*>(packet + 3), Prefix.size()) == 0;
}

void ReplyTracker::Sent(uint8_t replyCode, std::string prefix)
{
    if (FCurrent) {
        FEarlier.push_back(std::move(*FCurrent));
        if (FEarlier.size() > MaxEarlier)
            FEarlier.pop_front();
    }
    FCurrent = Signature { replyCode, std::move(prefix) };
}

ReplyTracker::Match ReplyTracker::Classify(const unsigned char* packet, unsigned length)
{
    if (FCurrent && FCurrent->Matches(packet, length)) {
        FCurrent.reset();
        return Match::Current;
    }
    for (auto it = FEarlier.rbegin(); it != FEarlier.rend(); ++it)
        if (it->Matches(packet, length)) {
            FEarlier.erase(std::next(it).base());
            return Match::Earlier;
        }
    return Match::None;
}

void ReplyTracker::Clear()
{
    FCurrent.reset();
    FEarlier.clear();
}

} // namespace comms
