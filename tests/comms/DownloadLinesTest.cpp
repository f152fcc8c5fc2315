// CSV lines of the event log and device data, byte for byte.
#include "Downloadlines.h"
#include "localisation/TestDictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace comms;

namespace {

// Reply data of one event log part: 3 unread bytes, the count, 40 text bytes.
std::string EventPart(int count, const std::string& text)
{
    std::string d(EventLogLines::ReplySize, '\0');
    d[3] = static_cast<char>(count >> 8);
    d[4] = static_cast<char>(count & 0xFF);
    d.replace(5, std::min<std::size_t>(text.size(), 40), text.substr(0, 40));
    return d;
}

bool Take(EventLogLines& log, int step, const std::string& data, TextLines& lines)
{
    return log.Take(step, reinterpret_cast<const unsigned char*>(data.data()), data.size(), lines);
}

std::string DeviceReply(int point, std::initializer_list<int> pw, int level, int zone,
    const std::string& type, const std::string& location)
{
    std::string d(DeviceDataReplySize, '\0');
    d[0] = static_cast<char>(point);
    int i = 1;
    for (int v : pw) {
        d[i++] = static_cast<char>(v >> 8);
        d[i++] = static_cast<char>(v & 0xFF);
    }
    d[11] = static_cast<char>(level);
    d[12] = static_cast<char>(zone);
    for (std::size_t k = 0; k < type.size() && k < 3; ++k)
        d[13 + k] = type[k];
    for (std::size_t k = 0; k < location.size() && k < 20; ++k)
        d[16 + k] = location[k];
    return d;
}

std::string Line(const std::string& data)
{
    std::string line;
    EXPECT_TRUE(DeviceDataLine(reinterpret_cast<const unsigned char*>(data.data()), data.size(), line));
    return line;
}

} // namespace

TEST(EventLogLines, RequestsCarryEventHighByteFirstAndPart)
{
    EXPECT_EQ(EventLogRequest(0), std::string("\0\0\0", 3));
    EXPECT_EQ(EventLogRequest(2), std::string("\0\0\2", 3));
    EXPECT_EQ(EventLogRequest(5), std::string("\0\1\2", 3));
    // Event 300 = 0x012C.
    EXPECT_EQ(EventLogRequest(901), std::string("\x01\x2C\x01", 3));
}

TEST(EventLogLines, SeveralEventsByteForByte)
{
    const std::string full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd"; // no zero byte
    ASSERT_EQ(full.size(), 40u);
    EventLogLines log;
    TextLines lines;
    // Event 1: date/time in characters 1-23, identity in 24-40.
    ASSERT_TRUE(Take(log, 0, EventPart(3, " 12/03/2024   14:05:33  Zone 3 Sensor 12  "), lines));
    ASSERT_TRUE(Take(log, 1, EventPart(3, "Kitchen             Smoke head  "), lines));
    ASSERT_TRUE(Take(log, 2, EventPart(3, "  FIRE  "), lines));
    // Event 2: empty part 1 text: no zone or device columns.
    ASSERT_TRUE(Take(log, 3, EventPart(3, "13/03/2024 08:00:00"), lines));
    ASSERT_TRUE(Take(log, 4, EventPart(3, ""), lines));
    ASSERT_TRUE(Take(log, 5, EventPart(3, "Reset"), lines));
    // Event 3: 40-character texts filling the field; an empty part 0.
    ASSERT_TRUE(Take(log, 6, EventPart(3, ""), lines));
    ASSERT_TRUE(Take(log, 7, EventPart(3, full), lines));
    ASSERT_TRUE(Take(log, 8, EventPart(3, full), lines));
    EXPECT_EQ(log.EventCount(), 3);
    EXPECT_EQ(log.StepCount(), 9);

    const TextLines expected = {
        "Index,Date/Time,Identity,Zone Text,Device Text,Event Description",
        "1,\"12/03/2024   14:05:33\",\"Zone 3 Sensor 12\",\"Kitchen\",\"Smoke head\",\"FIRE\"",
        "2,\"13/03/2024 08:00:00\",\"\",\"Reset\"",
        "3,\"\",\"\",\"ABCDEFGHIJKLMNOPQRST\",\"UVWXYZ0123456789abcd\",\"" + full + "\"",
    };
    EXPECT_EQ(lines, expected);
}

TEST(EventLogLines, IdentityFieldOfAFullPartZero)
{
    EventLogLines log;
    TextLines lines;
    const std::string text = "01234567890123456789012IDENTITY-ABCDEFGHI"; // 41: one byte beyond the field
    ASSERT_TRUE(Take(log, 0, EventPart(1, text), lines));
    ASSERT_TRUE(Take(log, 1, EventPart(1, ""), lines));
    ASSERT_TRUE(Take(log, 2, EventPart(1, "x"), lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "1,\"01234567890123456789012\",\"IDENTITY-ABCDEFGH\",\"x\"");
}

TEST(EventLogLines, EmptyLogGivesTheHeaderOnly)
{
    EventLogLines log;
    TextLines lines;
    ASSERT_TRUE(Take(log, 0, EventPart(0, ""), lines));
    EXPECT_EQ(log.StepCount(), 0);
    EXPECT_EQ(lines, TextLines { EventLogHeader() });
}

TEST(EventLogLines, ShortRepliesAreRefusedAndAddNothing)
{
    EventLogLines log;
    TextLines lines;
    const std::string part = EventPart(2, "Some text that is long enough to be cut off");
    // No count.
    EXPECT_FALSE(Take(log, 0, part.substr(0, 4), lines));
    // A text cut before its end and without its zero byte.
    EXPECT_FALSE(Take(log, 0, part.substr(0, 20), lines));
    EXPECT_TRUE(lines.empty());
    // A short text ended by its zero byte is whole.
    const std::string shortText = EventPart(2, "Alarm");
    EXPECT_TRUE(Take(log, 0, shortText.substr(0, 11), lines));
    // Bytes beyond the 45 taken are ignored.
    EXPECT_TRUE(Take(log, 1, EventPart(2, "") + "trailing", lines));
    EXPECT_EQ(lines.size(), 1u);
}

TEST(DeviceDataLine, SensorAndModuleColumns)
{
    EXPECT_EQ(Line(DeviceReply(7, { 1, 256, 65535, 0, 1000 }, 45, 3, "OPT", "  Corridor 2nd floor ")),
        "S7,1,256,65535,0,1000,45%,3,\"OPT\",\"Corridor 2nd floor\"");
    // Type keeps its spaces; modules show the address below 100.
    EXPECT_EQ(Line(DeviceReply(105, { 0, 0, 0, 0, 0 }, 0, 32, "I ", "")), "M5,0,0,0,0,0,0%,32,\"I \",\"\"");
    EXPECT_EQ(Line(DeviceReply(199, { 2, 3, 4, 5, 6 }, 100, 1, "MCP", "Exit")),
        "M99,2,3,4,5,6,100%,1,\"MCP\",\"Exit\"");
    EXPECT_EQ(Line(DeviceReply(100, { 0, 0, 0, 0, 0 }, 1, 1, "ION", "x")), "M0,0,0,0,0,0,1%,1,\"ION\",\"x\"");
}

// The address letter is the dictionary's: only one that would split the cell
// or start a formula is quoted.
TEST(DeviceDataLine, TranslatedAddressLettersStayOneCell)
{
    for (const auto& [sensor, module, s7, m5] :
        { std::tuple { "D", "Mo", "D7", "Mo5" }, std::tuple { "S,", "\"M", "\"S,7\"", "\"\"\"M5\"" },
            std::tuple { "=S", "-", "\"'=S7\"", "\"-5\"" } }) {
        MemoryDictionary d;
        SetUpGerman(d, { Row("S", sensor), Row("M", module) });
        EXPECT_EQ(Line(DeviceReply(7, { 0, 0, 0, 0, 0 }, 0, 0, "OPT", "")),
            s7 + std::string(",0,0,0,0,0,0%,0,\"OPT\",\"\""));
        EXPECT_EQ(
            Line(DeviceReply(105, { 0, 0, 0, 0, 0 }, 0, 0, "OPT", "")).substr(0, std::string(m5).size() + 1),
            m5 + std::string(","));
    }
}

TEST(DeviceDataLine, PanelTextsAreWindows1252)
{
    EXPECT_EQ(Line(DeviceReply(1, { 0, 0, 0, 0, 0 }, 0, 0, "OPT", "Caf\xE9 \x80 5")),
        "S1,0,0,0,0,0,0%,0,\"OPT\",\"Caf\xC3\xA9 \xE2\x82\xAC 5\"");
}

TEST(CsvText, QuotesDoubledAndFormulasDisarmedButNumbersKept)
{
    EXPECT_EQ(CsvText(""), "\"\"");
    EXPECT_EQ(CsvText("Hall \"A\", 2"), "\"Hall \"\"A\"\", 2\"");
    EXPECT_EQ(CsvText("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
    for (const char* text : { "+44 20", "-", "@SUM(A1)", "\tx", "\rx", "-1.2.3", "+.e5", "-5e" })
        EXPECT_EQ(CsvText(text), "\"'" + std::string(text) + "\"") << text;
    for (const char* text : { "-5", "+12", "-0.5", "-.5", "+1.5E-3", "12=3", "a@b" })
        EXPECT_EQ(CsvText(text), "\"" + std::string(text) + "\"") << text;
}

TEST(CsvText, PanelTextsNeverAddAColumn)
{
    EXPECT_EQ(Line(DeviceReply(3, { 0, 0, 0, 0, 0 }, 0, 0, "=,\"", " -2+3, \"x\"")),
        "S3,0,0,0,0,0,0%,0,\"'=,\"\"\",\"'-2+3, \"\"x\"\"\"");
    EventLogLines log;
    TextLines lines;
    ASSERT_TRUE(Take(log, 0, EventPart(1, "@1,\"2\"" + std::string(17, ' ') + "-3"), lines));
    ASSERT_TRUE(Take(log, 1, EventPart(1, "a,b"), lines));
    ASSERT_TRUE(Take(log, 2, EventPart(1, "=cmd|' /C calc'!A0"), lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "1,\"'@1,\"\"2\"\"\",\"-3\",\"a,b\",\"\",\"'=cmd|' /C calc'!A0\"");
}

TEST(DeviceDataLine, ShortReplyIsRefused)
{
    const std::string d = DeviceReply(1, { 0, 0, 0, 0, 0 }, 0, 0, "OPT", "Hall");
    std::string line = "unchanged";
    EXPECT_FALSE(DeviceDataLine(reinterpret_cast<const unsigned char*>(d.data()), d.size() - 1, line));
    EXPECT_EQ(line, "unchanged");
}

TEST(DeviceDataLine, AllPointsAre1To99Then101To199)
{
    int count = 0, point = FirstPoint;
    bool saw100 = false;
    for (; point <= LastPoint; point = NextPoint(point)) {
        ++count;
        saw100 |= point == 100;
    }
    EXPECT_EQ(count, 198);
    EXPECT_FALSE(saw100);
}
