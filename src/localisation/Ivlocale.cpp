#include "Ivlocale.h"

#include "Nls.h"

#include <unicode/calendar.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <chrono>
#include <strings.h>
#include <memory>
#include <mutex>

namespace {

std::mutex gSettingsLock;
TIvFormatSettings gSettings;
std::function<TIvFormatSettings()> gMakeSettings; // the record in force, when not made yet
TIvApplicationHooks* gHooks = nullptr;

const char* const EuroSign = "\xE2\x82\xAC";

std::string ToUtf8(const icu::UnicodeString& s)
{
    std::string out;
    s.toUTF8String(out);
    return out;
}

bool IsSpace(UChar c)
{
    return c == u' ' || c == 0x00A0 || c == 0x202F;
}

// A separator byte of the locale's code page as UTF-8.
std::string SeparatorText(char c, int codePage, const char* fallback)
{
    if (c == '\0')
        return fallback;
    std::u16string wide = IvStrToWStr(std::string_view(&c, 1), codePage);
    return platform::CurrentNls().FromUtf16(wide, 65001);
}

// Windows numbers the negative currency formats by the order of sign,
// symbol, number, blank and parentheses.
int NegativeCurrencyCode(const std::string& shape)
{
    static const char* const Shapes[16] = { "($n)", "-$n", "$-n", "$n-", "(n$)", "-n$", "n-$", "n$-", "-n $",
        "-$ n", "n $-", "$ n-", "$ -n", "n- $", "($ n)", "(n $)" };
    for (int i = 0; i < 16; ++i)
        if (shape == Shapes[i])
            return i;
    return -1;
}

// The shape of a currency pattern: "$" for the symbol, "n" for the number,
// " " for any blank, and the sign and parentheses as they stand.
std::string CurrencyShape(const icu::UnicodeString& pattern)
{
    std::string shape;
    bool inNumber = false;
    bool quoted = false;
    for (int i = 0; i < pattern.length(); ++i) {
        UChar c = pattern.charAt(i);
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        bool numberChar = c == u'#' || c == u'0' || c == u',' || c == u'.' || (c >= u'1' && c <= u'9');
        if (numberChar) {
            if (!inNumber)
                shape += 'n';
            inNumber = true;
            continue;
        }
        inNumber = false;
        if (c == 0x00A4) {
            if (shape.empty() || shape.back() != '$')
                shape += '$';
        } else if (IsSpace(c)) {
            if (!shape.empty() && shape.back() != ' ')
                shape += ' ';
        } else if (c == u'-' || c == u'(' || c == u')') {
            shape += static_cast<char>(c);
        }
    }
    while (!shape.empty() && shape.back() == ' ')
        shape.pop_back();
    while (!shape.empty() && shape.front() == ' ')
        shape.erase(shape.begin());
    return shape;
}

// What ICU knows beyond the locale record: separators as text, the currency
// pictures and digits, the first week and where the AM/PM mark stands.
struct IcuExtras {
    bool Ok = false;
    std::string Thousand, Decimal, DateSeparator, TimeSeparator;
    int CurrencyFormat = 0;
    int NegCurrFormat = 1;
    int CurrencyDecimals = 2;
    int FirstWeekOfYear = 0;
    bool MarkFirst = false;
};

IcuExtras ReadIcuExtras(const std::string& localeName)
{
    IcuExtras x;
    if (localeName.empty())
        return x;
    icu::Locale loc(localeName.c_str());
    UErrorCode e = U_ZERO_ERROR;
    icu::DecimalFormatSymbols numbers(loc, e);
    if (U_FAILURE(e))
        return x;
    x.Thousand = ToUtf8(numbers.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
    x.Decimal = ToUtf8(numbers.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));

    e = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> currency(icu::NumberFormat::createCurrencyInstance(loc, e));
    if (U_SUCCESS(e) && currency) {
        x.CurrencyDecimals = currency->getMaximumFractionDigits();
        if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(currency.get())) {
            icu::UnicodeString pattern;
            decimal->toPattern(pattern);
            int semicolon = pattern.indexOf(u';');
            icu::UnicodeString positive = semicolon < 0 ? pattern : icu::UnicodeString(pattern, 0, semicolon);
            icu::UnicodeString negative = semicolon < 0 ? icu::UnicodeString(u"-") + positive
                                                        : icu::UnicodeString(pattern, semicolon + 1);
            std::string p = CurrencyShape(positive);
            x.CurrencyFormat = p == "$n" ? 0 : p == "n$" ? 1 : p == "$ n" ? 2 : p == "n $" ? 3 : 0;
            int n = NegativeCurrencyCode(CurrencyShape(negative));
            static const int FromPositive[4] = { 1, 5, 9, 8 };
            x.NegCurrFormat = n >= 0 ? n : FromPositive[x.CurrencyFormat];
        }
    }

    auto pattern = [&](icu::DateFormat* f) {
        std::unique_ptr<icu::DateFormat> owned(f);
        icu::UnicodeString p;
        if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(f))
            simple->toPattern(p);
        return p;
    };
    icu::UnicodeString date = pattern(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, loc));
    for (int i = 0; i < date.length(); ++i) {
        UChar c = date.charAt(i);
        if (!u_isalpha(c) && c != u'\'' && !IsSpace(c)) {
            x.DateSeparator = ToUtf8(icu::UnicodeString(c));
            break;
        }
    }
    icu::UnicodeString time = pattern(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, loc));
    int hour = -1;
    for (int i = 0; i < time.length(); ++i) {
        UChar c = time.charAt(i);
        if (c == u'h' || c == u'H' || c == u'k' || c == u'K') {
            hour = i;
            while (i < time.length() && time.charAt(i) == c)
                ++i;
            if (i < time.length() && !u_isalpha(time.charAt(i)))
                x.TimeSeparator = ToUtf8(icu::UnicodeString(time.charAt(i)));
            break;
        }
    }
    int mark = time.indexOf(u'a');
    x.MarkFirst = mark >= 0 && hour >= 0 && mark < hour;

    e = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(loc, e));
    if (U_SUCCESS(e)) {
        int days = calendar->getMinimalDaysInFirstWeek();
        x.FirstWeekOfYear = days >= 7 ? 1 : days >= 4 ? 2 : 0;
    }
    x.Ok = true;
    return x;
}

void BuildTimeFormats(TIvFormatSettings& s, bool leadingZero, bool clock12, bool markFirst)
{
    std::string hour = leadingZero ? "hh" : "h";
    std::string prefix = clock12 && markFirst ? "AMPM " : "";
    std::string suffix = clock12 && !markFirst ? " AMPM" : "";
    s.ShortTimeFormat = prefix + hour + ":mm" + suffix;
    s.LongTimeFormat = prefix + hour + ":mm:ss" + suffix;
}

bool IsDoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

} // namespace

TIvFormatSettings IvFormatSettings()
{
    std::lock_guard lock(gSettingsLock);
    if (gMakeSettings) {
        gSettings = gMakeSettings();
        gMakeSettings = nullptr;
    }
    return gSettings;
}

void IvSetFormatSettings(const TIvFormatSettings& settings)
{
    std::lock_guard lock(gSettingsLock);
    gMakeSettings = nullptr;
    gSettings = settings;
}

void IvSetFormatSettingsLater(std::function<TIvFormatSettings()> make)
{
    std::lock_guard lock(gSettingsLock);
    gMakeSettings = std::move(make);
}

std::string IvIcuPatternToPicture(const std::string& icuPattern)
{
    icu::UnicodeString in = icu::UnicodeString::fromUTF8(icuPattern);
    icu::UnicodeString out;
    for (int i = 0; i < in.length();) {
        UChar c = in.charAt(i);
        if (c == u'\'') {
            // A quoted literal is copied with its quotes; '' stands for a quote.
            int end = i + 1;
            while (end < in.length() && in.charAt(end) != u'\'')
                ++end;
            out.append(in, i, std::min(end + 1, in.length()) - i);
            i = end + 1;
            continue;
        }
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) {
            out.append(c);
            ++i;
            continue;
        }
        int n = 0;
        while (i + n < in.length() && in.charAt(i + n) == c)
            ++n;
        i += n;
        auto repeat = [&](UChar letter, int count) {
            for (int k = 0; k < count; ++k)
                out.append(letter);
        };
        switch (c) {
        case u'y':
        case u'Y':
        case u'u':
            repeat(u'y', n == 2 ? 2 : 4);
            break;
        case u'M':
        case u'L':
            repeat(u'M', std::min(n, 4));
            break;
        case u'd':
            repeat(u'd', std::min(n, 2));
            break;
        case u'E':
        case u'c':
        case u'e':
            repeat(u'd', n >= 4 ? 4 : 3);
            break;
        case u'G':
            out.append(u"gg");
            break;
        case u'h':
        case u'H':
        case u'k':
        case u'K':
            repeat(u'h', std::min(n, 2));
            break;
        case u'm':
            repeat(u'm', std::min(n, 2));
            break;
        case u's':
            repeat(u's', std::min(n, 2));
            break;
        case u'a':
        case u'b':
        case u'B':
            out.append(u"AMPM");
            break;
        default:
            break; // fields that Windows pictures do not have (zones, weeks)
        }
    }
    out.trim();
    return ToUtf8(out);
}

std::string IvYear2000Picture(const std::string& picture)
{
    size_t at = picture.find("yy");
    if (at == std::string::npos || picture.find("yyyy") != std::string::npos)
        return picture;
    std::string out = picture;
    out.insert(at, "yy");
    return out;
}

TIvFormatSettings IvMakeFormatSettings(const TIvLocale& locale, bool year2000)
{
    TIvFormatSettings s;
    s.LocaleId = locale.GetLocale();
    s.PrimaryId = locale.PrimaryId;
    s.SubId = locale.SubId;
    s.FarEast = IsDoubleByteCodePage(locale.CodePage);
    s.CalendarType = locale.CalendarType ? locale.CalendarType : 1;
    s.CurrencyString = IvGetEMUCurrencyString(locale, IvEuroMode(), IvToday());
    s.CurrencyFormat = locale.CurrencyFormat;
    s.NegCurrFormat = locale.NegativeCurrencyFormat;
    s.CurrencyDecimals = locale.CurrencyDecimals;
    s.ThousandSeparator = SeparatorText(locale.ThousandSeparator, locale.CodePage, ",");
    s.DecimalSeparator = SeparatorText(locale.DecimalSeparator, locale.CodePage, ".");
    s.DateSeparator = SeparatorText(locale.DateSeparator, locale.CodePage, "/");
    s.TimeSeparator = SeparatorText(locale.TimeSeparator, locale.CodePage, ":");
    // A locale of the system carries ICU patterns; a dictionary's own locale Windows pictures.
    s.ShortDateFormat
        = locale.Custom ? locale.ShortDateFormat : IvIcuPatternToPicture(locale.ShortDateFormat);
    s.LongDateFormat = locale.Custom ? locale.LongDateFormat : IvIcuPatternToPicture(locale.LongDateFormat);
    s.TimeAMString = locale.TimeAMString;
    s.TimePMString = locale.TimePMString;
    bool markFirst = locale.TimeMarkPosition == ivtmPrefix;
    s.FirstWeekOfYear = locale.FirstWeekOfYear;
    if (!locale.Custom) {
        IcuExtras x = ReadIcuExtras(platform::CurrentNls().LocaleName(locale.GetLocale()));
        if (x.Ok) {
            s.ThousandSeparator = x.Thousand;
            s.DecimalSeparator = x.Decimal;
            if (!x.DateSeparator.empty())
                s.DateSeparator = x.DateSeparator;
            s.TimeSeparator = x.TimeSeparator.empty() ? ":" : x.TimeSeparator;
            s.CurrencyFormat = static_cast<uint8_t>(x.CurrencyFormat);
            s.NegCurrFormat = static_cast<uint8_t>(x.NegCurrFormat);
            s.CurrencyDecimals = static_cast<uint8_t>(x.CurrencyDecimals);
            s.FirstWeekOfYear = x.FirstWeekOfYear;
            markFirst = x.MarkFirst;
        }
    }
    BuildTimeFormats(s, locale.HourLeadingZero, locale.TimeFormat == ivtf12, markFirst);
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = locale.ShortMonthNames[i];
        s.LongMonthNames[i] = locale.LongMonthNames[i];
    }
    // Monday-first names into Sunday-first arrays.
    for (int d = 0; d < 7; ++d) {
        s.ShortDayNames[(d + 1) % 7] = locale.ShortDayNames[d];
        s.LongDayNames[(d + 1) % 7] = locale.LongDayNames[d];
    }
    if (year2000) {
        s.ShortDateFormat = IvYear2000Picture(s.ShortDateFormat);
        s.LongDateFormat = IvYear2000Picture(s.LongDateFormat);
    }
    return s;
}

// ------------------------------------------------------------ dates and times

std::string IvFormatDateTime(
    const std::string& picture, const TIvDateTime& when, const TIvFormatSettings& settings)
{
    auto isMarker = [&](std::size_t at) {
        return at + 4 <= picture.size() && ::strncasecmp(picture.c_str() + at, "AMPM", 4) == 0;
    };
    bool clock12 = false;
    for (std::size_t i = 0; i < picture.size() && !clock12; ++i)
        clock12 = isMarker(i);
    auto number = [](int value, std::size_t digits) {
        std::string text = std::to_string(value);
        return text.size() < digits ? std::string(digits - text.size(), '0') + text : text;
    };
    auto name = [](const std::string* names, int index, int count) {
        return index >= 0 && index < count ? names[index] : std::string();
    };
    const std::chrono::year_month_day date { std::chrono::year(when.Date.Year),
        std::chrono::month(static_cast<unsigned>(when.Date.Month)),
        std::chrono::day(static_cast<unsigned>(when.Date.Day)) };
    const int weekday
        = date.ok() ? static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).c_encoding()) : -1;

    std::string out;
    for (std::size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'' || c == '"') {
            // Text in quotes as it stands; a doubled quote is the quote itself.
            std::size_t k = i + 1;
            if (k < picture.size() && picture[k] == c) {
                out += c;
                i = k + 1;
                continue;
            }
            for (; k < picture.size(); ++k) {
                if (picture[k] != c) {
                    out += picture[k];
                } else if (k + 1 < picture.size() && picture[k + 1] == c) {
                    out += c;
                    ++k;
                } else {
                    break;
                }
            }
            i = k + 1;
            continue;
        }
        if (isMarker(i)) {
            out += when.Hour < 12 ? settings.TimeAMString : settings.TimePMString;
            i += 4;
            continue;
        }
        std::size_t n = 1;
        while (i + n < picture.size() && picture[i + n] == c)
            ++n;
        switch (c) {
        case 'd':
            out += n >= 4 ? name(settings.LongDayNames, weekday, 7)
                : n == 3  ? name(settings.ShortDayNames, weekday, 7)
                          : number(when.Date.Day, n);
            break;
        case 'M':
            out += n >= 4 ? name(settings.LongMonthNames, when.Date.Month - 1, 12)
                : n == 3  ? name(settings.ShortMonthNames, when.Date.Month - 1, 12)
                          : number(when.Date.Month, n);
            break;
        case 'y':
            out += n >= 3 ? number(when.Date.Year, 4) : number(when.Date.Year % 100, n);
            break;
        case 'h':
        case 'H':
            out += number(
                c == 'h' && clock12 ? (when.Hour + 11) % 12 + 1 : when.Hour, std::min<std::size_t>(n, 2));
            break;
        case 'm':
            out += number(when.Minute, std::min<std::size_t>(n, 2));
            break;
        case 's':
            out += number(when.Second, std::min<std::size_t>(n, 2));
            break;
        case 'g':
            break; // the era: none in the Gregorian calendar
        case '/':
            for (std::size_t k = 0; k < n; ++k)
                out += settings.DateSeparator;
            break;
        case ':':
            for (std::size_t k = 0; k < n; ++k)
                out += settings.TimeSeparator;
            break;
        default:
            out.append(n, c);
            break;
        }
        i += n;
    }
    return out;
}

std::string IvDateTimeToStr(const TIvDateTime& when)
{
    const TIvFormatSettings settings = IvFormatSettings();
    return IvFormatDateTime(settings.ShortDateFormat, when, settings) + " "
        + IvFormatDateTime(settings.LongTimeFormat, when, settings);
}

// ------------------------------------------------------------ euro

TIvDate IvToday()
{
    auto today = std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    return { static_cast<int>(today.year()), static_cast<int>(static_cast<unsigned>(today.month())),
        static_cast<int>(static_cast<unsigned>(today.day())) };
}

TIvEuroPhase IvGetEMUPhase(const TIvDate& date)
{
    auto before = [&](int y, int m, int d) {
        return date.Year != y ? date.Year < y : date.Month != m ? date.Month < m : date.Day < d;
    };
    if (before(1999, 1, 1))
        return iveLocal;
    if (before(2002, 1, 1))
        return iveLocalAndEuro;
    if (before(2002, 7, 1))
        return iveEuroAndLocal;
    return iveEuro;
}

bool IvIsEMUMember(uint32_t lcid)
{
    int sub = IvGetSubFromLocale(lcid);
    switch (IvGetPrimaryFromLocale(lcid)) {
    case 7:
        return sub == 1 || sub == 3 || sub == 4;
    case 9:
        return sub == 6;
    case 10:
    case 11:
    case 16:
        return sub == 1;
    case 12:
        return sub == 1 || sub == 2 || sub == 5;
    case 19:
        return sub == 1 || sub == 2;
    case 22:
    case 29:
        return sub == 2;
    default:
        return false;
    }
}

std::string IvGetEMUCurrencyString(const TIvLocale& locale, TIvEuro mode, const TIvDate& date)
{
    if (mode == iveIgnore || !IvIsEMUMember(locale.GetLocale()))
        return locale.CurrencySymbol;
    switch (IvGetEMUPhase(date)) {
    case iveLocal:
        return locale.CurrencySymbol;
    case iveLocalAndEuro:
        return mode == iveBusiness ? EuroSign : locale.CurrencySymbol;
    default:
        return EuroSign;
    }
}

// ------------------------------------------------------------ texts

std::string TranslateDateFormat(const std::string& format)
{
    int calendar = IvFormatSettings().CalendarType;
    std::string out;
    if (calendar >= 3 && calendar <= 5) {
        for (size_t i = 0; i < format.size();) {
            unsigned char c = static_cast<unsigned char>(format[i]);
            if (c >= 0xC0) {
                // A character of several bytes is copied whole.
                size_t n = 1;
                while (i + n < format.size() && (static_cast<unsigned char>(format[i + n]) & 0xC0) == 0x80)
                    ++n;
                out.append(format, i, n);
                i += n;
            } else if (format.compare(i, 2, "gg") == 0) {
                out += "ggg";
                i += 2;
            } else if (format.compare(i, 4, "yyyy") == 0) {
                out += "ee";
                i += 4;
            } else if (format.compare(i, 2, "yy") == 0) {
                out += "ee";
                i += 2;
            } else if (c == 'y') {
                out += 'e';
                ++i;
            } else {
                out += static_cast<char>(c);
                ++i;
            }
        }
        return out;
    }
    int primary = IvGetPrimaryFromLocale(platform::CurrentNls().SystemDefaultLcid());
    if (primary != 4 && primary != 17 && primary != 18)
        return format;
    for (char c : format)
        if (c != 'g' && c != 'G')
            out += c;
    return out;
}

std::string TranslateShortCutToText(uint16_t shortcut)
{
    static const char* const Named[] = { "BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn", "End",
        "Home", "Left", "Up", "Right", "Down", "Ins", "Del" };
    auto tr = [](const std::string& text) {
        TIvDictionary* d = GetDefaultDictionary();
        return d && d->IsOpen() ? d->Translate(text) : text;
    };
    int key = shortcut & 0xFF;
    std::string name;
    if (key == 0x08 || key == 0x09)
        name = tr(Named[key - 0x08]);
    else if (key == 0x0D)
        name = tr(Named[2]);
    else if (key == 0x1B)
        name = tr(Named[3]);
    else if (key >= 0x20 && key <= 0x28)
        name = tr(Named[4 + key - 0x20]);
    else if (key == 0x2D || key == 0x2E)
        name = tr(Named[13 + key - 0x2D]);
    else if ((key >= 0x30 && key <= 0x39) || (key >= 0x41 && key <= 0x5A))
        name = std::string(1, static_cast<char>(key));
    else if (key >= 0x60 && key <= 0x69)
        name = std::string(1, static_cast<char>('0' + key - 0x60));
    else if (key >= 0x70 && key <= 0x87)
        name = tr("F" + std::to_string(key - 0x6F));
    else {
        // The one-character names of the punctuation keys of a US keyboard.
        static const struct {
            int Key;
            char Name;
        } Punctuation[] = { { 0xBA, ';' }, { 0xBB, '=' }, { 0xBC, ',' }, { 0xBD, '-' }, { 0xBE, '.' },
            { 0xBF, '/' }, { 0xC0, '`' }, { 0xDB, '[' }, { 0xDC, '\\' }, { 0xDD, ']' }, { 0xDE, '\'' } };
        for (const auto& p : Punctuation)
            if (p.Key == key)
                name = std::string(1, p.Name);
    }
    if (name.empty())
        return {};
    std::string text;
    if (shortcut & 0x2000)
        text += tr("Shift+");
    if (shortcut & 0x4000)
        text += tr("Ctrl+");
    if (shortcut & 0x8000)
        text += tr("Alt+");
    return text + name;
}

// ------------------------------------------------------------ hooks

TIvApplicationHooks* IvSetApplicationHooks(TIvApplicationHooks* hooks)
{
    TIvApplicationHooks* previous = gHooks;
    gHooks = hooks;
    return previous;
}

TIvApplicationHooks* IvApplicationHooks()
{
    return gHooks;
}
