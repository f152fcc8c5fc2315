#pragma once
// The one conversion between the panel's 8-bit texts (Windows-1252, as kept
// in configuration records, .UDF files, packets and CSV downloads) and the
// Unicode texts that windows and reports show. 0x80 to 0x9F differ from
// Latin-1, so no Latin-1 shortcut may stand in for it; the five codes that
// Windows-1252 leaves unassigned travel as the C1 controls of the same value,
// so every byte survives a round trip.
#include <QString>

#include <string>
#include <string_view>

namespace platform {

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
