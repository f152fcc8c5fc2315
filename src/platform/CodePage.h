#pragma once
// The program's text conversions, all in one place. Inside the program texts
// are UTF-8 (std::string); windows and reports show QString; the panel's 8-bit
// texts (configuration records, .UDF files, packets and CSV downloads) are
// Windows-1252 bytes.
//
// Windows-1252: 0x80 to 0x9F differ from Latin-1, so no Latin-1 shortcut may
// stand in for it; the five codes that Windows-1252 leaves unassigned travel as
// the C1 controls of the same value, so every byte survives a round trip.
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// ---- UTF-8

// What is not UTF-8 becomes U+FFFD.
QString Utf8ToQString(std::string_view utf8);

// One to three bytes per character, with no guessing: a stray or missing
// continuation byte, a sequence cut off by the end, or a lead byte of a
// four-byte character gives nothing. Dictionary files are read this way, so a
// damaged line is refused instead of shown garbled.
std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view utf8);
// Never fails: what is not UTF-8 becomes U+FFFD, as in Utf8ToQString.
std::u16string Utf8ToUtf16Lenient(std::string_view utf8);

std::string Utf16ToUtf8(std::u16string_view text);
// The same over `count` units that `unit(i)` gives, so raw file bytes of
// either order convert without an intermediate copy. A lone surrogate
// becomes U+FFFD.
template <class UnitAt> std::string Utf16UnitsToUtf8(size_t count, UnitAt unit)
{
    // Two passes: the exact length first, so each text is allocated once.
    auto code = [&](size_t& i) -> uint32_t {
        uint32_t c = unit(i);
        if (c < 0xD800 || c > 0xDFFF)
            return c;
        uint32_t next = i + 1 < count ? unit(i + 1) : 0;
        if (c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            ++i;
            return 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        }
        return 0xFFFD;
    };
    size_t length = 0;
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = code(i);
        length += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    }
    std::string out(length, '\0');
    char* o = out.data();
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = code(i);
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *o++ = static_cast<char>(0xE0 | (c >> 12));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | (c >> 18));
            *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// ---- Windows-1252

std::string Cp1252ToUtf8(std::string_view bytes);
QString Cp1252ToQString(std::string_view bytes);
// Characters the code page cannot hold become '?'.
std::string Utf8ToCp1252(std::string_view utf8);
std::string QStringToCp1252(const QString& text);
// True when the code page has a byte for `c`.
bool Cp1252CanHold(char32_t c);
// True when `c` is a character a user may type into a configuration text: the
// code page holds it and it is no control character.
bool Cp1252IsTypable(char32_t c);

} // namespace platform
