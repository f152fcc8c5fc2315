#include "Ivparser.h"

#include "CodePage.h"
#include "Exception.h"
#include "Ivlocale.h"
#include "Ivsupport.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <strings.h>

namespace {

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool ParseInt(const std::string& text, int& value)
{
    std::string_view s = Trimmed(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty())
        return false;
    uint64_t magnitude = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size())
        return false;
    if (base == 16 && !negative && magnitude <= 0xFFFFFFFFull) {
        // Hexadecimal texts name the 32 bits, as the class library reads them.
        value = static_cast<int>(static_cast<uint32_t>(magnitude));
        return true;
    }
    if (negative ? magnitude > 0x80000000ull : magnitude > 0x7FFFFFFFull)
        return false;
    value = negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
    return true;
}

bool BooleanOf(const std::string& s)
{
    if (s == "0" || strcasecmp(s.c_str(), "false") == 0 || strcasecmp(s.c_str(), "no") == 0)
        return false;
    if (s == "1" || strcasecmp(s.c_str(), "true") == 0 || strcasecmp(s.c_str(), "yes") == 0)
        return true;
    throw Exception(s + " is not a boolean value");
}

template <class Str> Str Decode(const Str& text)
{
    Str out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = text[i];
        if (c == '#' && i + 1 < text.size()) {
            auto n = text[i + 1];
            if (n == '#' || n == 'C' || n == 'L' || n == 'T') {
                out += static_cast<typename Str::value_type>(n == '#' ? '#'
                        : n == 'C'                                    ? '\r'
                        : n == 'L'                                    ? '\n'
                                                                      : '\t');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

template <class Str> Str Code(const Str& text)
{
    Str out;
    out.reserve(text.size());
    for (auto c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            out += static_cast<typename Str::value_type>('#');
            out += static_cast<typename Str::value_type>(c == '\t' ? 'T' : c == '\n' ? 'L' : 'C');
        } else {
            out += c;
        }
    }
    return out;
}

template <class Str> bool ContainsHash(const Str& s)
{
    for (auto c : s)
        if (c == '#')
            return true;
    return false;
}

bool IsWhite(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

int IvStrToInt(const std::string& text)
{
    int value = 0;
    if (!ParseInt(text, value))
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

int IvStrToIntDef(const std::string& text, int defaultValue)
{
    int value = 0;
    return ParseInt(text, value) ? value : defaultValue;
}

double IvStrToFloat(const std::string& text, std::string_view decimalSeparator)
{
    std::string_view s = Trimmed(text);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    // from_chars reads a point: the separator in force becomes one, and a
    // point that is not the separator makes the text no number.
    std::string pointed(s);
    bool separatorsRight = true;
    if (!decimalSeparator.empty() && decimalSeparator != ".") {
        separatorsRight = pointed.find('.') == std::string::npos;
        if (const auto at = pointed.find(decimalSeparator); at != std::string::npos)
            pointed.replace(at, decimalSeparator.size(), ".");
    }
    double value = 0;
    const char* end = pointed.data() + pointed.size();
    auto r = std::from_chars(pointed.data(), end, value);
    if (!separatorsRight || pointed.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(value))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}

bool IvStrToBoolean(const std::string& text)
{
    return BooleanOf(text);
}

// --- 8-bit parser

TIvStringParser::TIvStringParser()
{
    SetValue("");
}

TIvStringParser::TIvStringParser(const std::string& value, char separator)
    : FSeparator(separator)
{
    SetValue(value);
}

void TIvStringParser::SetValue(const std::string& value)
{
    FValue = value;
    FEnd = static_cast<int>(FValue.size()) + 1;
    FPosition = 1;
}

void TIvStringParser::RemoveWhiteSpaces()
{
    while (!Eol() && IsWhite(static_cast<unsigned char>(FValue[FPosition - 1])))
        ++FPosition;
}

char TIvStringParser::TakeChar()
{
    if (Eol())
        return '\0';
    return FValue[FPosition++ - 1];
}

char TIvStringParser::PeekChar() const
{
    return Eol() ? '\0' : FValue[FPosition - 1];
}

std::string TIvStringParser::GetCurrentValue() const
{
    if (Eol())
        return {};
    size_t start = FPosition - 1;
    size_t end = FValue.find(FSeparator, start);
    return FValue.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string TIvStringParser::GetString()
{
    if (FValue.empty())
        return {};
    int start = FPosition;
    while (FPosition < FEnd && FValue[FPosition - 1] != FSeparator)
        ++FPosition;
    std::string result = start < FPosition ? FValue.substr(start - 1, FPosition - start) : std::string();
    // Past the separator; never beyond one past the end, so Eol stays true.
    if (FPosition < FEnd + 1)
        ++FPosition;
    if (FDecode && ContainsHash(result))
        result = DecodeStr(result);
    return result;
}

char TIvStringParser::GetChar()
{
    std::string s = GetString();
    return s.empty() ? '\0' : s[0];
}

char TIvStringParser::GetCharDef(char defaultValue)
{
    return Eol() ? defaultValue : GetChar();
}

int TIvStringParser::GetInteger()
{
    return IvStrToInt(GetString());
}

int TIvStringParser::GetIntegerDef(int defaultValue)
{
    return IvStrToIntDef(GetString(), defaultValue);
}

double TIvStringParser::GetFloat()
{
    return IvStrToFloat(GetString());
}

double TIvStringParser::GetFloatDef(double defaultValue)
{
    return Eol() ? defaultValue : GetFloat();
}

bool TIvStringParser::GetBoolean()
{
    return IvStrToBoolean(GetString());
}

bool TIvStringParser::GetBooleanDef(bool defaultValue)
{
    return Eol() ? defaultValue : GetBoolean();
}

std::string TIvStringParser::CodeStr(const std::string& text)
{
    return Code(text);
}

std::string TIvStringParser::DecodeStr(const std::string& text)
{
    return Decode(text);
}

// --- UTF-16 parser

TIvWideParser::TIvWideParser()
{
    SetValue(u"");
}

TIvWideParser::TIvWideParser(const std::u16string& value, char16_t separator)
    : FSeparator(separator)
{
    SetValue(value);
}

void TIvWideParser::SetValue(const std::u16string& value)
{
    FValue = value;
    FEnd = static_cast<int>(FValue.size()) + 1;
    FPosition = 1;
}

void TIvWideParser::RemoveWhiteSpaces()
{
    while (!Eol() && IsWhite(FValue[FPosition - 1]))
        ++FPosition;
}

char16_t TIvWideParser::TakeChar()
{
    if (Eol())
        return u'\0';
    return FValue[FPosition++ - 1];
}

char16_t TIvWideParser::PeekChar() const
{
    return Eol() ? u'\0' : FValue[FPosition - 1];
}

std::u16string TIvWideParser::GetCurrentValue() const
{
    if (Eol())
        return {};
    size_t start = FPosition - 1;
    size_t end = FValue.find(FSeparator, start);
    return FValue.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
}

std::u16string TIvWideParser::GetRestValue() const
{
    if (Eol())
        return {};
    return FValue.substr(FPosition - 1);
}

std::u16string TIvWideParser::GetString()
{
    if (FValue.empty())
        return {};
    int start = FPosition;
    while (FPosition < FEnd && FValue[FPosition - 1] != FSeparator)
        ++FPosition;
    std::u16string result
        = start < FPosition ? FValue.substr(start - 1, FPosition - start) : std::u16string();
    if (FPosition < FEnd + 1)
        ++FPosition;
    if (FDecode && ContainsHash(result))
        result = DecodeStr(result);
    return result;
}

char16_t TIvWideParser::GetChar()
{
    std::u16string s = GetString();
    return s.empty() ? u'\0' : s[0];
}

char16_t TIvWideParser::GetCharDef(char16_t defaultValue)
{
    return Eol() ? defaultValue : GetChar();
}

std::string TIvWideParser::GetAnsiString()
{
    return IvWStrToStr(GetString(), FCodePage);
}

char TIvWideParser::GetAnsiChar()
{
    std::string s = GetAnsiString();
    return s.empty() ? '\0' : s[0];
}

int TIvWideParser::GetInteger()
{
    return IvStrToInt(GetAnsiString());
}

int TIvWideParser::GetIntegerDef(int defaultValue)
{
    return IvStrToIntDef(GetAnsiString(), defaultValue);
}

double TIvWideParser::GetFloat()
{
    // The separator in the field's own code page, as the field is read.
    const std::string separator
        = IvWStrToStr(platform::Utf8ToUtf16Lenient(IvFormatSettings().DecimalSeparator), FCodePage);
    return IvStrToFloat(GetAnsiString(), separator);
}

double TIvWideParser::GetFloatDef(double defaultValue)
{
    return Eol() ? defaultValue : GetFloat();
}

bool TIvWideParser::GetBoolean()
{
    return IvStrToBoolean(GetAnsiString());
}

bool TIvWideParser::GetBooleanDef(bool defaultValue)
{
    return Eol() ? defaultValue : GetBoolean();
}

std::u16string TIvWideParser::CodeStr(const std::u16string& text)
{
    return Code(text);
}

std::u16string TIvWideParser::DecodeStr(const std::u16string& text)
{
    return Decode(text);
}
