#pragma once
// What every part of the localisation runtime shares: language and locale
// identifier arithmetic, the code page and character set tables, text
// conversions, comparisons, composed display names and small file helpers.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TIvDictionary;

// --- Identifiers: a language id holds the primary language in bits 0..9 and
// the sub-language in bits 10..15; a locale id adds the sort id from bit 16.
constexpr uint32_t IvMakeLangId(uint32_t primary, uint32_t sub)
{
    return ((sub << 10) | primary) & 0xFFFF;
}
constexpr uint32_t IvMakeLcId(uint32_t langId, uint32_t sort)
{
    return (sort << 16) | (langId & 0xFFFF);
}
constexpr int IvGetPrimaryFromLocale(uint32_t lcid)
{
    return static_cast<int>(lcid & 0x3FF);
}
constexpr int IvGetSubFromLocale(uint32_t lcid)
{
    return static_cast<int>((lcid >> 10) & 0x3F);
}

// --- Character sets (the Windows font character-set numbers).
enum TIvFontCharset {
    ivcsDefault,
    ivcsOEM,
    ivcsSymbol,
    ivcsMac,
    ivcsAnsi,
    ivcsEastEurope,
    ivcsBaltic,
    ivcsRussian,
    ivcsGreek,
    ivcsTurkish,
    ivcsArabic,
    ivcsHebrew,
    ivcsShiftJIS,
    ivcsHangeul,
    ivcsJohab,
    ivcsChineseBig5,
    ivcsGB2312,
    ivcsThai,
    ivcsVietnamese,
};
constexpr int IvFontCharsetCount = ivcsVietnamese + 1;
// A set of TIvFontCharset: bit n stands for member n.
using TIvFontCharsets = uint32_t;
constexpr TIvFontCharsets IvCharsetBit(TIvFontCharset c)
{
    return 1u << c;
}

enum TIvCharacterSetType { ivcsSingleByte, ivcsMultiByte, ivcsBiDirectional };

struct TIvCharsetInfo {
    int Charset = 0;
    int CodePage = 0;
};

// The code-page table, indexed by the bit number of a font signature.
const TIvCharsetInfo& IvCodePageTableEntry(int bit);

int IvLangIdToCodePage(uint32_t langId);
TIvCharsetInfo IvGetCharsetInfo(uint32_t langId);
int IvLangIdToCharset(uint32_t langId);
int IvCodePageToCharset(int codePage);
int IvCharsetToCode(TIvFontCharset charset);
// Raises Exception "Invalid charset code" for a code that no member has.
TIvFontCharset IvCodeToCharset(int code);
TIvCharacterSetType IvGetCharacterSetType(uint32_t lcid);
bool IvIsLocaleSingleByte(uint32_t lcid);
bool IvIsLocaleMultiByte(uint32_t lcid);
bool IvIsLocaleBidirectional(uint32_t lcid);
bool IvIsCodePageSupportedBySystem(int codePage);
bool IvIsLocaleSupportedByCodePage(uint32_t lcid);

// Fonts are known only to the widget side, which installs the source of
// family names per character-set code; without one no font is known.
using TIvFontFamilySource = std::function<std::vector<std::string>(int charsetCode)>;
void IvSetFontFamilySource(TIvFontFamilySource source);
TIvFontCharsets IvGetSupportedCharsets();
void IvGetFontNames(TIvFontCharsets charsets, std::vector<std::string>& strings);
void IvGetFontNamesOfCharset(int code, std::vector<std::string>& strings);

// --- Conversions between 8-bit text of a code page (0 = the system's) and UTF-16.
std::u16string IvStrToWStr(std::string_view s, int codePage);
std::string IvWStrToStr(std::u16string_view ws, int codePage);
int IvStrLen(std::string_view s, int codePage);
// Copies the code units and a terminating zero; `dest` holds ws.size() + 1 units.
void IvWStrPCopy(char16_t* dest, std::u16string_view ws);
void IvChangeWordByteOrder(uint16_t& value);
void IvChangeDWordByteOrder(uint32_t& value);
void IvChangeStringByteOrder(std::u16string& ws);

// --- Comparisons: negative, 0 or positive.
constexpr uint32_t NORM_IGNORECASE = 1;
uint32_t GetCompareOptions(bool ignoreCase);
// Locale-aware, for what the user sees sorted.
int IvCompareText(std::string_view a, std::string_view b, uint32_t lcid);
int IvCompareStr(std::string_view a, std::string_view b, uint32_t lcid);
int IvWideCompareText(std::u16string_view a, std::u16string_view b, uint32_t lcid);
int IvWideCompareStr(std::u16string_view a, std::u16string_view b, uint32_t lcid);
// Plain byte order (unsigned bytes; a prefix sorts first): the order of the translation table.
int IvCompareBinary(std::string_view a, std::string_view b);
int IvWideCompareBinary(std::u16string_view a, std::u16string_view b);
constexpr int MaxInteger(int a, int b)
{
    return a > b ? a : b;
}
constexpr int MinInteger(int a, int b)
{
    return a < b ? a : b;
}

// --- Display names of languages, countries and locales. With `translated`
// the parts go through `dictionary` (the default dictionary when null).
std::string ComposeLanguageName(
    const std::string& name, int primary, bool translated, TIvDictionary* dictionary, int codePage);
std::string ComposeCountryName(
    const std::string& name, int primary, bool translated, TIvDictionary* dictionary, int codePage, int sub);
std::string ComposeLocaleName(const std::string& languageName, const std::string& countryName,
    bool translated, TIvDictionary* dictionary, int codePage, int sub, int primary);

// --- Settings and files.
// A value of the runtime's own system-wide settings, or `defaultValue`.
std::string GetMLRegistryValue(const std::string& name, const std::string& defaultValue);
// DOS date and time of the last write (local time when `local`, else UTC); -1
// for a name that does not exist or is a folder.
int MlFileAge(const std::string& name, bool local);
// A new, empty file with a unique name in the temporary folder.
std::string IvGetTempFileName(const std::string& prefix);
