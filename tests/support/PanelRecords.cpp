#include "PanelRecords.h"

#include <cstdio>

namespace {

std::string Padded(const std::string& text, std::size_t size, char pad)
{
    std::string out = text.substr(0, size);
    out.resize(size, pad);
    return out;
}

} // namespace

void PanelRecords::Install(SimulatedPanel& panel)
{
    panel.SetHandler(0x58, [this](const SimulatedPanel::Request& r) { return EventReply(r); });
    panel.SetHandler(0x5A, [this](const SimulatedPanel::Request& r) { return DeviceReply(r); });
}

void PanelRecords::SetEvents(std::vector<Event> events)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FEvents = std::move(events);
}

std::vector<PanelRecords::Event> PanelRecords::Events() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FEvents;
}

void PanelRecords::SetEchoRequest(bool echo)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FEcho = echo;
}

void PanelRecords::SetBeforeEventReply(std::function<void(int, std::vector<Event>&)> hook)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FBefore = std::move(hook);
}

PanelRecords::Event PanelRecords::MakeEvent(int n)
{
    char when[32];
    std::snprintf(when, sizeof when, "%02d/%02d/2024 %02d:%02d:%02d", n % 28 + 1, n % 12 + 1, n % 24, n % 60,
        (n * 7) % 60);
    Event e;
    e.Parts[0] = Padded(when, 23, ' ') + Padded("Sensor " + std::to_string(n % 99 + 1), 17, ' ');
    e.Parts[1] = Padded("Zone " + std::to_string(n % 32 + 1), 20, ' ')
        + Padded("Room " + std::to_string(n), 20, ' ');
    e.Parts[2] = n % 3 == 0 ? "FIRE ALARM" : n % 3 == 1 ? "FAULT: Device missing" : "Reset";
    return e;
}

void PanelRecords::SetReading(int point, const Reading& reading)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FReadings[point] = reading;
}

PanelRecords::Reading PanelRecords::MakeReading(int point)
{
    Reading r;
    for (int i = 0; i < 5; ++i)
        r.PW[i] = static_cast<unsigned>(point * 10 + i);
    r.Level = point % 101;
    r.Zone = point % 32 + 1;
    r.Type = point < 100 ? "OPT" : "MCP";
    r.Location = (point < 100 ? "Sensor " : "Module ") + std::to_string(point % 100);
    return r;
}

std::string PanelRecords::EventReplyData(int event, int part, int count, const std::string& text)
{
    std::string d;
    d += static_cast<char>((event >> 8) & 0xFF);
    d += static_cast<char>(event & 0xFF);
    d += static_cast<char>(part);
    d += static_cast<char>((count >> 8) & 0xFF);
    d += static_cast<char>(count & 0xFF);
    d += Padded(text, 40, '\0');
    return d;
}

std::string PanelRecords::DeviceReplyData(int point, const Reading& r)
{
    std::string d;
    d += static_cast<char>(point);
    for (unsigned v : r.PW) {
        d += static_cast<char>((v >> 8) & 0xFF);
        d += static_cast<char>(v & 0xFF);
    }
    d += static_cast<char>(r.Level);
    d += static_cast<char>(r.Zone);
    d += Padded(r.Type, 3, ' ');
    d += Padded(r.Location, 20, ' ');
    return d;
}

std::optional<SimulatedPanel::Reply> PanelRecords::EventReply(const SimulatedPanel::Request& r)
{
    if (r.Data.size() < 3)
        return SimulatedPanel::Reply { 0x59, {} };
    const int event = (static_cast<unsigned char>(r.Data[0]) << 8) | static_cast<unsigned char>(r.Data[1]);
    const int part = static_cast<unsigned char>(r.Data[2]) % 3;
    std::lock_guard<std::mutex> lock(FMutex);
    if (FBefore)
        FBefore(event * 3 + part, FEvents);
    const int count = static_cast<int>(FEvents.size());
    const std::string text = event < count ? FEvents[event].Parts[part] : std::string();
    std::string data = EventReplyData(event, part, count, text);
    if (!FEcho)
        data.replace(0, 3, 3, '\0');
    return SimulatedPanel::Reply { 0x59, data };
}

std::optional<SimulatedPanel::Reply> PanelRecords::DeviceReply(const SimulatedPanel::Request& r)
{
    const int point = r.Data.empty() ? 0 : static_cast<unsigned char>(r.Data[0]);
    std::lock_guard<std::mutex> lock(FMutex);
    auto it = FReadings.find(point);
    const Reading reading = it != FReadings.end() ? it->second : MakeReading(point);
    return SimulatedPanel::Reply { 0x5B, DeviceReplyData(point, reading) };
}
