#include "Commssession.h"

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

std::string Cp1252ToUtf8(const std::string& text)
{
    // 0x80 to 0x9F differ from Latin-1; 0 marks the five unassigned codes.
    static const char16_t high[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
        0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
        0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        char32_t u = c;
        if (c >= 0x80 && c < 0xA0)
            u = high[c - 0x80] ? high[c - 0x80] : 0xFFFD;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

} // namespace comms
