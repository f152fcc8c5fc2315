#include "CodePage.h"

#include <QList>

#include <unicode/ucnv.h>

#include <array>
#include <stdexcept>

namespace platform {

namespace {

// Built once from ICU's own table: the bytes 0x80 to 0x9F are the only ones
// that do not stand for the code point of the same value.
struct Cp1252Table {
    std::array<char16_t, 32> High {};

    Cp1252Table()
    {
        UErrorCode e = U_ZERO_ERROR;
        UConverter* conv = ucnv_open("windows-1252", &e);
        if (U_FAILURE(e) || !conv)
            throw std::runtime_error("The code page windows-1252 is not available");
        for (int b = 0x80; b < 0xA0; ++b) {
            const char in = static_cast<char>(b);
            UChar out[2] = {};
            e = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(conv, out, 2, &in, 1, &e);
            High[b - 0x80] = (U_SUCCESS(e) && n == 1) ? out[0] : char16_t(b);
        }
        ucnv_close(conv);
    }

    char16_t ToUnicode(unsigned char b) const { return (b >= 0x80 && b < 0xA0) ? High[b - 0x80] : b; }

    // -1 when the code page has no byte for c.
    int ToByte(char32_t c) const
    {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
            return static_cast<int>(c);
        for (int i = 0; i < 32; ++i)
            if (High[i] == c)
                return 0x80 + i;
        return -1;
    }
};

const Cp1252Table& Table()
{
    static const Cp1252Table table;
    return table;
}

} // namespace

QString Utf8ToQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view utf8)
{
    std::u16string result;
    result.reserve(utf8.size());
    // The low six bits of the continuation byte at `at`, or -1 when there is none.
    auto continuation = [&](size_t at) -> int {
        if (at >= utf8.size())
            return -1;
        const auto c = static_cast<unsigned char>(utf8[at]);
        return (c & 0xC0) == 0x80 ? c & 0x3F : -1;
    };
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            result.push_back(b);
            i += 1;
        } else if (b >= 0xC0 && b <= 0xDF) {
            const int first = continuation(i + 1);
            if (first < 0)
                return std::nullopt;
            result.push_back(static_cast<char16_t>(((b & 0x1F) << 6) | first));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            const int first = continuation(i + 1);
            const int second = first < 0 ? -1 : continuation(i + 2);
            if (second < 0)
                return std::nullopt;
            result.push_back(static_cast<char16_t>(((b & 0x0F) << 12) | (first << 6) | second));
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    return result;
}

std::u16string Utf8ToUtf16Lenient(std::string_view utf8)
{
    const QString s = Utf8ToQString(utf8);
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    return Utf16UnitsToUtf8(text.size(), [&](size_t i) { return text[i]; });
}

std::string Cp1252ToUtf8(std::string_view bytes)
{
    const Cp1252Table& t = Table();
    return Utf16UnitsToUtf8(bytes.size(),
        [&](size_t i) -> uint32_t { return t.ToUnicode(static_cast<unsigned char>(bytes[i])); });
}

QString Cp1252ToQString(std::string_view bytes)
{
    const Cp1252Table& t = Table();
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (unsigned char c : bytes)
        *d++ = QChar(t.ToUnicode(c));
    return out;
}

std::string QStringToCp1252(const QString& text)
{
    const Cp1252Table& t = Table();
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (char32_t c : text.toUcs4()) {
        const int b = t.ToByte(c);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8)
{
    return QStringToCp1252(Utf8ToQString(utf8));
}

bool Cp1252CanHold(char32_t c)
{
    return Table().ToByte(c) >= 0;
}

bool Cp1252IsTypable(char32_t c)
{
    return c >= 0x20 && !(c >= 0x7F && c < 0xA0) && Cp1252CanHold(c);
}

} // namespace platform
