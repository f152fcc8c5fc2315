#include "CodePage.h"
#include "FakeNls.h"
#include "Ivlinerd.h"
#include "Ivtxtdic.h"
#include "MldSamples.h"
#include "TempFolder.h"
#include "support/FakePrompts.h"

#include <gtest/gtest.h>

namespace {

// English, German, German (Austria) with German as fallback, Russian in 1251.
const std::string LanguageLines = "English\tEnglish\t9\t\t1\tTahoma\t8\t0\t0\t1252\ten\tUS\tUS\r\n"
                                  "German\tDeutsch\t7\t\t1\t\t0\t0\t0\t1252\tde\tDE\tDE\r\n"
                                  "German (Austria)\tDeutsch (" OE
                                  "sterreich)\t7\t3\t3\t\t0\t0\t0\t1252\tde\tAT\tAT\r\n"
                                  "Russian\t"
    + RussianName + "\t25\t\t1\t\t0\t0\t0\t1251\tru\tRU\tRU\r\n";

const std::string TranslationLines = "Open\t" + Oeffnen + "\t\t" + RussianOpen + "\r\n"
    + "Save\tSpeichern\tSichern\t\r\n"
      "Close\t\t\t\r\n"
      "\r\n" // blank lines are not records
      "Tab\tA#Tb\t\t\r\n";

std::string Encode(const std::string& utf8, int codePage)
{
    return TIvCodePageText(codePage).FromUtf8(utf8);
}

std::string Utf16Le(const std::string& utf8)
{
    std::u16string units = u"\uFEFF" + platform::Utf8ToUtf16Lenient(utf8);
    std::string out;
    for (char16_t c : units) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

// 8-bit lines: every field in the code page of its own language.
std::string AnsiLanguages()
{
    std::string lines = Encode(LanguageLines, 1252);
    size_t russian = lines.find("Russian\t") + 8;
    return lines.substr(0, russian) + Encode(RussianName, 1251) + lines.substr(lines.find('\t', russian));
}

std::string AnsiTranslations()
{
    std::string open = "Open\t" + Encode(Oeffnen, 1252) + "\t\t" + Encode(RussianOpen, 1251) + "\r\n";
    return open + TranslationLines.substr(TranslationLines.find("Save"));
}

class TextDictionaries : public ::testing::Test {
protected:
    FakeNls Nls;
    TempFolder Folder;
    TIvTextDictionary D;

    void Files(
        const std::string& languages, const std::string& translations, TIvTextFormat format = ivtfDetect)
    {
        D.SetLanguageFileName(Folder.Write("lang.txt", languages));
        D.SetFileName(Folder.Write("trans.txt", translations));
        D.SetFormat(format);
        D.SetCheckLevel(ivclNone);
    }
    void OpenIn(int language)
    {
        D.SetLanguage(language);
        D.Open();
        ASSERT_TRUE(D.IsOpen());
    }
    void ExpectSampleTranslations()
    {
        OpenIn(2);
        EXPECT_EQ(D.Translate("Open"), Oeffnen); // from the fallback column
        EXPECT_EQ(D.Translate("Save"), "Sichern");
        EXPECT_EQ(D.Translate("Tab"), "A\tb");
        D.SetLanguage(3);
        EXPECT_EQ(D.Translate("Open"), RussianOpen);
        EXPECT_EQ(D.GetLanguage(3)->NativeName, RussianName);
    }
};

} // namespace

TEST_F(TextDictionaries, EightBitFilesDecodeEachColumnInItsLanguagesCodePage)
{
    Files(AnsiLanguages(), AnsiTranslations());
    ExpectSampleTranslations();
}

TEST_F(TextDictionaries, Utf8AndUtf16FilesConvertWithoutLoss)
{
    Files(LanguageLines, TranslationLines, ivtfUTF8);
    ExpectSampleTranslations();
}

TEST_F(TextDictionaries, Utf16IsDetectedByItsMark)
{
    Files(Utf16Le(LanguageLines), Utf16Le(TranslationLines));
    EXPECT_EQ(D.GetFileFormat(D.GetFileName()), ivtfUTF16);
    ExpectSampleTranslations();
    // Without a mark the file is 8-bit text unless the format says otherwise.
    EXPECT_EQ(D.GetFileFormat(Folder.Write("plain.txt", "Open\tx")), ivtfAnsi);
}

TEST_F(TextDictionaries, TheFirstLineDecidesTheContextColumns)
{
    Files(LanguageLines, "Open\tmnuOpen\t" + Oeffnen + "\t\t\r\nOpen\tbtnOpen\tAufmachen\t\t\r\n", ivtfUTF8);
    OpenIn(1);
    EXPECT_EQ(D.GetContextType(), 1u << ivctComponent);
    EXPECT_EQ(D.TranslateContext("Open", "", "btnOpen"), "Aufmachen");
    EXPECT_EQ(D.TranslateContext("Open", "", "mnuOpen"), Oeffnen);

    TIvTextLine line;
    line.Bytes = "a\tb\tc\td\te";
    EXPECT_EQ(TIvTextDictionary::GetContextType(line, 5), 0);
    EXPECT_EQ(TIvTextDictionary::GetContextType(line, 3), (1u << ivctForm) | (1u << ivctComponent));
}

TEST_F(TextDictionaries, ARowWithoutTranslationOrFallbackIsMissing)
{
    Files(LanguageLines, TranslationLines, ivtfUTF8);
    OpenIn(2);
    D.SetMissingTranslation(ivmtRaiseException);
    EXPECT_EQ(RaisedMessage([&] { D.Translate("Close"); }), "Translation for the word \"Close\" is missing");
    // The native language answers every row with its own text.
    D.SetLanguage(0);
    EXPECT_EQ(D.Translate("Close"), "Close");
}

TEST_F(TextDictionaries, ShortLanguageLinesAreUsedAndReportedIncomplete)
{
    TIvTextLine line;
    line.Bytes = "German\tDeutsch\t7\t\t1\tArial\t9\t0\t0\t1252";
    TIvLanguage language;
    EXPECT_TRUE(TIvTextDictionary::GetLanguage(line, language, 1252));
    EXPECT_EQ(language.FontName, "Arial");
    EXPECT_EQ(language.FontSize, 9);
    line.Bytes += "\tde\tDE\tDE";
    EXPECT_FALSE(TIvTextDictionary::GetLanguage(line, language, 1252));

    TIvLocale locale;
    line.Bytes = "7\t3\t0\tGerman\tDeutsch\tAustria\t" + Encode(OE "sterreich", 1252) + "\t1252\t0\t"
        + Encode(Euro, 1252);
    EXPECT_TRUE(TIvTextDictionary::GetLocale(line, locale, 1252));
    EXPECT_EQ(locale.NativeCountryName, OE "sterreich");
    EXPECT_EQ(locale.CurrencySymbol, Euro);
}

TEST_F(TextDictionaries, MissingSourcesHaveTheirMessages)
{
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    std::vector<std::unique_ptr<TIvLocale>> locales;
    EXPECT_FALSE(D.CanBeOpened());
    EXPECT_EQ(RaisedMessage([&] { D.GetLanguageDatas(languages); }), "No language file given");
    std::string missing = Folder.Path("missing.txt");
    D.SetLanguageFileName(missing);
    EXPECT_EQ(
        RaisedMessage([&] { D.GetLanguageDatas(languages); }), "Language file \"" + missing + "\" not found");
    D.SetLocaleFileName(missing);
    EXPECT_EQ(RaisedMessage([&] { D.GetLocaleDatas(locales); }), "Locale file \"" + missing + "\" not found");

    Files(LanguageLines, TranslationLines);
    D.SetFileName(missing);
    D.SetLocaleFileName("");
    EXPECT_EQ(D.GetLocaleCount(), 0);
    D.GetLocaleDatas(locales);
    EXPECT_TRUE(locales.empty());
    EXPECT_EQ(RaisedMessage([&] { OpenIn(1); }), "Translation file \"" + missing + "\" not found");
    D.Close();
    D.SetFileName("");
    EXPECT_EQ(RaisedMessage([&] { OpenIn(1); }), "No translation file given");
}

TEST_F(TextDictionaries, ResourcesAreTheThreeNamedBlocks)
{
    IvRegisterResource(IvLineResourceType, TIvTextDictionary::LanguageResource, LanguageLines);
    D.SetStorage(ivsResource);
    D.SetFormat(ivtfUTF8);
    D.SetCheckLevel(ivclNone);
    EXPECT_EQ(D.GetLanguageCount(), 4);
    EXPECT_EQ(D.GetLocaleCount(), 0); // the locales are optional
    EXPECT_EQ(RaisedMessage([&] { OpenIn(1); }), "Could not open the resource MlTranslation");
    IvRegisterResource(IvLineResourceType, TIvTextDictionary::TranslationResource, Utf16Le(TranslationLines));
    D.SetFormat(ivtfDetect); // the translations are found to be UTF-16
    D.Close();
    D.Open();
    EXPECT_EQ(D.Translate("Save"), "Speichern");
    IvUnregisterResource(IvLineResourceType, TIvTextDictionary::LanguageResource);
    IvUnregisterResource(IvLineResourceType, TIvTextDictionary::TranslationResource);
}

TEST_F(TextDictionaries, StoringInAFormNeedsBothFilesAnd8BitText)
{
    FakePrompts prompts;
    D.SetStorage(ivsEmbedded);
    D.SetFileName("trans.txt");
    EXPECT_EQ(RaisedMessage([&] { D.CheckFileNamesForStoring(); }), "No language file assigned");
    D.SetFileName("");
    D.SetLanguageFileName("lang.txt");
    EXPECT_EQ(RaisedMessage([&] { D.CheckFileNamesForStoring(); }), "No translation file assigned");

    D.SetStorage(ivsFile);
    Files(Utf16Le(LanguageLines), TranslationLines);
    D.SetStorage(ivsEmbedded);
    TIvWriter writer;
    prompts.Answer(platform::mrOk);
    EXPECT_FALSE(D.WriteLanguages(writer));
    ASSERT_EQ(prompts.Log.size(), 1u);
    EXPECT_EQ(prompts.Log[0].Text,
        "Can not use a UTF-16 file " + Folder.Path("lang.txt") + ". No table data was stored!");
    EXPECT_TRUE(writer.Data().empty());
}
