#include "Downloadlines.h"

#include "Commssession.h"
#include "Ivdictio.h"

#include <algorithm>
#include <string_view>

namespace comms {

namespace {

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
    return "," + CsvText(Cp1252ToUtf8(TrimText(panelText)));
}

// A decimal number as a spreadsheet reads one: sign, digits with at most one
// point, an optional exponent.
bool IsNumber(const std::string& text)
{
    std::size_t i = 0, digits = 0;
    const auto digitsFrom = [&] {
        std::size_t n = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++n;
        return n;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    digits = digitsFrom();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += digitsFrom();
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digitsFrom() == 0)
            return false;
    }
    return i == text.size();
}

unsigned Word(const unsigned char* p)
{
    return (unsigned(p[0]) << 8) | p[1];
}

// A spreadsheet takes these first characters as the start of a formula.
constexpr std::string_view FormulaStarts = "=+-@\t\r";

// The Address cell, the letter and the number: bare, as the number cells
// are, unless the letter would split the cell or start a formula.
std::string AddressCell(const std::string& letter, int number)
{
    const std::string cell = letter + std::to_string(number);
    const bool plain = letter.find_first_of(",\"\r\n") == std::string::npos
        && (letter.empty() || FormulaStarts.find(letter[0]) == std::string_view::npos);
    return plain ? cell : CsvText(cell);
}

} // namespace

std::string CsvText(const std::string& text)
{
    std::string cell = "\"";
    if (!text.empty() && FormulaStarts.find(text[0]) != std::string_view::npos && !IsNumber(text))
        cell += '\'';
    for (char c : text) {
        if (c == '"')
            cell += '"';
        cell += c;
    }
    return cell + '"';
}

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

namespace {

// The step whose request carries these three bytes, or -1 when none does.
int StepNamed(const unsigned char* tag)
{
    if (tag[2] > 2)
        return -1;
    return ((tag[0] << 8) | tag[1]) * 3 + tag[2];
}

} // namespace

void EventLogEcho::Sent(int step)
{
    FLastSent = std::max(FLastSent, step);
}

EventLogEcho::Verdict EventLogEcho::Judge(int step, const unsigned char* tag)
{
    const int named = StepNamed(tag);
    // The first request is all zeros, as a panel that fills nothing sends:
    // only a later one, named back, shows the echo.
    if (!FEchoes && named >= 1 && named <= FLastSent) {
        FEchoes = true;
        if (FFirstMisnamed >= 0) {
            FRefetchStep = FFirstMisnamed - FFirstMisnamed % 3;
            FFirstMisnamed = -1;
            return Verdict::Refetch;
        }
    }
    if (FEchoes)
        return named == step ? Verdict::Take : Verdict::Stale;
    return Verdict::Take;
}

void EventLogEcho::Took(int step, const unsigned char* tag)
{
    if (!FEchoes && FFirstMisnamed < 0 && StepNamed(tag) != step)
        FFirstMisnamed = step;
}

bool DeviceDataLine(const unsigned char* d, std::size_t length, std::string& line)
{
    if (length < DeviceDataReplySize)
        return false;
    const int point = d[0];
    line = AddressCell(Translate(point < 100 ? "S" : "M"), point % 100);
    for (int i = 0; i < 5; ++i)
        line += "," + std::to_string(Word(d + 1 + 2 * i));
    line += "," + std::to_string(d[11]) + "%";
    line += "," + std::to_string(d[12]);
    line += "," + CsvText(Cp1252ToUtf8(Field(d + 13, 3)));
    line += Quoted(Field(d + 16, 20));
    return true;
}

} // namespace comms
