#include "FakeNls.h"
#include "MldSamples.h"
#include "TempFolder.h"
#include "support/FakePrompts.h"

#include <gtest/gtest.h>

namespace {

// The dictionary's three blocks from the sample content.
void WriteBlocks(TIvWriter& w, const TIvMLDContent& c)
{
    w.WritePropertyName("Languages");
    WriteLanguagesBlock(w, c.Languages);
    w.WritePropertyName("Translations");
    std::vector<TIvFormRow> rows;
    for (const auto& r : c.Rows)
        rows.push_back({ r.Native, r.FormContext, r.ComponentContext, r.Columns });
    WriteTranslationsBlock(w, c.ContextCode, rows);
    w.WritePropertyName("Locales");
    WriteLocalesBlock(w, c.Locales);
}

// A form whose root carries properties of every kind, a panel with a
// dictionary nested inside it, then the dictionary itself.
std::string SampleForm(const TIvMLDContent& c, bool nestedOnly = false)
{
    TIvWriter w;
    w.WriteSignature();
    w.WriteComponentHeader("TfrmAbout", "frmAbout");
    w.WritePropertyName("Caption");
    w.WriteString(std::string(300, 'c'));
    w.WritePropertyName("Tag");
    w.WriteInteger(-70000);
    w.WritePropertyName("Font.Style");
    w.WriteValue(vaSet);
    w.WriteShortText("fsBold");
    w.WriteShortText("");
    w.WritePropertyName("Columns");
    w.WriteValue(vaCollection);
    w.WriteInteger(3); // an item's order value
    w.WriteListBegin();
    w.WritePropertyName("Width");
    w.WriteInteger(200);
    w.WriteListEnd();
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteListEnd();
    w.WritePropertyName("Visible");
    w.WriteBoolean(false);
    w.WriteListEnd(); // root properties

    w.WriteComponentHeader("TPanel", "pnlTop");
    w.WriteListEnd();
    w.WriteComponentHeader(TIvBinaryDictionary::ClassName, "LanguageDictionary");
    WriteBlocks(w, c);
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd(); // panel's children

    if (!nestedOnly) {
        w.WriteComponentHeader(TIvBinaryDictionary::ClassName, "LanguageDictionary");
        w.WritePropertyName("DictionaryName");
        w.WriteString("Dictionary1");
        WriteBlocks(w, c);
        w.WriteListEnd();
        w.WriteListEnd();
    }
    w.WriteListEnd(); // root's children
    return w.Data();
}

class FormStream : public ::testing::Test {
protected:
    FakeNls Nls;
    void Form(const std::string& bytes) { IvRegisterResource(IvFormResourceType, "TfrmAbout", bytes); }
    ~FormStream() override { IvUnregisterResource(IvFormResourceType, "TfrmAbout"); }
    TIvFormLocation At() const
    {
        return { "TfrmAbout", TIvBinaryDictionary::ClassName, "LanguageDictionary" };
    }
};

} // namespace

TEST_F(FormStream, AnEmbeddedDictionaryReadsItsBlocksFromTheForm)
{
    Form(SampleForm(SampleContent(3, ivboLittleEndian, true, ivccFull)));
    TIvBinaryDictionary d;
    d.SetStorage(ivsEmbedded);
    d.SetFileName("PX10Tool.mld");
    d.SetCheckLevel(ivclNone);
    d.SetFormLocation("TfrmAbout", "LanguageDictionary");
    EXPECT_EQ(d.GetLanguageCount(), 4);
    EXPECT_EQ(d.GetFileTranslationCount(), 6);
    EXPECT_EQ(d.GetLocaleCount(), 1);
    d.SetLanguage(2);
    d.Open();
    EXPECT_EQ(d.TranslateContext("Open", "frmAbout", "btnOpen"), "Aufmachen");
    EXPECT_EQ(d.Translate("Save"), "Sichern");
    EXPECT_EQ(d.Translate("Close"), "Close");
    EXPECT_EQ(d.GetLanguage(3)->NativeName, RussianName);
    EXPECT_EQ(d.GetLocale(0)->CurrencySymbol, Euro);
    EXPECT_EQ(RaisedMessage([&] { d.GetLanguage(4); }), "Out of language range");
    EXPECT_EQ(RaisedMessage([&] { GetLocaleData(At(), 1, *d.GetCurrentLocale()); }), "Out of locale range");
}

TEST_F(FormStream, OnlyDirectChildrenOfTheRootAreSearched)
{
    Form(SampleForm(SampleContent(3, ivboLittleEndian, true), true));
    TIvLanguage language;
    EXPECT_EQ(RaisedMessage([&] { GetLanguageData(At(), 0, language); }), "Could not find the property");
}

TEST_F(FormStream, BlocksOfEveryContextCodeKeepTheirRowBoundaries)
{
    for (auto code : { ivccFlat, ivccFull, ivccComponent, ivccForm }) {
        TIvMLDContent c = SampleContent(3, ivboLittleEndian, true, code);
        TIvWriter w;
        std::vector<TIvFormRow> rows;
        for (const auto& r : c.Rows)
            rows.push_back({ r.Native, r.FormContext, r.ComponentContext, r.Columns });
        WriteTranslationsBlock(w, code, rows);
        w.WriteInteger(42); // what follows the block
        TIvReader skip(w.Data());
        EXPECT_EQ(SkipTranslations(skip, 4), static_cast<int>(rows.size()));
        EXPECT_EQ(skip.ReadInteger(), 42);

        TIvReader load(w.Data());
        TIvTranslationTable table;
        EXPECT_EQ(DoLoadTranslation(load, 3, 0, table), IvContextCodeToType(code));
        ASSERT_EQ(table.size(), 2u);
        EXPECT_EQ(table[1].Native, "Exit");
        EXPECT_EQ(table[1].Translation, RussianExit);
        EXPECT_EQ(table[1].ComponentContext, (code == ivccFull || code == ivccComponent) ? "mnuExit" : "");
    }
}

TEST_F(FormStream, DataVersionOneTranslationsHaveNoContexts)
{
    TIvWriter w;
    w.WriteListBegin();
    w.WriteInteger(1);
    w.WriteInteger(1);
    w.WriteListBegin();
    w.WriteString("Open");
    w.WriteString(Oeffnen);
    w.WriteListEnd();
    w.WriteListEnd();
    TIvReader r(w.Data());
    TIvTranslationTable table;
    EXPECT_EQ(DoLoadTranslation(r, 1, 0, table), 0);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].Translation, Oeffnen);
}

TEST_F(FormStream, DamagedStreamsRaiseCleanly)
{
    auto block = [](int version) {
        TIvWriter w;
        w.WriteListBegin();
        w.WriteInteger(version);
        w.WriteInteger(0);
        w.WriteListEnd();
        return w.Data();
    };
    TIvReader languages(block(3));
    EXPECT_EQ(RaisedMessage([&] { SkipLanguages(languages); }), "Unknown language data version: 3");
    TIvReader translations(block(3));
    EXPECT_EQ(
        RaisedMessage([&] { SkipTranslations(translations, 2); }), "Unknown translation data version: 3");
    TIvReader locales(block(9));
    EXPECT_EQ(RaisedMessage([&] { SkipLocales(locales); }), "Unknown locale data version: 9");

    TIvReader unknownTag(std::string("\x0F", 1));
    EXPECT_EQ(RaisedMessage([&] { unknownTag.SkipValue(); }), "Invalid property value");
    TIvReader pastTheEnd(std::string("\x0C\xFF\xFF\xFF\x7F"
                                     "abc",
        8));
    EXPECT_EQ(RaisedMessage([&] { pastTheEnd.SkipValue(); }), "Stream read error");
    TIvReader deep(std::string(10000, '\x01'));
    EXPECT_EQ(RaisedMessage([&] { deep.SkipValue(); }), "Form stream nested too deeply");
    // A huge count allocates nothing and ends at the end of the data.
    TIvWriter w;
    w.WriteListBegin();
    w.WriteInteger(2);
    w.WriteInteger(0x7FFFFFFF);
    TIvReader huge(w.Data());
    EXPECT_EQ(RaisedMessage([&] { SkipLanguages(huge); }), "Stream read error");

    const std::string form = SampleForm(SampleContent(3, ivboBigEndian, false, ivccFull));
    // The last three bytes only close components after the blocks.
    for (size_t n = 0; n + 3 < form.size(); n += 7) {
        Form(form.substr(0, n));
        std::vector<std::unique_ptr<TIvLocale>> list;
        EXPECT_NE(RaisedMessage([&] { GetLocaleDatas(At(), list); }), "(no exception)") << n;
    }
}

TEST_F(FormStream, TheBinaryDictionaryStoresOnly8BitFiles)
{
    TempFolder folder;
    TIvBinaryDictionary d;
    d.SetStorage(ivsEmbedded);
    FakePrompts prompts;
    d.SetFileName(folder.Write("u.mld", IvWriteMLD(SampleContent(3, ivboLittleEndian, true))));
    TIvWriter w;
    prompts.Answer(platform::mrOk);
    EXPECT_FALSE(d.WriteLanguages(w));
    EXPECT_EQ(prompts.Log.at(0).Text,
        "Can not use a Unicode MLD file " + d.GetFileName() + ". No dictionary data was stored!");

    d.SetFileName(folder.Write("a.mld", IvWriteMLD(SampleContent(2, ivboBigEndian, false, ivccForm))));
    EXPECT_TRUE(d.WriteLanguages(w));
    EXPECT_TRUE(d.WriteTranslations(w));
    EXPECT_TRUE(d.WriteLocales(w));
    TIvReader r(w.Data());
    EXPECT_EQ(SkipLanguages(r), 4);
    TIvTranslationTable table;
    EXPECT_EQ(DoLoadTranslation(r, 3, 0, table), 1u << ivctForm);
    EXPECT_EQ(table.at(0).Translation, RussianOpen);
    std::vector<std::unique_ptr<TIvLocale>> locales;
    DoGetLocaleDatas(r, locales);
    EXPECT_EQ(locales.at(0)->LongMonthNames[2], "M" AE "rz");
}
