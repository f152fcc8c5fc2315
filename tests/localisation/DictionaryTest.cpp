#include "FakeNls.h"
#include "TestDictionary.h"
#include "support/FakePrompts.h"

#include <gtest/gtest.h>

namespace {

std::string Message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EIvMulti& e) {
        return e.Message();
    }
    return "(no exception)";
}

class Policies : public ::testing::Test {
protected:
    FakeNls Nls;
    MemoryDictionary D;
    void SetUp() override
    {
        SetUpGerman(D,
            { Row("Open",
                  "\xC3\x96"
                  "ffnen"),
                Row("Empty", "") });
    }
};

} // namespace

TEST_F(Policies, UseNative)
{
    D.SetMissingTranslation(ivmtUseNative);
    EXPECT_EQ(D.Translate("Open"),
        "\xC3\x96"
        "ffnen");
    EXPECT_EQ(D.Translate("Empty"), "Empty");
    EXPECT_EQ(D.Translate("Missing"), "Missing");
    EXPECT_EQ(D.Translate(""), "");
    EXPECT_EQ(D.TranslateContext("", "frm", "btn"), "");
}

TEST_F(Policies, UseNull)
{
    D.SetMissingTranslation(ivmtUseNull);
    EXPECT_EQ(D.Translate("Open"),
        "\xC3\x96"
        "ffnen");
    EXPECT_EQ(D.Translate("Empty"), "");
    EXPECT_EQ(D.Translate("Missing"), "");
    EXPECT_EQ(D.Translate(""), "");
    EXPECT_EQ(D.TranslateContext("", "", ""), "");
}

TEST_F(Policies, TagNative)
{
    D.SetMissingTranslation(ivmtTagNative);
    EXPECT_EQ(D.Translate("Open"),
        "\xC3\x96"
        "ffnen");
    EXPECT_EQ(D.Translate("Empty"), "@Empty@");
    EXPECT_EQ(D.Translate("Missing"), "@Missing@");
    EXPECT_EQ(D.Translate(""), "");
    EXPECT_EQ(D.TranslateContext("", "", ""), "@@");
}

TEST_F(Policies, RaiseException)
{
    D.SetMissingTranslation(ivmtRaiseException);
    EXPECT_EQ(D.Translate("Open"),
        "\xC3\x96"
        "ffnen");
    EXPECT_EQ(Message([&] { D.Translate("Empty"); }), "Translation for the word \"Empty\" is missing");
    EXPECT_EQ(Message([&] { D.Translate("Missing"); }),
        "Dictionary does not contain a translation for the word \"Missing\"");
    EXPECT_EQ(D.Translate(""), "");
    EXPECT_EQ(Message([&] { D.TranslateContext("", "", ""); }), "Translation for the word \"\" is missing");
    EXPECT_TRUE(D.DoesTranslationExist("Empty"));
    EXPECT_FALSE(D.DoesTranslationExist("Missing"));
}

TEST(FreeTranslate, NoDictionaryReturnsTheArgument)
{
    ASSERT_EQ(GetDefaultDictionary(), nullptr);
    EXPECT_EQ(Translate("Save changes ?"), "Save changes ?");
    EXPECT_EQ(TranslateContext("Save", "frm", "btn"), "Save");
    EXPECT_EQ(Translate(""), "");
}

TEST(FreeTranslate, UsesTheFirstDictionaryCreated)
{
    FakeNls nls;
    MemoryDictionary first;
    MemoryDictionary second;
    SetUpGerman(first, { Row("Yes", "Ja") });
    second.Languages = first.Languages;
    second.Rows = { {}, { Row("Yes", "Oui") } };
    second.SetCheckLevel(ivclNone);
    second.SetLanguage(1);
    second.Open();
    EXPECT_EQ(GetDefaultDictionary(), &first);
    EXPECT_EQ(Translate("Yes"), "Ja");
}

TEST(DictionaryList, NamesUnnamedDictionariesAndFindsByExactName)
{
    FakeNls nls;
    {
        MemoryDictionary a;
        MemoryDictionary b;
        EXPECT_EQ(a.GetDictionaryName(), "Dictionary1");
        EXPECT_EQ(b.GetDictionaryName(), "Dictionary2");
        EXPECT_EQ(Dictionaries().GetCount(), 2);
        EXPECT_EQ(Dictionaries().FindDictionary("Dictionary2"), &b);
        EXPECT_EQ(Dictionaries().FindDictionary("dictionary2"), nullptr);
        EXPECT_THROW(Dictionaries().GetItems(2), ERangeError);
    }
    EXPECT_EQ(Dictionaries().GetCount(), 0);
    MemoryDictionary a;
    a.SetDictionaryName("Dictionary2");
    MemoryDictionary b;
    EXPECT_EQ(b.GetDictionaryName(), "Dictionary3");
}

TEST(Languages, OpenPicksTheUserLanguageAndKeepsTheCountryVariant)
{
    FakeNls nls;
    nls.UserLcid = 0x0C07; // a German user in Austria
    MemoryDictionary d;
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German") };
    d.Rows = { {}, { Row("Yes", "Ja") } };
    d.SetCheckLevel(ivclNone);
    d.Open();
    EXPECT_TRUE(d.IsOpen());
    EXPECT_EQ(d.GetActiveLanguageIndex(), 1);
    EXPECT_EQ(d.GetCurrentLanguage()->ActiveSub, 3);
    EXPECT_EQ(d.GetActiveLocaleId(), 0x0C07u);
    EXPECT_EQ(d.Translate("Yes"), "Ja");
}

TEST(Languages, SetLanguageRangeAndRepeats)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpGerman(d, { Row("Yes", "Ja") });
    int loads = d.Loads;
    int changes = 0;
    d.SetOnLanguageChange([&](TIvDictionary* sender) {
        EXPECT_EQ(sender, &d);
        ++changes;
    });
    try {
        d.SetLanguage(2);
        FAIL();
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "Language index 2 is out of range");
    }
    EXPECT_THROW(d.SetLanguage(-3), ERangeError);
    EXPECT_EQ(d.GetActiveLanguageIndex(), 1);
    d.SetLanguage(1); // already stored: nothing
    EXPECT_EQ(d.Loads, loads);
    d.SetLanguage(0);
    EXPECT_EQ(d.Translate("Yes"), "Yes");
    EXPECT_EQ(changes, 1);
    nls.UserLcid = 0x0407;
    d.SetLanguage(-1);
    EXPECT_EQ(d.GetActiveLanguageIndex(), 1);
    nls.SystemLcid = 0x0409;
    d.SetLanguage(-2);
    EXPECT_EQ(d.GetActiveLanguageIndex(), 0);
    EXPECT_EQ(changes, 3);
}

TEST(Languages, StoredIndexBeyondTheDictionaryFallsBackToTheDefault)
{
    FakeNls nls;
    MemoryDictionary d;
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German") };
    d.Rows = { {}, {} };
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(5); // a setting saved with another dictionary file
    d.Open();
    EXPECT_EQ(d.GetActiveLanguageIndex(), 0);
    EXPECT_THROW(d.GetLanguage(2), ERangeError);
    EXPECT_THROW(d.GetLanguage(-1), ERangeError);
    try {
        d.GetLocale(0);
        FAIL();
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "Out of locale range");
    }
    EXPECT_EQ(d.GetLanguage(1)->EnglishName, "German");
    EXPECT_EQ(d.GetLanguage(0), d.GetCurrentLanguage());
}

TEST(Languages, CheckLevelsRefuseWhatTheCodePageCannotShow)
{
    FakeNls nls;
    MemoryDictionary d;
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(25, 1, 1251, "Russian") };
    d.Rows = { {}, {} };
    d.SetBinding(ivbiNone);
    d.SetLanguage(1);
    EXPECT_EQ(Message([&] { d.Open(); }), "Russian is not supported by the code page");
    EXPECT_FALSE(d.IsOpen());
    d.SetCheckLevel(ivclSystem);
    nls.CodePages.erase(1251);
    EXPECT_EQ(Message([&] { d.Open(); }), "Russian is not supported by the system");
    d.SetCheckLevel(ivclNone);
    d.Open();
    EXPECT_TRUE(d.IsOpen());
}

TEST(Languages, NoUsableLanguageRaises)
{
    FakeNls nls;
    MemoryDictionary d;
    d.Languages = { MakeLanguage(25, 1, 1251, "Russian") };
    d.SetCheckLevel(ivclCodePage);
    d.SetLanguage(-1);
    EXPECT_EQ(Message([&] { d.Open(); }), "System does not support any language of the dicitonary!");
}

TEST(Languages, PrimaryLanguagesOncePerPrimaryId)
{
    FakeNls nls;
    MemoryDictionary d;
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German"),
        MakeLanguage(7, 3, 1252, "German Austria"), MakeLanguage(12, 1, 1252, "French") };
    std::vector<TIvStringItem> items;
    d.GetPrimaryLanguages(items, false);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].Text, "German");
    EXPECT_EQ(items[1].Id, 7);
    EXPECT_EQ(items[2].Id, 12);
    EXPECT_EQ(d.LocaleToLanguage(0x0C07), 2);
    EXPECT_EQ(d.LocaleToLanguage(0x0807), 1); // German, Switzerland: first German entry
    EXPECT_EQ(d.LocaleToLanguage(0x0419), -1);
    EXPECT_EQ(d.LocaleToLanguage(0), 0);
}

TEST(LanguageRecord, SubListsCountriesAndLocales)
{
    FakeNls nls;
    TIvLanguage l;
    l.PrimaryId = 7;
    l.SetAllSubs("3, 0,x,1,3");
    EXPECT_EQ(l.GetAllSubs(), "3,1");
    l.Init();
    EXPECT_EQ(l.DefaultSub, 3);
    EXPECT_EQ(l.ActiveSub, 3);
    EXPECT_EQ(l.GetLocale(), 0x0C07u);
    EXPECT_EQ(l.EnglishName, "German");
    EXPECT_EQ(l.NativeName, "Deutsch");
    EXPECT_EQ(l.IsoLanguage, "de");
    EXPECT_EQ(l.GetCodePage(), 1252);
    l.SetActiveSub(2); // not listed
    EXPECT_EQ(l.ActiveSub, 3);
    l.SetActiveSub(1);
    EXPECT_EQ(l.ActiveSub, 1);
    l.SetISOAllCountries("AT,DE,AT,");
    EXPECT_EQ(l.GetISOAllCountries(), "AT,DE");
    EXPECT_FALSE(l.AddISOCountry("DE"));
    EXPECT_EQ(l.GetBundleExtension(), "_de_AT");
    l.SetSub(0);
    EXPECT_TRUE(l.Subs.empty());
    EXPECT_TRUE(l.IsoCountries.empty());

    TIvLanguage native;
    native.Init();
    EXPECT_EQ(native.EnglishName, "Native");
    EXPECT_EQ(native.Options, 1u << ivloPureASCII);

    TIvLanguage chinese;
    chinese.PrimaryId = 4;
    chinese.SetCodePage(950);
    chinese.DefaultSub = 0;
    EXPECT_EQ(chinese.GetLocale(), 0x0404u);
    EXPECT_EQ(chinese.Charset, 136);
}

// Gathering a locale's data is slow: a record is completed from the locale's
// names only, and only when it lacks one.
TEST(LanguageRecord, AsksTheSystemOnlyForTheNamesItLacks)
{
    FakeNls nls;
    TIvLanguage given;
    given.PrimaryId = 7;
    given.DefaultSub = 1;
    given.IsoLanguage = "de";
    given.IsoCountry = "DE";
    given.EnglishName = "German (file)";
    given.NativeName = "Deutsch (Datei)";
    given.Init();
    EXPECT_EQ(nls.NameQueries + nls.InfoQueries, 0);
    EXPECT_EQ(given.EnglishName, "German (file)");
    EXPECT_EQ(given.NativeName, "Deutsch (Datei)");

    TIvLanguage lacking = given;
    lacking.NativeName.clear();
    lacking.IsoCountry.clear();
    lacking.Init();
    EXPECT_EQ(nls.NameQueries, 1);
    EXPECT_EQ(nls.InfoQueries, 0);
    EXPECT_EQ(lacking.NativeName, "Deutsch");
    EXPECT_EQ(lacking.IsoCountry, "DE");
    EXPECT_EQ(lacking.EnglishName, "German (file)"); // what the record has stays

    TIvLocale locale;
    locale.SetLocale(0x0C07);
    locale.EnglishLanguageName = "German";
    locale.EnglishCountryName = "Austria";
    locale.NativeLanguageName = "Deutsch";
    locale.NativeCountryName = "\xC3\x96sterreich";
    locale.Init();
    EXPECT_EQ(nls.NameQueries, 1);
    locale.NativeCountryName.clear();
    locale.Init();
    EXPECT_EQ(nls.NameQueries, 2);
    EXPECT_EQ(locale.NativeCountryName, "Austria");
    EXPECT_EQ(nls.InfoQueries, 0);
}

TEST(Translators, BoundTranslatorsFollowLanguageChangesAndDictionaryLifetime)
{
    struct Counting : TIvCustomTranslator {
        int Changes = 0;
        void LanguageChanged(bool, bool) override { ++Changes; }
    };
    FakeNls nls;
    Counting t;
    {
        MemoryDictionary d;
        SetUpGerman(d, {});
        t.SetDictionaryName(d.GetDictionaryName());
        EXPECT_EQ(t.GetDictionary(), &d);
        t.Translate();
        t.Translate();
        EXPECT_EQ(d.GetTranslatorCount(), 1);
        d.SetLanguage(0);
        EXPECT_EQ(t.Changes, 1);
        d.SetOptions(0); // without auto-translation nobody is told
        d.SetLanguage(1);
        EXPECT_EQ(t.Changes, 1);
        d.Close();
        EXPECT_EQ(d.GetTranslatorCount(), 0);
        EXPECT_FALSE(t.IsBound());
        t.SetDictionary(&d);
    }
    EXPECT_EQ(t.GetDictionary(), nullptr);
    t.SetDictionaryName("Nowhere");
    EXPECT_EQ(t.GetDictionaryName(), "Nowhere");
    EXPECT_EQ(t.GetDictionary(), nullptr);
}

TEST(Messages, FormatTranslatesTheFormatNotTheResult)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpGerman(
        d, { Row("Loading %s...", "Lade %s..."), Row("Loading a.udf...", "wrong"), Row("COM%d", "Port %d") });
    EXPECT_EQ(MlFormat("Loading %s...", "a.udf"), "Lade a.udf...");
    EXPECT_EQ(MlFormat("COM%d", 3), "Port 3");
    EXPECT_EQ(MlFormatList("COM%d", { 4 }), "Port 4");
    EXPECT_THROW(MlFormat("COM%d", "three"), EConvertError);
    EXPECT_THROW(MlFormat("Loading %s..."), EConvertError);
}

// A translated format whose specifiers do not fit the arguments would stop
// what asked for the text (every retry of a transfer): the English one is used.
TEST(Messages, AFormatTranslatedWithOtherSpecifiersFallsBackToEnglish)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpGerman(d, { Row("Retries: %d", "Tentatives : %s"), Row("(Retries: %d)", "(Versuche: %d, %d)") });
    EXPECT_EQ(MlFormat("Retries: %d", 3), "Retries: 3");
    EXPECT_EQ(MlFormatList("(Retries: %d)", { 4 }), "(Retries: 4)");
    EXPECT_THROW(MlFormat("(Retries: %d)", "four"), EConvertError) << "the English format must fit";
}

TEST(Messages, BoxesShowTheTranslatedText)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpGerman(d, { Row("Save changes ?", "\xC3\x84nderungen speichern ?"), Row("Done", "Fertig") });
    FakePrompts prompts;
    prompts.Answer(platform::mrNo);
    EXPECT_EQ(MlMessageDlg("Save changes ?", platform::MsgDlgType::mtConfirmation,
                  platform::mbYes | platform::mbNo | platform::mbCancel),
        platform::mrNo);
    MlShowMessage("Done");
    MlShowMessage("Untranslated");
    ASSERT_EQ(prompts.Log.size(), 3u);
    EXPECT_EQ(prompts.Log[0].Text, "\xC3\x84nderungen speichern ?");
    EXPECT_EQ(prompts.Log[0].Type, platform::MsgDlgType::mtConfirmation);
    EXPECT_EQ(prompts.Log[0].Buttons, platform::mbYes | platform::mbNo | platform::mbCancel);
    EXPECT_EQ(prompts.Log[1].Kind, "msg");
    EXPECT_EQ(prompts.Log[1].Text, "Fertig");
    EXPECT_EQ(prompts.Log[2].Text, "Untranslated");
}
