// px10-mldinfo: what a dictionary holds and how the program reads it, as JSON.
//   px10-mldinfo FILE [--language N] [--policy P] [--ops]
//   px10-mldinfo --text LANGFILE TRANSFILE [LOCALEFILE] [--format utf8|utf16|ansi] [...]
// Without --ops the first failure ends the tool with its message on stderr
// (exit code 1); with --ops every step is tried and its outcome listed.
#include "Ivbindic.h"
#include "Ivtxtdic.h"

#include <cstdio>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// A JSON object built field by field.
class Object {
public:
    Object& Add(const std::string& key, const std::string& rawValue)
    {
        FText += (FText.empty() ? "" : ", ") + Quoted(key) + ": " + rawValue;
        return *this;
    }
    Object& Str(const std::string& key, const std::string& value) { return Add(key, Quoted(value)); }
    Object& Int(const std::string& key, long long value) { return Add(key, std::to_string(value)); }
    Object& Bool(const std::string& key, bool value) { return Add(key, value ? "true" : "false"); }
    std::string Text() const { return "{" + FText + "}"; }

private:
    std::string FText;
};

std::string Array(const std::vector<std::string>& items, bool quote)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + (quote ? Quoted(items[i]) : items[i]);
    return out + "]";
}

// A separator character of a locale is a byte of the locale's code page.
std::string CharText(char c, int codePage)
{
    if (c == '\0')
        return {};
    try {
        return TIvCodePageText(codePage > 0 ? codePage : 1252).ToUtf8(std::string(1, c));
    } catch (const std::exception&) {
        return "?";
    }
}

std::string LanguageJson(int index, const TIvLanguage& l)
{
    return Object()
        .Int("index", index)
        .Int("primary", l.PrimaryId)
        .Int("sub", l.DefaultSub)
        .Int("activeSub", l.ActiveSub)
        .Str("subs", l.GetAllSubs())
        .Str("isoLanguage", l.IsoLanguage)
        .Str("isoCountry", l.IsoCountry)
        .Str("isoCountries", l.GetISOAllCountries())
        .Str("englishName", l.EnglishName)
        .Str("nativeName", l.NativeName)
        .Int("codePage", l.GetCodePage())
        .Int("charset", l.Charset)
        .Str("fontName", l.FontName)
        .Int("fontSize", l.FontSize)
        .Int("options", l.Options)
        .Text();
}

std::string LocaleJson(const TIvLocale& l)
{
    auto names = [](const std::string* first, int n) {
        return Array(std::vector<std::string>(first, first + n), true);
    };
    return Object()
        .Int("primary", l.PrimaryId)
        .Int("sub", l.SubId)
        .Str("isoLanguage", l.IsoLanguage)
        .Str("isoCountry", l.IsoCountry)
        .Int("codePage", l.CodePage)
        .Int("charset", l.Charset)
        .Bool("flag", l.Custom)
        .Str("englishLanguage", l.EnglishLanguageName)
        .Str("englishCountry", l.EnglishCountryName)
        .Str("nativeLanguage", l.NativeLanguageName)
        .Str("nativeCountry", l.NativeCountryName)
        .Str("localizedLanguage", l.LocalizedLanguageName)
        .Str("localizedCountry", l.LocalizedCountryName)
        .Int("measurement", l.MeasurementSystem)
        .Str("currency", l.CurrencySymbol)
        .Int("currencyFormat", l.CurrencyFormat)
        .Int("negativeCurrencyFormat", l.NegativeCurrencyFormat)
        .Int("currencyDecimals", l.CurrencyDecimals)
        .Str("thousandSeparator", CharText(l.ThousandSeparator, l.CodePage))
        .Str("decimalSeparator", CharText(l.DecimalSeparator, l.CodePage))
        .Str("dateSeparator", CharText(l.DateSeparator, l.CodePage))
        .Str("shortDate", l.ShortDateFormat)
        .Str("longDate", l.LongDateFormat)
        .Str("timeSeparator", CharText(l.TimeSeparator, l.CodePage))
        .Str("am", l.TimeAMString)
        .Str("pm", l.TimePMString)
        .Bool("hourLeadingZero", l.HourLeadingZero)
        .Int("timeFormat", l.TimeFormat)
        .Int("timeMarkPosition", l.TimeMarkPosition)
        .Int("calendar", l.CalendarType)
        .Int("optionalCalendar", l.OptionalCalendarType)
        .Int("firstDayOfWeek", l.FirstDayOfWeek)
        .Int("firstWeekOfYear", l.FirstWeekOfYear)
        .Add("shortMonths", names(l.ShortMonthNames, 12))
        .Add("longMonths", names(l.LongMonthNames, 12))
        .Add("shortDays", names(l.ShortDayNames, 7))
        .Add("longDays", names(l.LongDayNames, 7))
        .Text();
}

struct Options {
    std::vector<std::string> Files;
    bool Text = false;
    bool Ops = false;
    int Language = -1;
    TIvMissingTranslation Policy = ivmtUseNative;
    TIvTextFormat Format = ivtfDetect;
};

[[noreturn]] void Usage(const std::string& problem)
{
    std::cerr
        << "px10-mldinfo: " << problem << "\n"
        << "usage: px10-mldinfo FILE [--language N] [--policy use-native|use-null|tag-native|raise] [--ops]\n"
        << "       px10-mldinfo --text LANGFILE TRANSFILE [LOCALEFILE] [--format utf8|utf16|ansi] "
           "[--language N] [--policy P] [--ops]\n";
    std::exit(2);
}

Options Parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage(a + " needs a value");
            return argv[++i];
        };
        if (a == "--text") {
            o.Text = true;
        } else if (a == "--ops") {
            o.Ops = true;
        } else if (a == "--language") {
            try {
                o.Language = std::stoi(value());
            } catch (const std::exception&) {
                Usage("--language needs a number");
            }
        } else if (a == "--policy") {
            std::string p = value();
            if (p == "use-native")
                o.Policy = ivmtUseNative;
            else if (p == "use-null")
                o.Policy = ivmtUseNull;
            else if (p == "tag-native")
                o.Policy = ivmtTagNative;
            else if (p == "raise")
                o.Policy = ivmtRaiseException;
            else
                Usage("unknown policy " + p);
        } else if (a == "--format") {
            std::string f = value();
            if (f == "utf8")
                o.Format = ivtfUTF8;
            else if (f == "utf16")
                o.Format = ivtfUTF16;
            else if (f == "ansi")
                o.Format = ivtfAnsi;
            else
                Usage("unknown format " + f);
        } else if (a.rfind("--", 0) == 0) {
            Usage("unknown option " + a);
        } else {
            o.Files.push_back(a);
        }
    }
    if (o.Text ? (o.Files.size() < 2 || o.Files.size() > 3) : o.Files.size() != 1)
        Usage("wrong number of files");
    return o;
}

// The natives of every row, in file order.
std::vector<std::string> BinaryNatives(TIvBinaryDictionary& d)
{
    std::vector<std::string> natives;
    auto file = d.OpenFile();
    file->GoTranslationSection();
    TIvTranslation row;
    for (int i = 0; i < file->GetTranslationCount(); ++i) {
        file->GetKey(row);
        natives.push_back(row.Native);
    }
    return natives;
}

} // namespace

int main(int argc, char** argv)
{
    Options o = Parse(argc, argv);
    std::unique_ptr<TIvCustomFileDictionary> dictionary;
    TIvBinaryDictionary* binary = nullptr;
    if (o.Text) {
        auto text = std::make_unique<TIvTextDictionary>();
        text->SetLanguageFileName(o.Files[0]);
        text->SetFileName(o.Files[1]);
        if (o.Files.size() > 2)
            text->SetLocaleFileName(o.Files[2]);
        text->SetFormat(o.Format);
        dictionary = std::move(text);
    } else {
        auto b = std::make_unique<TIvBinaryDictionary>();
        b->SetFileName(o.Files[0]);
        binary = b.get();
        dictionary = std::move(b);
    }
    TIvCustomFileDictionary& d = *dictionary;
    // As the program's own dictionary is set up.
    d.SetDictionaryName("Dictionary1");
    d.SetCheckLevel(ivclNone);
    d.SetMissingTranslation(o.Policy);
    d.SetLanguage(o.Language);

    Object result;
    std::vector<std::string> ops;
    bool failed = false;
    auto step = [&](const std::string& name, const std::function<void()>& run) {
        try {
            run();
            ops.push_back(Object().Str("op", name).Str("result", "ok").Text());
        } catch (const std::exception& e) {
            failed = true;
            if (!o.Ops) {
                std::cerr << "px10-mldinfo: " << e.what() << "\n";
                std::exit(1);
            }
            ops.push_back(Object().Str("op", name).Str("result", e.what()).Text());
        }
    };

    if (binary) {
        step("header", [&] {
            auto f = binary->OpenFile();
            result.Add("header",
                Object()
                    .Int("version", f->GetVersion())
                    .Str("byteOrder", f->GetByteOrder() == ivboBigEndian ? "big-endian" : "little-endian")
                    .Bool("unicode", f->IsUnicode())
                    .Int("characterSet", f->GetCharacterSet())
                    .Int("contextCode", f->GetContextCode())
                    .Int("languageCount", f->GetLanguageCount())
                    .Int("languageOffset", f->GetLanguageOffset())
                    .Int("translationCount", f->GetTranslationCount())
                    .Int("translationOffset", f->GetTranslationOffset())
                    .Int("localeCount", f->GetLocaleCount())
                    .Int("localeOffset", f->GetLocaleOffset())
                    .Int("infoOffset", f->GetInfoOffset())
                    .Int("textCodePage", f->GetTextCodePage())
                    .Text());
        });
    }
    step("languages", [&] {
        std::vector<std::string> items;
        for (int i = 0; i < d.GetLanguageCount(); ++i)
            items.push_back(LanguageJson(i, *d.GetLanguage(i)));
        result.Add("languages", Array(items, false));
    });
    step("locales", [&] {
        std::vector<std::string> items;
        for (int i = 0; i < d.GetLocaleCount(); ++i)
            items.push_back(LocaleJson(*d.GetLocale(i)));
        result.Add("locales", Array(items, false));
    });
    if (binary) {
        step("info", [&] {
            TIvMLDInfo info;
            if (!binary->OpenFile()->GetInfo(info)) {
                result.Add("info", "null");
                return;
            }
            char date[32];
            std::snprintf(date, sizeof date, "%04d-%02d-%02dT%02d:%02d:%02d", info.Date.Year, info.Date.Month,
                info.Date.Day, info.Date.Hour, info.Date.Minute, info.Date.Second);
            result.Add("info",
                Object()
                    .Str("description", info.Description)
                    .Str("owner", info.Owner)
                    .Add("users", Array(info.Users, true))
                    .Str("date", date)
                    .Text());
        });
    }
    step("open", [&] {
        d.Open();
        if (!d.IsOpen())
            throw Exception("The dictionary cannot be opened");
        result.Int("activeLanguage", d.GetActiveLanguageIndex());
        result.Int("fallbackLanguage", d.GetFallbackLanguageIndex());
    });
    std::vector<std::string> natives;
    step("table", [&] {
        std::vector<std::string> rows;
        for (int i = 0; i < d.GetTranslationCount(); ++i) {
            const TIvTranslation& t = *d.GetTranslation(i);
            rows.push_back(Object()
                               .Str("native", t.Native)
                               .Str("form", t.FormContext)
                               .Str("component", t.ComponentContext)
                               .Int("status", t.Status)
                               .Str("translation", t.Translation)
                               .Text());
            if (!binary)
                natives.push_back(t.Native);
        }
        result.Add("table", Array(rows, false));
    });
    step("translate", [&] {
        if (binary)
            natives = BinaryNatives(*binary);
        std::vector<std::string> items;
        for (const auto& native : natives) {
            Object item;
            item.Str("native", native);
            try {
                item.Str("result", d.Translate(native));
            } catch (const std::exception& e) {
                item.Str("error", e.what());
            }
            items.push_back(item.Text());
        }
        result.Add("translate", Array(items, false));
    });
    if (o.Ops)
        result.Add("ops", Array(ops, false));
    std::cout << result.Text() << "\n";
    return failed ? 1 : 0;
}
