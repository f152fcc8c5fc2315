#include "Downloadlines.h"

#include "Ivdictio.h"

namespace comms {

namespace {

// Windows-1252 bytes as UTF-8.
std::string FromPanel(const std::string& text)
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

// A text field of at most `size` bytes; a zero byte ends it early.
std::string Field(const unsigned char* data, std::size_t size)
{
    std::size_t n = 0;
    while (n < size && data[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(data), n);
}

std::string Quoted(const std::string& panelText)
{
    return ",\"" + FromPanel(TrimText(panelText)) + "\"";
}

unsigned Word(const unsigned char* p)
{
    return (unsigned(p[0]) << 8) | p[1];
}

} // namespace

std::string TrimText(const std::string& text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

std::string EventLogHeader()
{
    return Translate("Index,Date/Time,Identity,Zone Text,Device Text,Event Description");
}

std::string DeviceDataHeader()
{
    return Translate("Address,PW1,PW2,PW3,PW4,PW5,Level,Zone,Type,Location");
}

std::string EventLogRequest(int step)
{
    const int event = step / 3;
    std::string request(3, '\0');
    request[0] = static_cast<char>((event >> 8) & 0xFF);
    request[1] = static_cast<char>(event & 0xFF);
    request[2] = static_cast<char>(step % 3);
    return request;
}

bool EventLogLines::Take(int step, const unsigned char* data, std::size_t length, TextLines& lines)
{
    if (length > ReplySize)
        length = ReplySize;
    if (length < 5)
        return false;
    // A text cut off before its end or its zero byte is not the panel's text.
    const std::string text = Field(data + 5, length - 5);
    if (length < ReplySize && text.size() == length - 5)
        return false;
    FEventCount = static_cast<int>(Word(data + 3));
    if (step == 0)
        lines.push_back(EventLogHeader());
    const int event = step / 3;
    switch (step % 3) {
    case 0:
        FPending = std::to_string(event + 1) + Quoted(text.substr(0, 23))
            + Quoted(text.size() > 23 ? text.substr(23) : std::string());
        break;
    case 1:
        if (!text.empty())
            FPending
                += Quoted(text.substr(0, 20)) + Quoted(text.size() > 20 ? text.substr(20) : std::string());
        break;
    default:
        FPending += Quoted(text);
        lines.push_back(FPending);
        break;
    }
    return true;
}

bool DeviceDataLine(const unsigned char* d, std::size_t length, std::string& line)
{
    if (length < DeviceDataReplySize)
        return false;
    const int point = d[0];
    line = Translate(point < 100 ? "S" : "M") + std::to_string(point % 100);
    for (int i = 0; i < 5; ++i)
        line += "," + std::to_string(Word(d + 1 + 2 * i));
    line += "," + std::to_string(d[11]) + "%";
    line += "," + std::to_string(d[12]);
    line += "," + FromPanel(Field(d + 13, 3));
    line += ",\"" + FromPanel(TrimText(Field(d + 16, 20))) + "\"";
    return true;
}

} // namespace comms
