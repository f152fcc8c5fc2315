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

void AppendUtf8(std::string& out, char32_t u)
{
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

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes)
{
    const Cp1252Table& t = Table();
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes)
        AppendUtf8(out, t.ToUnicode(c));
    return out;
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
    return QStringToCp1252(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
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
