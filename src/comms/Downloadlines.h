#pragma once
// The CSV lines of the event log and device data downloads, built from the
// panel's replies. Lines are UTF-8: the header and the address letters are
// translated texts, the panel's Windows-1252 texts are converted as they are
// taken.
#include <cstddef>
#include <string>
#include <vector>

class TQuorvelProtocol;

namespace comms {

using TextLines = std::vector<std::string>;

// The downloads behind the text download window: the transfer engine in the
// program.
class TextDownloadSource {
public:
    virtual ~TextDownloadSource() = default;
    virtual bool DownloadEventLog(TQuorvelProtocol* Protocol, TextLines* Lines) = 0;
    // Address -1: all points; else one point (1..99 sensor, 101..199 module).
    virtual bool DownloadDeviceData(TQuorvelProtocol* Protocol, TextLines* Lines, int Address) = 0;
};

// The event log request of step n: event n / 3 (high byte first), part n % 3.
std::string EventLogRequest(int step);

// Collects the three parts of each event into one line.
class EventLogLines {
public:
    static constexpr std::size_t ReplySize = 45; // data bytes taken from a reply

    // Takes the reply data (from reply byte 3 on) of `step`, adding the header
    // at step 0 and a line after each event's third part. False when the reply
    // is too short to hold the event count and a complete text: nothing is
    // added then.
    bool Take(int step, const unsigned char* data, std::size_t length, TextLines& lines);
    // The number of events the last reply announced.
    int EventCount() const { return FEventCount; }
    // Steps of the whole log as the last reply announced it.
    int StepCount() const { return FEventCount * 3; }

private:
    int FEventCount = 0;
    std::string FPending;
};

// Tells a stale event-log reply from the answer to the request in progress.
// A reply's first three data bytes are not specified; a panel that fills them
// with the request it answers shows which request that is. That is learned
// from the panel, never assumed: before it is known every reply is taken (and
// the quiet wait after a failure is all that guards), afterwards a reply that
// names another request is dropped.
class EventLogEcho {
public:
    enum class Verdict {
        Take, // the reply to the request in progress, as far as can be told
        Stale, // names another request: neither a success nor a failure
        Refetch, // the panel was just seen to echo, and a part taken before
                 // came from a reply to another request: fetch again from RefetchStep()
    };

    void Reset() { *this = EventLogEcho(); }
    void Sent(int step);
    // The reply whose data starts with `tag` (3 bytes) while `step` is in progress.
    Verdict Judge(int step, const unsigned char* tag);
    // The reply judged Take was taken for `step`.
    void Took(int step, const unsigned char* tag);
    // The first step of the event whose part came from a reply to another request.
    int RefetchStep() const { return FRefetchStep; }
    bool Echoes() const { return FEchoes; }

private:
    bool FEchoes = false;
    int FLastSent = -1;
    int FFirstMisnamed = -1; // first step taken from a reply naming another
    int FRefetchStep = -1;
};

// One device data line; false when the reply is too short.
bool DeviceDataLine(const unsigned char* data, std::size_t length, std::string& line);
// The translated header of the device data lines.
std::string DeviceDataHeader();
std::string EventLogHeader();
constexpr std::size_t DeviceDataReplySize = 36;

// Point numbers of a device data download of all points: 1..99, 101..199.
constexpr int FirstPoint = 1;
constexpr int LastPoint = 199;
inline int NextPoint(int point)
{
    return point == 99 ? 101 : point + 1;
}

// One CSV cell holding a text: always quoted, quotes inside doubled, and a
// leading ' before a text a spreadsheet would take as a formula (one that
// starts with =, +, -, @, a tab or a carriage return and is not a number).
std::string CsvText(const std::string& text);

// Removes characters up to the space at both ends, as the panel pads its texts.
std::string TrimText(const std::string& text);

} // namespace comms
