#include "Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace platform {

namespace {

// Widths and precisions beyond this are a broken (or hostile) format.
constexpr int MaxWidth = 4096;

[[noreturn]] void Invalid(std::string_view format)
{
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

[[noreturn]] void Missing(std::string_view format)
{
    throw EConvertError("No argument for format '" + std::string(format) + "'");
}

// Counts UTF-8 code points, so padding and truncation never split a character.
size_t CodePoints(std::string_view s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string TruncateCodePoints(std::string_view s, size_t count)
{
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == count)
                return std::string(s.substr(0, i));
            ++n;
        }
    }
    return std::string(s);
}

std::string Digits(uint64_t v, int base, int minDigits)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v, base);
    std::string s(buf, r.ptr);
    for (char& c : s)
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    if (static_cast<int>(s.size()) < minDigits)
        s.insert(0, minDigits - s.size(), '0');
    return s;
}

std::string Fixed(double v, int precision)
{
    if (!std::isfinite(v))
        return std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : "INF");
    char buf[512];
    if (std::fabs(v) >= 1e18) {
        // The class library switches to scientific notation for huge values.
        std::snprintf(buf, sizeof buf, "%.*E", precision, v);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.*f", precision, v);
    return buf;
}

std::string Scientific(double v, int precision)
{
    if (!std::isfinite(v))
        return std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : "INF");
    // d.dddE+ddd: `precision` significant digits, at least three exponent digits.
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*E", precision > 0 ? precision - 1 : 0, v);
    std::string s = buf;
    size_t e = s.find('E');
    if (e != std::string::npos && e + 2 <= s.size()) {
        std::string exp = s.substr(e + 2);
        while (exp.size() < 3)
            exp.insert(0, "0");
        s = s.substr(0, e + 2) + exp;
    }
    return s;
}

std::string General(double v, int precision)
{
    if (!std::isfinite(v))
        return std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : "INF");
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*G", precision, v);
    return buf;
}

std::string Grouped(double v, int precision)
{
    std::string s = Fixed(v, precision);
    if (s.find('E') != std::string::npos || !std::isfinite(v))
        return s;
    size_t start = (s[0] == '-') ? 1 : 0;
    size_t point = s.find('.');
    size_t end = point == std::string::npos ? s.size() : point;
    for (size_t i = end; i > start + 3; i -= 3)
        s.insert(i - 3, ",");
    return s;
}

} // namespace

std::string FormatList(std::string_view format, const std::vector<FormatArg>& args)
{
    std::string out;
    size_t next = 0; // the argument taken by a specifier without an index
    size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= format.size())
            Invalid(format);
        if (format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        auto readNumber = [&](int& value) {
            if (i >= format.size() || format[i] < '0' || format[i] > '9')
                return false;
            long long n = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
                n = n * 10 + (format[i] - '0');
                if (n > MaxWidth)
                    Invalid(format);
                ++i;
            }
            value = static_cast<int>(n);
            return true;
        };
        int number = -1;
        bool hasNumber = readNumber(number);
        if (hasNumber && i < format.size() && format[i] == ':') {
            next = static_cast<size_t>(number);
            ++i;
            hasNumber = false;
            number = -1;
        }
        bool left = false;
        if (!hasNumber && i < format.size() && format[i] == '-') {
            left = true;
            ++i;
        }
        int width = 0;
        if (hasNumber)
            width = number;
        else
            readNumber(width);
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            if (!readNumber(precision))
                Invalid(format);
        }
        if (i >= format.size())
            Invalid(format);
        char type = static_cast<char>(format[i] | 0x20);
        ++i;
        if (next >= args.size())
            Missing(format);
        const FormatArg& arg = args[next++];
        std::string text;
        switch (type) {
        case 'd':
        case 'u':
        case 'x': {
            uint64_t magnitude = 0;
            bool negative = false;
            if (arg.GetKind() == FormatArg::Kind::Signed) {
                int64_t v = arg.Signed();
                if (type == 'd') {
                    negative = v < 0;
                    magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
                } else if (v >= INT32_MIN && v <= INT32_MAX) {
                    // As the class library does: a negative 32-bit value shows its bits.
                    magnitude = static_cast<uint32_t>(static_cast<int32_t>(v));
                } else {
                    magnitude = static_cast<uint64_t>(v);
                }
            } else if (arg.GetKind() == FormatArg::Kind::Unsigned) {
                magnitude = arg.Unsigned();
            } else {
                Invalid(format);
            }
            text = Digits(magnitude, type == 'x' ? 16 : 10, precision);
            if (negative)
                text.insert(0, "-");
            break;
        }
        case 'f':
        case 'e':
        case 'g':
        case 'n': {
            if (arg.GetKind() != FormatArg::Kind::Float)
                Invalid(format);
            double v = arg.Float();
            if (type == 'f')
                text = Fixed(v, precision < 0 ? 2 : precision);
            else if (type == 'n')
                text = Grouped(v, precision < 0 ? 2 : precision);
            else if (type == 'e')
                text = Scientific(v, precision < 0 ? 15 : precision);
            else
                text = General(v, precision < 0 ? 15 : precision);
            break;
        }
        case 's':
            if (arg.GetKind() != FormatArg::Kind::Text)
                Invalid(format);
            text = precision >= 0 ? TruncateCodePoints(arg.Text(), precision) : arg.Text();
            break;
        default:
            Invalid(format);
        }
        size_t length = CodePoints(text);
        if (static_cast<size_t>(width) > length) {
            std::string pad(width - length, ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

} // namespace platform
