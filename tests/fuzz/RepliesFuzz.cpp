// Reply payloads as a receive takes them: each configuration item decoded
// over what the encoder put in its block, and the event log and device data
// lines built from arbitrary replies. An item decoded and encoded again must
// settle after a round or two (nothing drifts with each receive), and every
// download line must split into its columns as a spreadsheet reads CSV, with
// no cell it would take as a formula.
//
// Input: byte 0 picks the item or download, byte 1 the firmware number
// (400 + value), byte 2 the item asked for; the rest is the reply data. A download
// takes the rest as replies, each a length byte and that many bytes.
#include "Downloadlines.h"
#include "PX10ConfigData.h"
#include "Panelpackets.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace comms;

namespace {

// After the configuration items, numbered as ConfigItem: the two downloads.
constexpr int EventLog = static_cast<int>(ConfigItem::Point) + 1;
constexpr int DeviceData = EventLog + 1;
constexpr int KindCount = DeviceData + 1;

void Item(ConfigItem kind, int item, int firmware, const uint8_t* data, std::size_t size)
{
    // The receive asks only for items that exist; the reply may name any.
    constexpr int Points = TPX10ConfigDeviceConfiguration::AddressCount;
    const int counts[] = { 1, TPX10ConfigZoneText::ZoneCount, TPX10ConfigGsmItems::ItemCount, 1,
        TPX10ConfigCBERuleConfiguration::RuleCount, 2 * Points };
    item = item % counts[static_cast<int>(kind)] + 1;
    if (kind == ConfigItem::Point && item > Points)
        item += 1; // 101..199
    TPX10ConfigData config(false, false, false, false);
    const std::size_t blockSize = ConfigItemBlockSize(kind);
    uint8_t block[GeneralSetupBlockSize] = {};
    EncodeConfigItem(config, kind, item, firmware, block);
    std::memcpy(block, data, std::min(size, blockSize));
    if (!DecodeConfigItem(config, kind, item, firmware, block))
        return;
    // The item as the configuration now holds it, decoded and encoded again:
    // it settles by the second round. (The first may still move: a getter
    // gives its default for a value out of range, e.g. rule 0 comes back as 1.)
    const int stored = kind == ConfigItem::Point ? item : block[1];
    uint8_t again[2][GeneralSetupBlockSize] = {};
    for (auto& round : again) {
        EncodeConfigItem(config, kind, stored, firmware, round);
        if (!DecodeConfigItem(config, kind, stored, firmware, round))
            std::abort();
    }
    uint8_t last[GeneralSetupBlockSize] = {};
    EncodeConfigItem(config, kind, stored, firmware, last);
    if (std::memcmp(again[1], last, blockSize) != 0)
        std::abort();
}

// The cells of one CSV line (RFC 4180); aborts on a quote out of place.
std::vector<std::string> Cells(const std::string& line)
{
    std::vector<std::string> cells(1);
    bool quoted = false, wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                cells.back() += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                cells.back() += line[++i];
            else
                quoted = false;
        } else if (c == ',') {
            cells.emplace_back();
            wasQuoted = false;
        } else if (c == '"') {
            if (!cells.back().empty() || wasQuoted)
                std::abort();
            quoted = wasQuoted = true;
        } else {
            if (wasQuoted)
                std::abort();
            cells.back() += c;
        }
    }
    if (quoted)
        std::abort();
    return cells;
}

void CheckCells(const std::string& line, std::size_t shorter, std::size_t full)
{
    const std::vector<std::string> cells = Cells(line);
    if (cells.size() != shorter && cells.size() != full)
        std::abort();
    // Only a number may start as a formula does: its cell carries no mark.
    for (const std::string& cell : cells)
        if (!cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos
            && CsvText(cell) != "\"" + cell + "\"")
            std::abort();
}

void EventLogReplies(const uint8_t* data, std::size_t size)
{
    EventLogLines log;
    TextLines lines;
    int step = 0;
    std::size_t checked = 1; // the header
    while (size > 0) {
        const std::size_t length = std::min<std::size_t>(data[0], size - 1);
        if (log.Take(step, data + 1, length, lines))
            ++step;
        data += 1 + length;
        size -= 1 + length;
        for (; checked < lines.size(); ++checked)
            CheckCells(lines[checked], 4, 6);
    }
}

void DeviceDataReply(const uint8_t* data, std::size_t size)
{
    std::string line;
    if (DeviceDataLine(data, size, line))
        CheckCells(line, 10, 10);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int kind = data[0] % KindCount;
    const int firmware = 400 + data[1];
    const int item = data[2];
    data += 3;
    size -= 3;
    if (kind == EventLog)
        EventLogReplies(data, size);
    else if (kind == DeviceData)
        DeviceDataReply(data, size);
    else
        Item(static_cast<ConfigItem>(kind), item, firmware, data, size);
    return 0;
}
