#include "FakeNls.h"
#include "MldSamples.h"
#include "TempFolder.h"

#include <QResource>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads every record of every section.
void ReadEverything(const std::string& bytes)
{
    TIvMLDFile f;
    f.OpenStream(std::make_unique<TIvMemoryStream>(bytes));
    for (int i = 0; i < f.GetLanguageCount(); ++i)
        f.GetLanguage(i);
    for (int i = 0; i < f.GetLocaleCount(); ++i)
        f.GetLocale(i);
    f.GoTranslationSection();
    TIvContext context;
    std::vector<std::string> strings;
    for (int i = 0; i < f.GetTranslationCount(); ++i)
        f.GetTranslations(context, strings);
    TIvMLDInfo info;
    f.GetInfo(info);
}

void PutWord(std::string& bytes, size_t at, uint16_t v)
{
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

void PutDWord(std::string& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (8 * i));
}

using Form = std::tuple<int, TIvByteOrder, bool, TIvContextCode>;

class EveryForm : public ::testing::TestWithParam<Form> {
protected:
    FakeNls Nls;
    int Version() const { return std::get<0>(GetParam()); }
    TIvMLDContent Content() const
    {
        auto [version, order, unicode, code] = GetParam();
        return SampleContent(version, order, unicode, code);
    }
};

} // namespace

TEST_P(EveryForm, LanguagesLocalesAndInformationReadAsWritten)
{
    ResourceDictionary r(IvWriteMLD(Content()));
    TIvBinaryDictionary& d = r.D;
    ASSERT_EQ(d.GetLanguageCount(), 4);
    TIvLanguage* russian = d.GetLanguage(3);
    EXPECT_EQ(russian->PrimaryId, 25);
    EXPECT_EQ(russian->GetCodePage(), 1251);
    EXPECT_EQ(russian->NativeName, RussianName);
    EXPECT_EQ(russian->FontName, "Tahoma");
    EXPECT_EQ(russian->FontSize, 8);
    TIvLanguage* austria = d.GetLanguage(2);
    EXPECT_EQ(austria->EnglishName, "German (Austria)");
    EXPECT_EQ(austria->NativeName, "Deutsch (" OE "sterreich)");
    EXPECT_EQ(austria->GetAllSubs(), "3");
    // Version 1 has no ISO codes; they come from the system's locale data.
    EXPECT_EQ(austria->IsoCountry, "AT");
    EXPECT_EQ(austria->GetISOAllCountries(), Version() >= 2 ? "AT,LI" : "");

    ASSERT_EQ(d.GetLocaleCount(), 1);
    TIvLocale* locale = d.GetLocale(0);
    TIvLocale expected = SampleLocale();
    EXPECT_EQ(locale->NativeCountryName, expected.NativeCountryName);
    EXPECT_EQ(locale->CurrencySymbol, Euro);
    EXPECT_EQ(locale->ThousandSeparator, '.');
    EXPECT_EQ(locale->DecimalSeparator, ',');
    EXPECT_EQ(locale->LongMonthNames[0], expected.LongMonthNames[0]);
    EXPECT_EQ(locale->LongDayNames[6], "Sonntag");
    EXPECT_EQ(locale->FirstWeekOfYear, 2);
    EXPECT_EQ(locale->TimeFormat, ivtf24);
    EXPECT_EQ(locale->IsoCountry, Version() >= 2 ? "AT" : "");

    auto file = d.OpenFile();
    TIvMLDInfo info;
    // Version 1 has no information section.
    EXPECT_EQ(file->GetInfo(info), Version() >= 2);
    EXPECT_EQ(info.Description, Version() >= 2 ? "PX10Tool dictionary" : "");
    EXPECT_EQ(info.Users.size(), Version() >= 2 ? 2u : 0u);
    EXPECT_EQ(info.Date.Year, Version() >= 3 ? 2024 : 0);
}

TEST_P(EveryForm, ALocaleFoundByItsIdIsTheRecordAtItsIndex)
{
    TIvMLDContent c = Content();
    TIvLocale swiss = SampleLocale();
    swiss.SubId = 2;
    swiss.IsoCountry = "CH";
    swiss.NativeCountryName = "Schweiz";
    swiss.CurrencySymbol = "CHF";
    swiss.ThousandSeparator = '\'';
    TIvLocale french = SampleLocale();
    french.PrimaryId = 12;
    french.SubId = 1;
    french.IsoLanguage = "fr";
    french.IsoCountry = "FR";
    french.NativeCountryName = "France";
    french.LongDayNames[6] = "dimanche";
    c.Locales = { SampleLocale(), swiss, french };
    ResourceDictionary r(IvWriteMLD(c));
    TIvBinaryDictionary& d = r.D;
    ASSERT_EQ(d.GetLocaleCount(), 3);
    // The last first: each lookup starts from the section's beginning again.
    for (int i : { 2, 0, 1 }) {
        SCOPED_TRACE(i);
        TIvLocale byId;
        ASSERT_TRUE(d.GetLocaleDataById(c.Locales[i].GetLocale(), byId));
        EXPECT_EQ(byId.GetLocale(), d.GetLocale(i)->GetLocale());
        EXPECT_EQ(byId.NativeCountryName, c.Locales[i].NativeCountryName);
        EXPECT_EQ(byId.CurrencySymbol, c.Locales[i].CurrencySymbol);
        EXPECT_EQ(byId.ThousandSeparator, c.Locales[i].ThousandSeparator);
        EXPECT_EQ(byId.LongDayNames[6], c.Locales[i].LongDayNames[6]);
    }
    // A locale the dictionary lacks is the system's.
    TIvLocale germany;
    ASSERT_TRUE(d.GetLocaleDataById(0x0407, germany));
    EXPECT_EQ(germany.NativeCountryName, "Germany");
    TIvLocale none;
    EXPECT_FALSE(d.GetLocaleDataById(0x0413, none));
}

TEST_P(EveryForm, EachLanguageTakesItsColumnOrItsFallback)
{
    ResourceDictionary r(IvWriteMLD(Content()));
    TIvBinaryDictionary& d = r.Open(2);
    EXPECT_EQ(d.GetFallbackLanguageIndex(), 1);
    EXPECT_EQ(d.TranslateContext("Open", "frmMain", "mnuOpen"), Oeffnen); // from German
    EXPECT_EQ(d.Translate("Save"), "Sichern");
    EXPECT_EQ(d.Translate("Save As"), "Speichern unter");
    EXPECT_EQ(d.Translate("Exit"), "Beenden");
    EXPECT_EQ(d.Translate("Close"), "Close"); // both columns empty: the row is dropped
    EXPECT_FALSE(d.DoesTranslationExist("Close"));

    d.SetLanguage(3);
    EXPECT_EQ(d.Translate("Open"), RussianOpen);
    EXPECT_EQ(d.Translate("Exit"), RussianExit);
    EXPECT_EQ(d.Translate("Save"), "Save"); // no fallback language for Russian

    // The native language has no column: every text stays as it is.
    d.SetLanguage(0);
    EXPECT_EQ(d.GetTranslationCount(), 0);
    EXPECT_EQ(d.Translate("Open"), "Open");
}

TEST_P(EveryForm, ContextsAreReadWhereTheCodeSaysSo)
{
    auto code = std::get<3>(GetParam());
    ResourceDictionary r(IvWriteMLD(Content()));
    TIvBinaryDictionary& d = r.Open(1);
    EXPECT_EQ(d.GetContextType(), IvContextCodeToType(code));
    if (code == ivccFull) {
        EXPECT_EQ(d.TranslateContext("Open", "frmAbout", "btnOpen"), "Aufmachen");
        EXPECT_EQ(d.TranslateContext("Open", "frmMain", "mnuOpen"), Oeffnen);
    }
    auto file = d.OpenFile();
    file->GoTranslationSection();
    TIvContext context;
    std::vector<std::string> strings;
    file->GetTranslations(context, strings);
    EXPECT_EQ(strings.size(), 4u);
    EXPECT_EQ(context.Form, (code == ivccFull || code == ivccForm) ? "frmMain" : "");
    EXPECT_EQ(context.Component, (code == ivccFull || code == ivccComponent) ? "mnuOpen" : "");
    // The next row has no Russian text: the German column stands in.
    EXPECT_EQ(file->GetColumn(3, 1, 1251, 1252), "Speichern");
    EXPECT_EQ(file->GetColumn(0, 1, 1251, 1252), "Save As");
}

INSTANTIATE_TEST_SUITE_P(Mld, EveryForm,
    ::testing::Combine(::testing::Values(1, 2, 3), ::testing::Values(ivboLittleEndian, ivboBigEndian),
        ::testing::Bool(), ::testing::Values(ivccFlat, ivccFull, ivccComponent, ivccForm)));

TEST(MldFile, BigEndianUtf16ReadsTheSameTextsAsItsLittleEndianTwin)
{
    FakeNls nls;
    std::string little = IvWriteMLD(SampleContent(3, ivboLittleEndian, true));
    std::string big = IvWriteMLD(SampleContent(3, ivboBigEndian, true));
    EXPECT_NE(little, big);
    ResourceDictionary a(little);
    std::string fromLittle = a.Open(3).Translate("Open");
    ResourceDictionary b(big);
    EXPECT_EQ(b.Open(3).Translate("Open"), fromLittle);
}

TEST(MldFile, TheWriterPinsTheFormat)
{
    FakeNls nls;
    TIvMLDContent c;
    c.Version = 2;
    c.Unicode = false;
    c.HasInfo = false;
    c.Languages = { SampleLanguage(9, 1, 1252, "E", "E") };
    c.Languages[0].FontName.clear();
    c.Languages[0].FontSize = 0;
    c.Rows = { { "A", "", "", {} } };
    std::string expected("MLD\x02\x01\x01\x00\x00"
                         "\x00\x00\x00\x00"
                         "\x01\x00\x2A\x00\x00\x00" // one language at 42
                         "\x01\x00\x42\x00\x00\x00" // one row at 66
                         "\x00\x00\x00\x00\x00\x00" // no locales
                         "\x00\x00\x00\x00\x00\x00" // no information
                         "\x00\x00\x00\x00\x00\x00"
                         // language: primary, ISO, sub, ISO, subs, countries, code page, options, names, font
                         "\x09\x00"
                         "\x00\x00"
                         "\x01\x00"
                         "\x00\x00"
                         "\x00\x00"
                         "\x00\x00"
                         "\xE4\x04"
                         "\x00"
                         "\x01\x00"
                         "E"
                         "\x01\x00"
                         "E"
                         "\x00\x00"
                         "\x00"
                         // row
                         "\x01\x00"
                         "A",
        69);
    EXPECT_EQ(IvWriteMLD(c), expected);
}

TEST(MldFile, VersionOneTakesTheCharacterSetFromByteSeven)
{
    FakeNls nls;
    for (bool unicode : { false, true }) {
        std::string bytes = IvWriteMLD(SampleContent(1, ivboLittleEndian, unicode));
        // The writer leaves the other kind in byte 5; garbage in the information entry is ignored.
        ASSERT_EQ(bytes[5], unicode ? 1 : 0);
        PutDWord(bytes, 32, 0xFFFFFF00u);
        TIvMLDFile f;
        f.OpenStream(std::make_unique<TIvMemoryStream>(bytes));
        EXPECT_EQ(f.IsUnicode(), unicode);
        EXPECT_EQ(f.GetHeader()[7], 0);
        TIvMLDInfo info;
        EXPECT_FALSE(f.GetInfo(info));
        ResourceDictionary r(bytes);
        EXPECT_EQ(r.Open(3).Translate("Open"), RussianOpen);
    }
}

TEST(MldFile, LaterVersionsReadAsThreeAndVersionZeroIsRefused)
{
    FakeNls nls;
    std::string bytes = IvWriteMLD(SampleContent(3, ivboLittleEndian, true));
    bytes[3] = 7;
    ResourceDictionary later(bytes);
    EXPECT_EQ(later.Open(1).Translate("Save"), "Speichern");

    for (size_t at : { 3, 0 }) {
        std::string bad = IvWriteMLD(SampleContent(3, ivboLittleEndian, true));
        bad[at] = at == 3 ? '\0' : 'X'; // version 0, or no magic
        ResourceDictionary r(bad);
        EXPECT_EQ(RaisedMessage([&] { r.Open(1); }), "The stream is not a valid MLD stream");
    }
}

TEST(MldFile, ExtraBytesAtTheEndOfVersionThreeBlocksAreSkipped)
{
    FakeNls nls;
    TIvMLDContent c = SampleContent(3, ivboBigEndian, false);
    c.ExtraBlockBytes = 9;
    ResourceDictionary r(IvWriteMLD(c));
    TIvBinaryDictionary& d = r.Open(3);
    EXPECT_EQ(d.GetLanguage(2)->EnglishName, "German (Austria)");
    EXPECT_EQ(d.GetLocale(0)->LongDayNames[6], "Sonntag");
    EXPECT_EQ(d.Translate("Exit"), RussianExit);
}

TEST(MldFile, BlockSizesSmallerThanTheirFieldsSkipNothing)
{
    FakeNls nls;
    std::string good = IvWriteMLD(SampleContent(3, ivboLittleEndian, true));
    const size_t first = 42;
    const uint16_t size = static_cast<uint8_t>(good[first]) | (static_cast<uint8_t>(good[first + 1]) << 8);
    for (uint16_t damaged : { uint16_t(0), uint16_t(1), uint16_t(size - 1) }) {
        std::string bytes = good;
        PutWord(bytes, first, damaged);
        TIvMLDFile f;
        f.OpenStream(std::make_unique<TIvMemoryStream>(bytes));
        EXPECT_EQ(f.GetLanguage(1).EnglishName, "German") << damaged;
        EXPECT_EQ(f.GetLanguage(0).EnglishName, "English") << damaged;
    }
}

TEST(MldFile, TruncationAtEveryByteRaisesAReadError)
{
    FakeNls nls;
    for (int version : { 1, 2, 3 })
        for (auto order : { ivboBigEndian, ivboLittleEndian })
            for (bool unicode : { false, true }) {
                std::string bytes = IvWriteMLD(SampleContent(version, order, unicode, ivccFull));
                ASSERT_NO_THROW(ReadEverything(bytes));
                for (size_t n = 0; n < bytes.size(); ++n)
                    ASSERT_EQ(RaisedMessage([&] { ReadEverything(bytes.substr(0, n)); }), "Stream read error")
                        << version << order << unicode << " " << n;
            }
}

TEST(MldFile, CountsLengthsAndOffsetsPastTheEndRaiseAReadError)
{
    FakeNls nls;
    const std::string good = IvWriteMLD(SampleContent(3, ivboLittleEndian, true));
    auto expectReadError = [&](const char* what, const std::function<void(std::string&)>& damage) {
        std::string bytes = good;
        damage(bytes);
        EXPECT_EQ(RaisedMessage([&] { ReadEverything(bytes); }), "Stream read error") << what;
    };
    for (size_t at : { 14, 20, 26, 32 }) {
        expectReadError(
            "offset", [&](std::string& b) { PutDWord(b, at, static_cast<uint32_t>(good.size() + 1)); });
        expectReadError("offset", [&](std::string& b) { PutDWord(b, at, 0xFFFFFFFFu); });
    }
    for (size_t at : { 12, 18, 24 })
        expectReadError("count", [&](std::string& b) { PutWord(b, at, 0xFFFF); });
    // The English name of language 0 claims 65535 characters.
    expectReadError(
        "length", [&](std::string& b) { PutWord(b, 42 + 2 + 2 + 4 + 2 + 4 + 2 + 2 + 2 + 2 + 1, 0xFFFF); });
    // The information's user count.
    expectReadError("users", [&](std::string& b) {
        size_t info = static_cast<uint8_t>(b[32]) | (static_cast<uint8_t>(b[33]) << 8);
        PutWord(b, info + 2 + 2 * 19 + 2 + 2 * 8, 0xFFFF);
    });
}

TEST(MldFile, ZeroOffsetsAndMissingSectionsHaveTheirOwnMessages)
{
    FakeNls nls;
    const std::string good = IvWriteMLD(SampleContent(3, ivboLittleEndian, true));
    auto message = [&](size_t at, auto go) {
        std::string bytes = good;
        PutDWord(bytes, at, 0);
        TIvMLDFile f;
        f.SetStream(std::make_unique<TIvMemoryStream>(bytes));
        f.Open();
        return RaisedMessage([&] { go(f); });
    };
    EXPECT_EQ(message(14, [](TIvMLDFile& f) { f.GoLanguageSection(); }), "Invalid language offset");
    EXPECT_EQ(message(20, [](TIvMLDFile& f) { f.GoTranslationSection(); }), "Invalid translation offset");
    EXPECT_EQ(message(26, [](TIvMLDFile& f) { f.GoLocaleSection(); }), "Invalid locale offset");

    TIvMLDContent c = SampleContent(3, ivboLittleEndian, true);
    c.Locales.clear();
    ResourceDictionary r(IvWriteMLD(c));
    EXPECT_EQ(r.D.GetLocaleCount(), 0);
    EXPECT_EQ(RaisedMessage([&] { r.D.OpenFile()->GoLocaleSection(); }), "No custom locales");
    EXPECT_EQ(RaisedMessage([&] { r.D.OpenFile()->GetLocale(0); }), "Out of locale range");
    EXPECT_EQ(RaisedMessage([&] { r.D.OpenFile()->GetLanguage(4); }), "Out of language range");
    EXPECT_EQ(RaisedMessage([&] { r.D.OpenFile()->GetLanguage(-1); }), "Out of language range");
}

TEST(MldFile, ADictionaryWithoutLanguagesOrColumnsLeavesTextsNative)
{
    FakeNls nls;
    for (int languages : { 0, 1 }) {
        TIvMLDContent c = SampleContent(3, ivboLittleEndian, false);
        c.Languages.resize(languages);
        std::string bytes = IvWriteMLD(c);
        if (languages == 0)
            PutDWord(bytes, 14, 0); // no language section at all
        ResourceDictionary r(bytes);
        TIvBinaryDictionary& d = r.Open(0);
        EXPECT_TRUE(d.IsOpen());
        EXPECT_EQ(d.GetTranslationCount(), 0);
        EXPECT_EQ(d.Translate("Open"), "Open");
        EXPECT_EQ(d.OpenFile()->GetTextCodePage(), 1252);
    }
}

TEST(MldFile, EightBitTextsUseTheirOwnCodePages)
{
    FakeNls nls;
    nls.SystemCodePage = 1251; // never the user's code page
    TIvMLDContent c = SampleContent(3, ivboLittleEndian, false);
    c.Rows.push_back({ "Caf\xC3\xA9", "", "", { "Caf\xC3\xA9!", "", "" } });
    ResourceDictionary r(IvWriteMLD(c));
    TIvBinaryDictionary& d = r.Open(1);
    EXPECT_EQ(d.Translate("Caf\xC3\xA9"), "Caf\xC3\xA9!");

    // A code page that the platform cannot convert is named.
    c.Languages[3].SetCodePage(1234);
    c.Languages[3].NativeName = "Russian";
    c.Rows = {};
    ResourceDictionary bad(IvWriteMLD(c));
    EXPECT_EQ(RaisedMessage([&] { bad.D.GetLanguage(3); }), "The code page 1234 cannot be converted");
}

// Sections end where the next one starts: a length or count that reaches
// past that end is damage, not the next section's bytes to read as text.
TEST(MldFile, AReadPastItsSectionOrOverlappingSectionsAreRefused)
{
    FakeNls nls;
    const std::string good = IvWriteMLD(SampleContent(3, ivboLittleEndian, false));
    auto word = [&](size_t at) { return size_t(uint8_t(good[at])) | (size_t(uint8_t(good[at + 1])) << 8); };
    auto read = [&](size_t at, size_t value) {
        std::string bytes = good;
        PutWord(bytes, at, static_cast<uint16_t>(value));
        return RaisedMessage([&] { ReadEverything(bytes); });
    };
    const size_t rows = word(20); // offsets of the sample are below 64 KiB
    size_t last = rows; // the last of the five rows' 4 texts, the locales after it
    for (int n = 0; n < 5 * 4 - 1; ++n)
        last += 2 + word(last);
    EXPECT_EQ(read(last, word(last) + 1), "Stream read error") << "one longer";
    EXPECT_EQ(read(26, rows), "Stream read error") << "the locales where the rows start";
    EXPECT_EQ(read(24, 0), "(no exception)") << "no locales: their offset is no section";

    // Loading reads no information, so only the offsets show that it starts
    // where the languages or the rows do.
    for (bool unicode : { false, true }) {
        const std::string bytes = IvWriteMLD(SampleContent(3, ivboLittleEndian, unicode));
        for (size_t at : { 14, 20 }) {
            std::string same = bytes;
            same.replace(32, 4, bytes, at, 4);
            ResourceDictionary r(same);
            EXPECT_EQ(RaisedMessage([&] { r.Open(1); }), "Stream read error") << unicode << " " << at;
        }
    }
}

TEST(MldFile, FilesAreLookedUpOnEveryQueryAndOnlyPlainFilesRead)
{
    FakeNls nls;
    auto dir = std::filesystem::temp_directory_path() / ("mldtest" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string name = (dir / "PX10Tool.mld").string();

    TIvBinaryDictionary missing;
    missing.SetFileName(name);
    missing.Open();
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Translate("Open"), "Open");

    IvSaveMLD(SampleContent(3, ivboLittleEndian, true), name);
    TIvBinaryDictionary d;
    d.SetFileName(name);
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(1);
    d.Open();
    EXPECT_EQ(d.Translate("Open"), Oeffnen);
    std::filesystem::remove(name);
    EXPECT_EQ(RaisedMessage([&] { d.GetLanguageCount(); }),
        "Cannot open file \"" + name + "\". No such file or directory");
    {
        // Every query refuses a named pipe at once: waiting for a writer
        // would hang the program.
        ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
        HangGuard guard(10);
        const std::string refused = "Cannot open file \"" + name + "\".";
        EXPECT_EQ(RaisedMessage([&] { d.GetLanguageCount(); }), refused);
        EXPECT_EQ(RaisedMessage([&] { d.GetLanguage(2); }), refused);
        EXPECT_EQ(RaisedMessage([&] { d.SetLanguage(3); }), refused);
        TIvMLDFile file;
        EXPECT_EQ(RaisedMessage([&] { file.OpenFile(name); }), refused);
    }
    std::filesystem::remove_all(dir);

    TIvBinaryDictionary resource;
    resource.SetStorage(ivsResource);
    EXPECT_EQ(RaisedMessage([&] { resource.OpenFile(); }), "No FileName property set");
}

TEST(MldFile, TheProgramsResourceIsReadThroughQtAlsoCompressed)
{
    FakeNls nls;
    QResource resource(":/MlDictionary/PAROLEX");
    ASSERT_TRUE(resource.isValid());
    EXPECT_NE(resource.compressionAlgorithm(), QResource::NoCompression);
    // The resource was made by the writer: the format stays pinned.
    std::string bytes;
    ASSERT_TRUE(IvFindResource(TIvBinaryDictionary::ResourceType, TIvBinaryDictionary::ResourceName, bytes));
    EXPECT_EQ(bytes, IvWriteMLD(SampleContent(3, ivboLittleEndian, true, ivccFull)));

    TIvBinaryDictionary d;
    d.SetStorage(ivsResource);
    d.SetFileName("PX10Tool.mld");
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(3);
    d.Open();
    EXPECT_EQ(d.TranslateContext("Open", "frmMain", "mnuOpen"), RussianOpen);
}

TEST(MldFile, CodePageTextsRoundTripInSingleAndDoubleByteCodePages)
{
    FakeNls nls;
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E abc";
    TIvCodePageText shiftJis(932);
    std::string bytes = shiftJis.FromUtf8(japanese);
    EXPECT_EQ(bytes.size(), 10u);
    EXPECT_EQ(shiftJis.ToUtf8(bytes), japanese);
    TIvCodePageText cyrillic(1251);
    EXPECT_EQ(cyrillic.ToUtf8(cyrillic.FromUtf8(RussianOpen)), RussianOpen);
    EXPECT_EQ(cyrillic.FromUtf8(RussianOpen).size(), 7u);
    EXPECT_EQ(TIvCodePageText(1252).ToUtf8("\x80"), Euro); // not Latin-1
}
