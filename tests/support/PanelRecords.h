#pragma once
// What a panel records, served on a SimulatedPanel through its per-command
// handlers: the event log (request X, three parts per event) and the device
// readings (request Z, one point per request). Thread-safe: the panel's thread
// answers while a test changes the records.
#include "SimulatedPanel.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class PanelRecords {
public:
    // The three 40-byte texts of one event: date/time and identity, zone and
    // device text, description. Longer texts are cut to 40 bytes; shorter
    // ones end with a zero byte.
    struct Event {
        std::string Parts[3];
    };
    struct Reading {
        unsigned PW[5] = { 0, 0, 0, 0, 0 };
        int Level = 0;
        int Zone = 0;
        std::string Type; // 3 bytes
        std::string Location; // 20 bytes, space padded
    };

    // Answers X and Z requests on `panel` from now on.
    void Install(SimulatedPanel& panel);

    void SetEvents(std::vector<Event> events);
    std::vector<Event> Events() const;
    // Runs on the panel's thread before each event log reply with the step
    // asked for; it may change the log (one that grows or shrinks while it
    // is fetched).
    // Whether an event log reply starts with the request it answers (as by
    // default) or with zeros, as a panel that fills nothing there sends.
    void SetEchoRequest(bool echo);
    void SetBeforeEventReply(std::function<void(int step, std::vector<Event>& events)> hook);
    // An event with plain texts: "dd/mm/yyyy hh:mm:ss" padded to 23 plus the
    // identity, zone and device texts of 20 each, and the description.
    static Event MakeEvent(int n);

    // A reading for one point; points without one get MakeReading(point).
    void SetReading(int point, const Reading& reading);
    static Reading MakeReading(int point);

    // Reply data as the panel sends it.
    static std::string EventReplyData(int event, int part, int count, const std::string& text);
    static std::string DeviceReplyData(int point, const Reading& reading);

private:
    std::optional<SimulatedPanel::Reply> EventReply(const SimulatedPanel::Request& r);
    std::optional<SimulatedPanel::Reply> DeviceReply(const SimulatedPanel::Request& r);

    mutable std::mutex FMutex;
    std::vector<Event> FEvents;
    std::function<void(int, std::vector<Event>&)> FBefore;
    bool FEcho = true;
    std::map<int, Reading> FReadings;
};
