#include "FakeNls.h"
#include "Ivusrdic.h"
#include "MldSamples.h"

#include <gtest/gtest.h>

namespace {

class UserDictionaries : public ::testing::Test {
protected:
    FakeNls Nls;
    TIvUserDictionary D;
    void SetUp() override
    {
        D.SetCheckLevel(ivclNone);
        D.OnLanguageCount = [](TIvUserDictionary*) { return 2; };
        D.OnLanguageData = [](TIvUserDictionary*, int index, TIvLanguage& language) {
            language.PrimaryId = index == 0 ? 9 : 7;
            language.EnglishName = index == 0 ? "English" : "German";
            language.NativeName = index == 0 ? "English" : "Deutsch";
        };
        D.OnLocaleCount = [](TIvUserDictionary*) { return 0; };
        D.OnTranslate = [](TIvUserDictionary*, const std::string& text, std::string& translation) {
            if (text != "Open")
                return false;
            translation = Oeffnen;
            return true;
        };
    }
};

} // namespace

TEST_F(UserDictionaries, LanguagesAndTranslationsComeFromTheEvents)
{
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    D.GetLanguageDatas(languages);
    ASSERT_EQ(languages.size(), 2u);
    EXPECT_EQ(languages[1]->EnglishName, "German");
    D.SetLanguage(1);
    D.Open();
    EXPECT_EQ(D.Translate("Open"), Oeffnen);
    EXPECT_EQ(D.Translate("Save"), "Save");
    D.SetMissingTranslation(ivmtTagNative);
    EXPECT_EQ(D.Translate("Save"), "@Save@");
}

TEST_F(UserDictionaries, MissingEventsAndIncompleteDataAreReported)
{
    TIvLanguage language;
    TIvLocale locale;
    TIvUserDictionary empty;
    std::string translation;
    EXPECT_EQ(RaisedMessage([&] { empty.GetLanguageCount(); }), "Undefined OnLanguageCount event");
    EXPECT_EQ(RaisedMessage([&] { empty.GetLocaleCount(); }), "Undefined OnLocaleCount event");
    EXPECT_EQ(RaisedMessage([&] { empty.GetLanguageData(0, language); }), "Undefined OnLanguageData event");
    EXPECT_EQ(RaisedMessage([&] { empty.GetLocaleData(0, locale); }), "Undefined OnLocaleData event");
    EXPECT_EQ(RaisedMessage([&] { empty.Translate("x"); }), "Undefined OnTranslate event");
    EXPECT_EQ(RaisedMessage([&] { empty.TranslateContextString("x", "", "", translation); }),
        "Undefined OnTranslate event");

    // A language that the system knows nothing of gets no native name.
    D.OnLanguageData = [](TIvUserDictionary*, int index, TIvLanguage& language) {
        language.PrimaryId = index == 0 ? 9 : 42;
        language.EnglishName = index == 0 ? "English" : "Vietnamese";
    };
    EXPECT_EQ(RaisedMessage([&] { D.GetLanguage(1); }), "Incomplete language data (1)");
    D.OnLocaleData = [](TIvUserDictionary*, int, TIvLocale& locale) { locale.PrimaryId = 7; };
    EXPECT_EQ(RaisedMessage([&] { D.GetLocaleData(4, locale); }), "Incomplete locale data (4)");
}

TEST_F(UserDictionaries, AHandlerTranslatingThroughItsOwnDictionaryIsStopped)
{
    int calls = 0;
    D.OnTranslate = [&](TIvUserDictionary* sender, const std::string& text, std::string& translation) {
        ++calls;
        translation = "[" + sender->Translate(text) + "]";
        return true;
    };
    D.SetLanguage(1);
    D.Open();
    EXPECT_EQ(D.Translate("Open"), "[Open]");
    EXPECT_EQ(calls, 1);
}
