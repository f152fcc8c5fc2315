#include "FakeNls.h"
#include "Ivlocale.h"
#include "TestDictionary.h"

#include <gtest/gtest.h>

#include <new>

namespace {

const char* const Euro = "\xE2\x82\xAC";

TIvFormatSettings SystemSettings(uint32_t lcid)
{
    TIvLocale locale;
    EXPECT_TRUE(GetSystemLocaleData(lcid, locale));
    return IvMakeFormatSettings(locale, true);
}

struct RecordingHooks : TIvApplicationHooks {
    RecordingHooks() { Previous = IvSetApplicationHooks(this); }
    ~RecordingHooks() override { IvSetApplicationHooks(Previous); }
    void SetRightToLeft(bool rtl) override { Log.push_back(rtl ? "rtl" : "ltr"); }
    void SetLocale(uint32_t lcid) override { Log.push_back("locale " + std::to_string(lcid)); }
    void InstallResourceTranslator() override { Log.push_back("install"); }
    void RemoveResourceTranslator() override { Log.push_back("remove"); }
    void LanguageChangeDone() override { Log.push_back("done"); }
    std::vector<std::string> Log;
    TIvApplicationHooks* Previous = nullptr;
};

// English, German, French and Arabic; each language's rows name it.
void SetUpFour(MemoryDictionary& d)
{
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German"),
        MakeLanguage(12, 1, 1252, "French"), MakeLanguage(1, 1, 1256, "Arabic") };
    d.Rows = { {}, { Row("Open", "Offnen") }, { Row("Open", "Ouvrir") }, { Row("Open", "Iftah") } };
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(0);
    d.Open();
}

struct Recorder : TIvCustomTranslator {
    std::vector<std::string>* Log = nullptr;
    std::string Name;
    std::function<void()> Action;
    void LanguageChanged(bool, bool) override
    {
        Log->push_back(Name);
        if (Action)
            Action();
    }
};

} // namespace

TEST(FormatSettings, PicturesAndSeparatorsOfFourLocales)
{
    // ICU's patterns become Windows pictures; the year-2000 rule doubles a two-digit year.
    TIvFormatSettings de = SystemSettings(0x0407);
    EXPECT_EQ(de.ShortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(de.LongDateFormat, "d. MMMM yyyy");
    EXPECT_EQ(de.ShortTimeFormat, "hh:mm");
    EXPECT_EQ(de.LongTimeFormat, "hh:mm:ss");
    EXPECT_EQ(de.DecimalSeparator, ",");
    EXPECT_EQ(de.ThousandSeparator, ".");
    EXPECT_EQ(de.DateSeparator, ".");
    EXPECT_EQ(de.CurrencyString, Euro);
    EXPECT_EQ(de.CurrencyFormat, 3); // 1 $
    EXPECT_EQ(de.NegCurrFormat, 8); // -1 $
    EXPECT_EQ(de.FirstWeekOfYear, 2);
    EXPECT_EQ(de.LongDayNames[0], "Sonntag");
    EXPECT_EQ(de.LongDayNames[1], "Montag");
    EXPECT_EQ(de.LongMonthNames[2], "M\xC3\xA4rz");

    TIvFormatSettings fr = SystemSettings(0x040C);
    EXPECT_EQ(fr.ShortDateFormat, "dd/MM/yyyy");
    EXPECT_EQ(fr.DecimalSeparator, ",");
    EXPECT_EQ(fr.ThousandSeparator, "\xE2\x80\xAF"); // a narrow blank, kept as text
    EXPECT_EQ(fr.CurrencyFormat, 3);
    EXPECT_EQ(fr.NegCurrFormat, 8);
    EXPECT_EQ(fr.TimeSeparator, ":");

    TIvFormatSettings ru = SystemSettings(0x0419);
    EXPECT_EQ(ru.ShortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(ru.ThousandSeparator, "\xC2\xA0");
    EXPECT_EQ(ru.CurrencyDecimals, 2);
    EXPECT_EQ(ru.FirstWeekOfYear, 2);
    EXPECT_FALSE(ru.FarEast);

    TIvFormatSettings ja = SystemSettings(0x0411);
    EXPECT_EQ(ja.ShortDateFormat, "yyyy/MM/dd");
    EXPECT_EQ(ja.LongDateFormat,
        "yyyy\xE5\xB9\xB4M\xE6\x9C\x88"
        "d\xE6\x97\xA5");
    EXPECT_EQ(ja.CurrencyFormat, 0); // $1
    EXPECT_EQ(ja.NegCurrFormat, 1); // -$1
    EXPECT_EQ(ja.CurrencyDecimals, 0);
    EXPECT_EQ(ja.ShortTimeFormat, "h:mm");
    EXPECT_TRUE(ja.FarEast);
    EXPECT_EQ(ja.FirstWeekOfYear, 0);

    TIvFormatSettings us = SystemSettings(0x0409);
    EXPECT_EQ(us.ShortDateFormat, "M/d/yyyy");
    EXPECT_EQ(us.ShortTimeFormat, "h:mm AMPM");
    EXPECT_EQ(us.LongTimeFormat, "h:mm:ss AMPM");
    EXPECT_EQ(us.TimeAMString, "AM");
    EXPECT_EQ(us.CurrencyFormat, 0);
    EXPECT_EQ(us.NegCurrFormat, 1);
}

TEST(FormatSettings, DictionaryLocalesAndTheYear2000Rule)
{
    EXPECT_EQ(IvYear2000Picture("d.M.yy"), "d.M.yyyy");
    EXPECT_EQ(IvYear2000Picture("dd/MM/yyyy"), "dd/MM/yyyy");
    EXPECT_EQ(IvYear2000Picture("d. MMMM"), "d. MMMM");
    EXPECT_EQ(IvIcuPatternToPicture("EEEE, d. MMMM y 'um' HH:mm a"), "dddd, d. MMMM yyyy 'um' hh:mm AMPM");

    // A dictionary's own locale keeps its pictures; a missing time separator gives ":".
    TIvLocale own;
    own.Custom = true;
    own.SetLocale(0x0407);
    own.CodePage = 1252;
    own.ShortDateFormat = "d.M.yy";
    own.LongDateFormat = "dddd, d. MMMM yyyy";
    own.DecimalSeparator = ',';
    own.ThousandSeparator = '\xA0';
    own.TimeSeparator = '\0';
    own.TimeFormat = ivtf12;
    own.TimeMarkPosition = ivtmPrefix;
    own.HourLeadingZero = false;
    own.ShortDayNames[6] = "So";
    own.ShortDayNames[0] = "Mo";
    TIvFormatSettings s = IvMakeFormatSettings(own, true);
    EXPECT_EQ(s.ShortDateFormat, "d.M.yyyy");
    EXPECT_EQ(s.LongDateFormat, "dddd, d. MMMM yyyy");
    EXPECT_EQ(s.TimeSeparator, ":");
    EXPECT_EQ(s.ThousandSeparator, "\xC2\xA0"); // the code page's byte as UTF-8
    EXPECT_EQ(s.ShortTimeFormat, "AMPM h:mm");
    EXPECT_EQ(s.ShortDayNames[0], "So");
    EXPECT_EQ(s.ShortDayNames[1], "Mo");
    EXPECT_EQ(IvMakeFormatSettings(own, false).ShortDateFormat, "d.M.yy");
}

TEST(FormatSettings, DatesAndTimesByThePictures)
{
    const TIvDateTime when { { 2026, 12, 7 }, 0, 3, 9 };
    TIvFormatSettings de = SystemSettings(0x0407);
    EXPECT_EQ(IvFormatDateTime(de.LongDateFormat, when, de), "7. Dezember 2026");
    EXPECT_EQ(IvFormatDateTime("ddd, d.M.yy '(KW)' H:m:s", when, de), "Mo., 7.12.26 (KW) 0:3:9");
    // Separators are the record's; quoted text, a doubled quote included, stands as it is.
    de.DateSeparator = "-";
    de.TimeSeparator = ".";
    EXPECT_EQ(IvFormatDateTime("dd/MM/yyyy hh:mm:ss 'o''clock'", when, de), "07-12-2026 00.03.09 o'clock");
    // Midnight on a 12-hour clock is 12 AM.
    TIvFormatSettings us = SystemSettings(0x0409);
    EXPECT_EQ(IvFormatDateTime(us.LongTimeFormat, when, us), "12:03:09 AM");
    EXPECT_EQ(IvFormatDateTime("dddd, MMM d", when, us), "Monday, Dec 7");
}

TEST(Euro, PhasesAndCurrencyStringsWithTheDatePassedIn)
{
    EXPECT_EQ(IvGetEMUPhase({ 1998, 12, 31 }), iveLocal);
    EXPECT_EQ(IvGetEMUPhase({ 1999, 1, 1 }), iveLocalAndEuro);
    EXPECT_EQ(IvGetEMUPhase({ 2001, 12, 31 }), iveLocalAndEuro);
    EXPECT_EQ(IvGetEMUPhase({ 2002, 1, 1 }), iveEuroAndLocal);
    EXPECT_EQ(IvGetEMUPhase({ 2002, 6, 30 }), iveEuroAndLocal);
    EXPECT_EQ(IvGetEMUPhase({ 2002, 7, 1 }), iveEuro);

    TIvLocale germany;
    germany.SetLocale(0x0407);
    germany.CurrencySymbol = "DM";
    EXPECT_EQ(IvGetEMUCurrencyString(germany, iveNormal, { 1998, 6, 1 }), "DM");
    EXPECT_EQ(IvGetEMUCurrencyString(germany, iveNormal, { 2000, 6, 1 }), "DM");
    EXPECT_EQ(IvGetEMUCurrencyString(germany, iveBusiness, { 2000, 6, 1 }), Euro);
    EXPECT_EQ(IvGetEMUCurrencyString(germany, iveNormal, { 2002, 3, 1 }), Euro);
    EXPECT_EQ(IvGetEMUCurrencyString(germany, iveIgnore, { 2010, 3, 1 }), "DM");
    TIvLocale swiss; // not in the euro zone
    swiss.SetLocale(0x0807);
    swiss.CurrencySymbol = "CHF";
    EXPECT_EQ(IvGetEMUCurrencyString(swiss, iveBusiness, { 2010, 3, 1 }), "CHF");
    EXPECT_TRUE(IvIsEMUMember(0x0C07)); // Austria
    EXPECT_TRUE(IvIsEMUMember(0x1809)); // Ireland
    EXPECT_FALSE(IvIsEMUMember(0x0809)); // United Kingdom
}

TEST(Euro, SetEuroUpdatesTheCurrencyStringAtOnce)
{
    struct WithLocale : MemoryDictionary {
        int GetLocaleCount() override { return 1; }
        void GetLocaleData(int, TIvLocale& locale) override
        {
            locale = TIvLocale {};
            locale.Custom = true;
            locale.SetLocale(0x0407);
            locale.CodePage = 1252;
            locale.CurrencySymbol = "DM";
        }
    };
    FakeNls nls;
    WithLocale d;
    SetUpGerman(d, {});
    EXPECT_EQ(IvFormatSettings().CurrencyString, Euro);
    d.SetEuro(iveIgnore);
    EXPECT_EQ(IvFormatSettings().CurrencyString, "DM");
    EXPECT_EQ(IvEuroMode(), iveIgnore);
    d.SetEuro(iveNormal);
    EXPECT_EQ(IvFormatSettings().CurrencyString, Euro);
}

TEST(Texts, ShortcutsAndDateFormats)
{
    FakeNls nls;
    EXPECT_EQ(TranslateShortCutToText(0x6000 | 0x74), "Shift+Ctrl+F5"); // no dictionary open
    MemoryDictionary d;
    SetUpGerman(d, { Row("Shift+", "Umschalt+"), Row("Ctrl+", "Strg+"), Row("Del", "Entf") });
    EXPECT_EQ(TranslateShortCutToText(0x6000 | 0x74), "Umschalt+Strg+F5");
    EXPECT_EQ(TranslateShortCutToText(0x8000 | 0x2E), "Alt+Entf");
    EXPECT_EQ(TranslateShortCutToText(0x4000 | 0x63), "Strg+3"); // number pad
    EXPECT_EQ(TranslateShortCutToText(0x4000 | 0x07), ""); // a key without a name

    // Era letters go where the system's language asks; far-east calendars take eras.
    EXPECT_EQ(TranslateDateFormat("gg yyyy/MM/dd"), "gg yyyy/MM/dd");
    nls.SystemLcid = 0x0411;
    EXPECT_EQ(TranslateDateFormat("gg yyyy/MM/dd"), " yyyy/MM/dd");
    TIvFormatSettings saved = IvFormatSettings();
    TIvFormatSettings japanese = saved;
    japanese.CalendarType = 3;
    IvSetFormatSettings(japanese);
    EXPECT_EQ(TranslateDateFormat("gg y\xE5\xB9\xB4 yy/M/d yyyy"), "ggg e\xE5\xB9\xB4 ee/M/d ee");
    IvSetFormatSettings(saved);
}

TEST(LanguageChange, HooksFollowOpenChangesAndClose)
{
    FakeNls nls;
    RecordingHooks hooks;
    MemoryDictionary d;
    SetUpFour(d);
    EXPECT_EQ(hooks.Log, (std::vector<std::string> { "install", "ltr", "locale 1033", "done" }));
    hooks.Log.clear();
    d.SetLanguage(3);
    EXPECT_EQ(hooks.Log, (std::vector<std::string> { "rtl", "locale 1025", "done" }));
    EXPECT_EQ(IvFormatSettings().LocaleId, 0x0401u);
    hooks.Log.clear();
    d.Close();
    EXPECT_EQ(hooks.Log, (std::vector<std::string> { "remove" }));
    hooks.Log.clear();
    d.Open(); // a second run-time open installs again
    EXPECT_EQ(hooks.Log.front(), "install");
}

// A change to a locale of the system gathers its conventions only when they
// are read, and they read as if gathered at once; a later record wins.
TEST(LanguageChange, TheSystemLocalesConventionsAreGatheredWhenFirstRead)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpFour(d);
    (void)IvFormatSettings();
    nls.InfoQueries = 0;
    d.SetLanguage(1); // German, on the system's locale of Germany
    ASSERT_EQ(d.GetActiveLocaleId(), 0x0407u);
    EXPECT_EQ(nls.InfoQueries, 0);

    const TIvFormatSettings read = IvFormatSettings(), expected = SystemSettings(0x0407);
    EXPECT_GT(nls.InfoQueries, 0);
    EXPECT_EQ(read.LocaleId, 0x0407u);
    EXPECT_EQ(read.DecimalSeparator, expected.DecimalSeparator);
    EXPECT_EQ(read.ThousandSeparator, expected.ThousandSeparator);
    EXPECT_EQ(read.ShortDateFormat, expected.ShortDateFormat);
    EXPECT_EQ(read.CurrencyString, expected.CurrencyString);
    EXPECT_EQ(read.DecimalSeparator, ","); // ICU's, not the default
    TIvLocale system;
    ASSERT_TRUE(GetSystemLocaleData(0x0407, system));
    EXPECT_EQ(d.GetCurrentLocale()->EnglishLanguageName, "German");
    EXPECT_EQ(d.GetCurrentLocale()->CodePage, system.CodePage);
    EXPECT_EQ(d.GetCurrentLocale()->ShortDateFormat, system.ShortDateFormat);

    // French never read, then a record set by hand: the one set is in force.
    d.SetLanguage(2);
    TIvFormatSettings own = read;
    own.DecimalSeparator = "#";
    IvSetFormatSettings(own);
    EXPECT_EQ(IvFormatSettings().DecimalSeparator, "#");
    EXPECT_EQ(IvFormatSettings().LocaleId, 0x0407u);
    // Arabic then English, neither read till now: English.
    d.SetLanguage(3);
    d.SetLanguage(0);
    EXPECT_EQ(IvFormatSettings().LocaleId, 0x0409u);
}

TEST(LanguageChange, AFailedChangeLeavesEverythingAndCanBeRetried)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpFour(d);
    d.SetLanguage(1);
    ASSERT_EQ(d.Translate("Open"), "Offnen");
    const uint32_t locale = d.GetActiveLocaleId();
    d.FailLoad = true;
    EXPECT_THROW(d.SetLanguage(2), EIvMulti);
    EXPECT_EQ(d.GetLanguage(), 1);
    EXPECT_EQ(d.GetActiveLanguageIndex(), 1);
    EXPECT_EQ(d.GetActiveLocaleId(), locale);
    EXPECT_EQ(d.GetCurrentLanguage()->PrimaryId, 7);
    EXPECT_EQ(d.GetCurrentLocale()->PrimaryId, 7);
    EXPECT_EQ(d.Translate("Open"), "Offnen");
    d.FailLoad = false;
    d.SetLanguage(2); // the same request again is not taken as done
    EXPECT_EQ(d.GetActiveLanguageIndex(), 2);
    EXPECT_EQ(d.Translate("Open"), "Ouvrir");

    // A locale the check level refuses leaves the language as it was too.
    d.SetCheckLevel(ivclCodePage);
    nls.SystemCodePage = 1252;
    EXPECT_THROW(d.SetLanguage(3), EIvMulti);
    EXPECT_EQ(d.GetActiveLanguageIndex(), 2);
    EXPECT_EQ(d.Translate("Open"), "Ouvrir");
}

TEST(LanguageChange, EveryTranslatorRunsAndTheFirstFailureIsRaisedOnce)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpFour(d);
    std::vector<std::string> log;
    Recorder a, b, c;
    a.Name = "a", b.Name = "b", c.Name = "c";
    for (Recorder* r : { &a, &b, &c }) {
        r->Log = &log;
        r->SetDictionary(&d);
        r->Translate();
    }
    a.Action = [] { throw EIvMulti("first"); };
    b.Action = [] { throw EIvMulti("second"); };
    int events = 0;
    d.SetOnLanguageChange([&](TIvDictionary*) { ++events; });
    try {
        d.SetLanguage(1);
        FAIL() << "no exception";
    } catch (const EIvMulti& e) {
        EXPECT_EQ(e.Message(), "first");
    }
    EXPECT_EQ(log, (std::vector<std::string> { "a", "b", "c" }));
    EXPECT_EQ(events, 1);
    // The change itself stands: the translators ran in the new language.
    EXPECT_EQ(d.GetActiveLanguageIndex(), 1);
    EXPECT_EQ(d.Translate("Open"), "Offnen");

    // A change asked for during a change is refused, and the pass goes on.
    log.clear();
    a.Action = [&] { d.SetLanguage(2); };
    b.Action = nullptr;
    EXPECT_THROW(d.SetLanguage(0), EIvMulti);
    EXPECT_EQ(log, (std::vector<std::string> { "a", "b", "c" }));
    EXPECT_EQ(d.GetActiveLanguageIndex(), 0);
}

TEST(LanguageChange, ATranslatorDestroyedAndAnotherMadeAtItsAddressIsNotCalled)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpFour(d);
    std::vector<std::string> log;
    alignas(Recorder) unsigned char storage[sizeof(Recorder)];
    Recorder* second = new (storage) Recorder;
    second->Name = "old";
    second->Log = &log;
    second->SetDictionary(&d);
    second->Translate();
    Recorder first;
    first.Name = "first";
    first.Log = &log;
    first.SetDictionary(&d);
    first.Translate();
    // The old translator comes after the one that replaces it.
    d.RemoveTranslator(second);
    d.AddTranslator(second);
    first.Action = [&] {
        second->~Recorder();
        Recorder* fresh = new (storage) Recorder;
        fresh->Name = "fresh";
        fresh->Log = &log;
        fresh->SetDictionary(&d);
        fresh->Translate();
        second = fresh;
    };
    d.SetLanguage(1);
    EXPECT_EQ(log, (std::vector<std::string> { "first" }));
    first.Action = nullptr;
    log.clear();
    d.SetLanguage(2);
    EXPECT_EQ(log, (std::vector<std::string> { "first", "fresh" }));
    second->~Recorder();
}
