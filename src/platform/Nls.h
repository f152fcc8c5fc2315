#pragma once
// National language support: what the program needs to know about locales
// and 8-bit code pages. Locales are named by Windows locale ids (LCIDs),
// because dictionary files and stored settings carry those numbers.
// The ICU implementation is installed by default; tests install a fake.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What a locale says about itself (the fields a locale record is filled from).
struct NlsLocaleInfo {
    std::string IsoLanguage; // ISO 639, "de"
    std::string IsoCountry; // ISO 3166, "AT"
    std::string EnglishLanguage;
    std::string EnglishCountry;
    std::string NativeLanguage; // UTF-8
    std::string NativeCountry; // UTF-8
    int AnsiCodePage = 0; // 0 when the locale has no 8-bit code page
    std::string CurrencySymbol; // UTF-8
    int CurrencyDecimals = 2;
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string TimeAM;
    std::string TimePM;
    bool Clock24 = false;
    bool HourLeadingZero = false;
    bool Metric = true;
    int FirstDayOfWeek = 0; // 0 = Monday
    std::vector<std::string> ShortMonthNames; // 12
    std::vector<std::string> LongMonthNames; // 12
    std::vector<std::string> ShortDayNames; // 7, Monday first
    std::vector<std::string> LongDayNames; // 7, Monday first
};

// The ISO codes, the names and the code page of `info`; every other field at its default.
NlsLocaleInfo NlsNamesOnly(const NlsLocaleInfo& info);

class Nls {
public:
    virtual ~Nls() = default;

    // The locale name ("de_AT") of an LCID, empty when unknown; and back (0 when unknown).
    virtual std::string LocaleName(uint32_t lcid) = 0;
    virtual uint32_t LcidOfLocaleName(const std::string& name) = 0;
    // False when the LCID names no locale that we know.
    virtual bool LocaleInfo(uint32_t lcid, NlsLocaleInfo& info) = 0;
    // Only the ISO codes, the names and the code page, leaving the other
    // fields at their defaults: what a language or locale record lacks is
    // filled from these, and the formats and calendars cost far more to gather.
    virtual bool LocaleNames(uint32_t lcid, NlsLocaleInfo& info);
    // The locale's 8-bit ("ANSI") code page; 0 for a Unicode-only locale or an unknown id.
    virtual int DefaultAnsiCodePage(uint32_t lcid) = 0;
    // The code page used for 8-bit text when none is named.
    virtual int SystemAnsiCodePage() = 0;
    virtual bool IsCodePageSupported(int codePage) = 0;
    // Every code page that IsCodePageSupported accepts, among the Windows ones.
    virtual std::vector<int> SupportedCodePages() = 0;
    // Every locale that we can name.
    virtual std::vector<uint32_t> SupportedLocales() = 0;
    // From the environment; C and POSIX count as 0x0409.
    virtual uint32_t UserDefaultLcid() = 0;
    virtual uint32_t SystemDefaultLcid() = 0;
    // 8-bit text of a code page to UTF-16 and back; unmappable characters
    // become '?'. Code page 0 is the system ANSI code page; 65001 is UTF-8.
    virtual std::u16string ToUtf16(std::string_view text, int codePage) = 0;
    virtual std::string FromUtf16(std::u16string_view text, int codePage) = 0;
    // Locale-aware ordering of two UTF-8 texts: negative, 0 or positive.
    virtual int Compare(std::string_view a, std::string_view b, uint32_t lcid, bool ignoreCase) = 0;
    virtual int CompareWide(std::u16string_view a, std::u16string_view b, uint32_t lcid, bool ignoreCase) = 0;
};

// The implementation in force (the ICU one unless a test installed another).
Nls& CurrentNls();
// Installs `nls` (not owned; null restores ICU) and returns the previous one.
Nls* SetNls(Nls* nls);
// The ICU implementation itself.
Nls& IcuNls();

// LCID of a POSIX locale name such as "de_AT.UTF-8@euro"; 0x0409 for C/POSIX
// and for names that ICU does not know.
uint32_t LcidOfPosixLocale(const std::string& posixName);

} // namespace platform
