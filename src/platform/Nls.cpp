#include "Nls.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

namespace {

std::string ToUtf8(const icu::UnicodeString& s)
{
    std::string out;
    s.toUTF8String(out);
    return out;
}

const char* EnvValue(const char* name)
{
    const char* v = std::getenv(name);
    return (v && *v) ? v : nullptr;
}

// The Windows 8-bit code page of a language, by ISO code and script; 0 for
// the languages that Windows serves only in Unicode.
int AnsiCodePageOf(const std::string& language, const std::string& script, const std::string& country)
{
    static const std::map<std::string, int> byLanguage = {
        { "ar", 1256 },
        { "fa", 1256 },
        { "ur", 1256 },
        { "ps", 1256 },
        { "ug", 1256 },
        { "ru", 1251 },
        { "uk", 1251 },
        { "be", 1251 },
        { "bg", 1251 },
        { "mk", 1251 },
        { "kk", 1251 },
        { "ky", 1251 },
        { "tt", 1251 },
        { "mn", 1251 },
        { "ba", 1251 },
        { "sah", 1251 },
        { "tg", 1251 },
        { "cs", 1250 },
        { "pl", 1250 },
        { "hu", 1250 },
        { "ro", 1250 },
        { "hr", 1250 },
        { "sk", 1250 },
        { "sl", 1250 },
        { "sq", 1250 },
        { "bs", 1250 },
        { "hsb", 1250 },
        { "dsb", 1250 },
        { "el", 1253 },
        { "he", 1255 },
        { "iw", 1255 },
        { "yi", 1255 },
        { "tr", 1254 },
        { "az", 1254 },
        { "uz", 1254 },
        { "et", 1257 },
        { "lv", 1257 },
        { "lt", 1257 },
        { "vi", 1258 },
        { "ja", 932 },
        { "ko", 949 },
        { "th", 874 },
        { "sr", 1251 },
        // Unicode-only languages of Windows.
        { "hi", 0 },
        { "mr", 0 },
        { "sa", 0 },
        { "ne", 0 },
        { "bn", 0 },
        { "pa", 0 },
        { "gu", 0 },
        { "or", 0 },
        { "ta", 0 },
        { "te", 0 },
        { "kn", 0 },
        { "ml", 0 },
        { "as", 0 },
        { "hy", 0 },
        { "ka", 0 },
        { "km", 0 },
        { "lo", 0 },
        { "si", 0 },
        { "am", 0 },
        { "bo", 0 },
        { "dv", 0 },
        { "syr", 0 },
        { "ti", 0 },
        { "iu", 0 },
        { "my", 0 },
    };
    if (language == "zh")
        return (script == "Hant" || country == "TW" || country == "HK" || country == "MO") ? 950 : 936;
    if (script == "Cyrl")
        return 1251;
    if (script == "Latn") {
        if (language == "sr" || language == "bs" || language == "hr")
            return 1250;
        if (language == "az" || language == "uz")
            return 1254;
    }
    if (script == "Arab")
        return 1256;
    auto it = byLanguage.find(language);
    if (it != byLanguage.end())
        return it->second;
    if (language.empty())
        return 0;
    return 1252;
}

std::string ConverterName(int codePage)
{
    if (codePage == 65001)
        return "UTF-8";
    return "windows-" + std::to_string(codePage);
}

struct ConverterClose {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterClose>;

ConverterPtr OpenConverter(int codePage)
{
    UErrorCode e = U_ZERO_ERROR;
    ConverterPtr c(ucnv_open(ConverterName(codePage).c_str(), &e));
    if (U_FAILURE(e))
        return nullptr;
    return c;
}

// What a converter writes for a character that its code page lacks.
enum class Substitute { CodePageDefault, QuestionMark };

// Opening a converter looks up and loads its tables, which costs far more
// than a conversion: each thread keeps the converters it opened (a converter
// is not safe to share), one per code page and substitute, reset before
// every use. A code page that does not open is not kept, so damaged input
// naming ever new code pages cannot grow the cache.
UConverter* Converter(int codePage, Substitute substitute)
{
    thread_local std::map<std::pair<int, Substitute>, ConverterPtr> converters;
    const auto key = std::make_pair(codePage, substitute);
    auto it = converters.find(key);
    if (it == converters.end()) {
        ConverterPtr opened = OpenConverter(codePage);
        if (!opened)
            return nullptr;
        if (substitute == Substitute::QuestionMark) {
            UErrorCode e = U_ZERO_ERROR;
            ucnv_setSubstChars(opened.get(), "?", 1, &e);
        }
        it = converters.emplace(key, std::move(opened)).first;
    }
    ucnv_reset(it->second.get());
    return it->second.get();
}

char ByteOf(const icu::UnicodeString& s, int codePage, char fallback)
{
    if (s.isEmpty())
        return fallback;
    UChar c = s.charAt(0);
    if (c < 0x80)
        return static_cast<char>(c);
    if (c == 0x00A0 || c == 0x202F)
        return ' ';
    UConverter* conv = Converter(codePage ? codePage : 1252, Substitute::CodePageDefault);
    if (!conv)
        return fallback;
    char out[8] = {};
    UErrorCode e = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(conv, out, sizeof out, &c, 1, &e);
    return (U_SUCCESS(e) && n == 1) ? out[0] : fallback;
}

class IcuNlsImpl : public Nls {
public:
    std::string LocaleName(uint32_t lcid) override
    {
        if (lcid == 0)
            return {};
        char name[ULOC_FULLNAME_CAPACITY] = {};
        UErrorCode e = U_ZERO_ERROR;
        int32_t n = uloc_getLocaleForLCID(lcid, name, sizeof name, &e);
        if (U_FAILURE(e) || n <= 0)
            return {};
        return std::string(name, n);
    }

    uint32_t LcidOfLocaleName(const std::string& name) override { return uloc_getLCID(name.c_str()); }

    // A locale's data does not change while the program runs, and gathering
    // it from ICU is slow (formats, calendars, names): each locale is asked once.
    bool LocaleInfo(uint32_t lcid, NlsLocaleInfo& info) override
    {
        std::lock_guard<std::mutex> lock(FCacheLock);
        auto known = FCache.find(lcid);
        if (known == FCache.end()) {
            NlsLocaleInfo fresh;
            const bool found = GatherLocaleInfo(lcid, fresh);
            known = FCache.emplace(lcid, std::make_pair(found, std::move(fresh))).first;
        }
        info = known->second.second;
        return known->second.first;
    }

    bool LocaleNames(uint32_t lcid, NlsLocaleInfo& info) override
    {
        {
            std::lock_guard<std::mutex> lock(FCacheLock);
            auto known = FCache.find(lcid);
            if (known != FCache.end()) {
                info = NlsNamesOnly(known->second.second);
                return known->second.first;
            }
        }
        const std::string name = LocaleName(lcid);
        if (name.empty())
            return false;
        GatherNames(icu::Locale(name.c_str()), info);
        return true;
    }

    static void GatherNames(const icu::Locale& loc, NlsLocaleInfo& info)
    {
        icu::Locale english("en");
        icu::UnicodeString s;
        info = NlsLocaleInfo {};
        info.IsoLanguage = loc.getLanguage();
        info.IsoCountry = loc.getCountry();
        info.EnglishLanguage = ToUtf8(loc.getDisplayLanguage(english, s));
        info.EnglishCountry = ToUtf8(loc.getDisplayCountry(english, s));
        info.NativeLanguage = ToUtf8(loc.getDisplayLanguage(loc, s));
        info.NativeCountry = ToUtf8(loc.getDisplayCountry(loc, s));
        info.AnsiCodePage = AnsiCodePageOf(loc.getLanguage(), loc.getScript(), loc.getCountry());
    }

    bool GatherLocaleInfo(uint32_t lcid, NlsLocaleInfo& info)
    {
        std::string name = LocaleName(lcid);
        if (name.empty())
            return false;
        icu::Locale loc(name.c_str());
        GatherNames(loc, info);

        UErrorCode e = U_ZERO_ERROR;
        icu::DecimalFormatSymbols numbers(loc, e);
        if (U_SUCCESS(e)) {
            info.CurrencySymbol = ToUtf8(numbers.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));
            info.DecimalSeparator
                = ByteOf(numbers.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol),
                    info.AnsiCodePage, '.');
            info.ThousandSeparator
                = ByteOf(numbers.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol),
                    info.AnsiCodePage, ',');
        }
        auto pattern = [&](icu::DateFormat* f) {
            std::unique_ptr<icu::DateFormat> owned(f);
            auto* simple = dynamic_cast<icu::SimpleDateFormat*>(f);
            icu::UnicodeString p;
            if (simple)
                simple->toPattern(p);
            return p;
        };
        icu::UnicodeString shortDate
            = pattern(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, loc));
        info.ShortDateFormat = ToUtf8(shortDate);
        info.LongDateFormat
            = ToUtf8(pattern(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, loc)));
        for (int i = 0; i < shortDate.length(); ++i) {
            UChar c = shortDate.charAt(i);
            if (!u_isalpha(c) && c != '\'' && c != ' ') {
                info.DateSeparator = ByteOf(icu::UnicodeString(c), info.AnsiCodePage, '/');
                break;
            }
        }
        icu::UnicodeString time = pattern(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, loc));
        info.Clock24 = time.indexOf(u'a') < 0;
        info.HourLeadingZero = time.indexOf(u"HH") >= 0 || time.indexOf(u"hh") >= 0;
        for (int i = 0; i < time.length(); ++i) {
            UChar c = time.charAt(i);
            if (c == 'h' || c == 'H') {
                while (i < time.length() && (time.charAt(i) == 'h' || time.charAt(i) == 'H'))
                    ++i;
                if (i < time.length())
                    info.TimeSeparator = ByteOf(icu::UnicodeString(time.charAt(i)), info.AnsiCodePage, ':');
                break;
            }
        }

        e = U_ZERO_ERROR;
        icu::DateFormatSymbols symbols(loc, e);
        if (U_SUCCESS(e)) {
            int32_t n = 0;
            const icu::UnicodeString* marks = symbols.getAmPmStrings(n);
            if (n >= 2) {
                info.TimeAM = ToUtf8(marks[0]);
                info.TimePM = ToUtf8(marks[1]);
            }
            const icu::UnicodeString* months = symbols.getShortMonths(n);
            for (int i = 0; i < std::min(n, 12); ++i)
                info.ShortMonthNames.push_back(ToUtf8(months[i]));
            months = symbols.getMonths(n);
            for (int i = 0; i < std::min(n, 12); ++i)
                info.LongMonthNames.push_back(ToUtf8(months[i]));
            // ICU counts Sunday = 1; we keep Monday first.
            const icu::UnicodeString* days = symbols.getShortWeekdays(n);
            for (int d = 0; d < 7 && n >= 8; ++d)
                info.ShortDayNames.push_back(ToUtf8(days[(d + 1) % 7 + 1]));
            days = symbols.getWeekdays(n);
            for (int d = 0; d < 7 && n >= 8; ++d)
                info.LongDayNames.push_back(ToUtf8(days[(d + 1) % 7 + 1]));
        }
        e = U_ZERO_ERROR;
        UMeasurementSystem ms = ulocdata_getMeasurementSystem(name.c_str(), &e);
        info.Metric = U_FAILURE(e) || ms != UMS_US;
        e = U_ZERO_ERROR;
        std::unique_ptr<icu::Calendar> cal(icu::Calendar::createInstance(loc, e));
        if (U_SUCCESS(e))
            info.FirstDayOfWeek = (static_cast<int>(cal->getFirstDayOfWeek(e)) + 5) % 7;
        return true;
    }

    int DefaultAnsiCodePage(uint32_t lcid) override
    {
        std::string name = LocaleName(lcid);
        if (name.empty())
            return 0;
        icu::Locale loc(name.c_str());
        return AnsiCodePageOf(loc.getLanguage(), loc.getScript(), loc.getCountry());
    }

    int SystemAnsiCodePage() override
    {
        int cp = DefaultAnsiCodePage(SystemDefaultLcid());
        return cp ? cp : 1252;
    }

    bool IsCodePageSupported(int codePage) override
    {
        if (codePage <= 0)
            return false;
        return Converter(codePage, Substitute::CodePageDefault) != nullptr;
    }

    std::vector<int> SupportedCodePages() override
    {
        static const int candidates[] = { 437, 720, 737, 775, 850, 852, 855, 857, 858, 862, 866, 874, 932,
            936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1361, 65001 };
        std::vector<int> out;
        for (int cp : candidates)
            if (IsCodePageSupported(cp))
                out.push_back(cp);
        return out;
    }

    std::vector<uint32_t> SupportedLocales() override
    {
        std::vector<uint32_t> out;
        int32_t n = uloc_countAvailable();
        for (int32_t i = 0; i < n; ++i) {
            uint32_t id = uloc_getLCID(uloc_getAvailable(i));
            // Keep only ids that map back to a locale of their own.
            if (id != 0 && (id & 0xFFFF) != 0x7F && !LocaleName(id).empty())
                out.push_back(id);
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

    uint32_t UserDefaultLcid() override
    {
        for (const char* var : { "LC_ALL", "LC_MESSAGES", "LANG" })
            if (const char* v = EnvValue(var))
                return LcidOfPosixLocale(v);
        return 0x0409;
    }

    uint32_t SystemDefaultLcid() override
    {
        for (const char* var : { "LC_ALL", "LANG" })
            if (const char* v = EnvValue(var))
                return LcidOfPosixLocale(v);
        return 0x0409;
    }

    std::u16string ToUtf16(std::string_view text, int codePage) override
    {
        if (text.empty())
            return {};
        UConverter* conv = Converter(codePage ? codePage : SystemAnsiCodePage(), Substitute::CodePageDefault);
        if (!conv)
            conv = Converter(1252, Substitute::CodePageDefault);
        std::u16string out(text.size() * 2 + 2, u'\0');
        UErrorCode e = U_ZERO_ERROR;
        int32_t n = ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()),
            static_cast<int32_t>(out.size()), text.data(), static_cast<int32_t>(text.size()), &e);
        if (U_FAILURE(e))
            return {};
        out.resize(n);
        return out;
    }

    std::string FromUtf16(std::u16string_view text, int codePage) override
    {
        if (text.empty())
            return {};
        UConverter* conv = Converter(codePage ? codePage : SystemAnsiCodePage(), Substitute::QuestionMark);
        if (!conv)
            conv = Converter(1252, Substitute::QuestionMark);
        UErrorCode e = U_ZERO_ERROR;
        std::string out(text.size() * 4 + 4, '\0');
        int32_t n = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
            reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()), &e);
        if (U_FAILURE(e))
            return {};
        out.resize(n);
        return out;
    }

    int Compare(std::string_view a, std::string_view b, uint32_t lcid, bool ignoreCase) override
    {
        UCollator* coll = Collator(lcid, ignoreCase);
        if (!coll)
            return a.compare(b);
        UErrorCode e = U_ZERO_ERROR;
        UCollationResult r = ucol_strcollUTF8(
            coll, a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()), &e);
        if (U_FAILURE(e))
            return a.compare(b);
        return static_cast<int>(r);
    }

    int CompareWide(std::u16string_view a, std::u16string_view b, uint32_t lcid, bool ignoreCase) override
    {
        UCollator* coll = Collator(lcid, ignoreCase);
        if (!coll)
            return a.compare(b);
        return static_cast<int>(
            ucol_strcoll(coll, reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size())));
    }

    ~IcuNlsImpl() override
    {
        for (auto& [key, coll] : FCollators)
            ucol_close(coll);
    }

private:
    // Collators are costly to open; they are kept per locale and case rule.
    // A collator is safe to use from several threads once opened.
    UCollator* Collator(uint32_t lcid, bool ignoreCase)
    {
        std::lock_guard lock(FMutex);
        auto key = std::make_pair(lcid, ignoreCase);
        auto it = FCollators.find(key);
        if (it != FCollators.end())
            return it->second;
        std::string name = LocaleName(lcid);
        UErrorCode e = U_ZERO_ERROR;
        UCollator* coll = ucol_open(name.empty() ? "en_US" : name.c_str(), &e);
        if (U_FAILURE(e))
            return FCollators[key] = nullptr;
        ucol_setStrength(coll, ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
        return FCollators[key] = coll;
    }

    std::mutex FMutex;
    std::map<std::pair<uint32_t, bool>, UCollator*> FCollators;
    std::mutex FCacheLock;
    std::map<uint32_t, std::pair<bool, NlsLocaleInfo>> FCache;
};

Nls* gCurrent = nullptr;

} // namespace

NlsLocaleInfo NlsNamesOnly(const NlsLocaleInfo& info)
{
    NlsLocaleInfo names;
    names.IsoLanguage = info.IsoLanguage;
    names.IsoCountry = info.IsoCountry;
    names.EnglishLanguage = info.EnglishLanguage;
    names.EnglishCountry = info.EnglishCountry;
    names.NativeLanguage = info.NativeLanguage;
    names.NativeCountry = info.NativeCountry;
    names.AnsiCodePage = info.AnsiCodePage;
    return names;
}

bool Nls::LocaleNames(uint32_t lcid, NlsLocaleInfo& info)
{
    return LocaleInfo(lcid, info);
}

uint32_t LcidOfPosixLocale(const std::string& posixName)
{
    std::string name = posixName.substr(0, posixName.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX")
        return 0x0409;
    uint32_t id = uloc_getLCID(name.c_str());
    if (id == 0 || (id & 0x3FF) == 0x7F) {
        // A country that ICU does not pair with the language: take the language alone.
        std::string language = name.substr(0, name.find('_'));
        id = uloc_getLCID(language.c_str());
    }
    return (id == 0 || (id & 0x3FF) == 0x7F) ? 0x0409 : id;
}

Nls& IcuNls()
{
    static IcuNlsImpl instance;
    return instance;
}

Nls& CurrentNls()
{
    return gCurrent ? *gCurrent : IcuNls();
}

Nls* SetNls(Nls* nls)
{
    Nls* previous = gCurrent;
    gCurrent = nls;
    return previous;
}

} // namespace platform
