#include "FakeNls.h"
#include "Ivcustdic.h"
#include "Ivsupport.h"
#include "Nls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>
#include <unistd.h>

TEST(Identifiers, LanguageAndLocaleArithmetic)
{
    EXPECT_EQ(IvMakeLangId(7, 3), 0x0C07u);
    EXPECT_EQ(IvMakeLangId(9, 1), 0x0409u);
    EXPECT_EQ(IvMakeLcId(0x0407, 1), 0x10407u);
    EXPECT_EQ(IvGetPrimaryFromLocale(0x10C07), 7);
    EXPECT_EQ(IvGetSubFromLocale(0x10C07), 3);
    EXPECT_EQ(IvGetPrimaryFromLocale(IvMakeLangId(0x3FF, 0x3F)), 0x3FF);
    EXPECT_EQ(IvGetSubFromLocale(IvMakeLangId(0x3FF, 0x3F)), 0x3F);
}

TEST(CodePages, ChineseByVariantAndFallbackTableWhenTheSystemHasNone)
{
    FakeNls nls;
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(4, 3)), 950);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(4, 1)), 950);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(4, 4)), 936);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(4, 2)), 936);
    EXPECT_EQ(IvLangIdToCodePage(0x0419), 1251); // from the system
    // Unknown to the (fake) system: the table by primary language.
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(1, 1)), 1256);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(8, 1)), 1253);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(17, 1)), 932);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(26, 2)), 1250);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(26, 3)), 1251);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(44, 2)), 1251);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(44, 1)), 1254);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(38, 1)), 1257);
    EXPECT_EQ(IvLangIdToCodePage(IvMakeLangId(57, 1)), 1252); // Hindi: Unicode only, then the default
}

TEST(CodePages, CharsetTables)
{
    EXPECT_EQ(IvCodePageToCharset(1252), 0);
    EXPECT_EQ(IvCodePageToCharset(1250), 238);
    EXPECT_EQ(IvCodePageToCharset(1251), 204);
    EXPECT_EQ(IvCodePageToCharset(932), 128);
    EXPECT_EQ(IvCodePageToCharset(1361), 130);
    EXPECT_EQ(IvCodePageToCharset(437), 1);
    EXPECT_EQ(IvCodePageTableEntry(22).CodePage, 1258);
    EXPECT_EQ(IvCodePageTableEntry(8).CodePage, 0);
    EXPECT_EQ(IvCodePageTableEntry(40).CodePage, 0);

    EXPECT_EQ(IvCharsetToCode(ivcsDefault), 1);
    EXPECT_EQ(IvCharsetToCode(ivcsOEM), 255);
    EXPECT_EQ(IvCharsetToCode(ivcsMac), 77);
    EXPECT_EQ(IvCharsetToCode(ivcsVietnamese), 163);
    for (int i = 0; i < IvFontCharsetCount; ++i)
        EXPECT_EQ(IvCodeToCharset(IvCharsetToCode(static_cast<TIvFontCharset>(i))), i);
    try {
        IvCodeToCharset(3);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid charset code");
    }
}

TEST(CodePages, CharsetOfALanguageFollowsItsCodePage)
{
    FakeNls nls;
    EXPECT_EQ(IvLangIdToCharset(0x0419), 204);
    EXPECT_EQ(IvLangIdToCharset(0x0407), 0);
    EXPECT_EQ(IvGetCharsetInfo(0x0439).CodePage, 1252); // no 8-bit code page: entry 0
}

TEST(CodePages, CharacterSetTypesAndSupport)
{
    FakeNls nls;
    EXPECT_TRUE(IvIsLocaleBidirectional(0x0401));
    EXPECT_TRUE(IvIsLocaleBidirectional(0x040D));
    EXPECT_TRUE(IvIsLocaleBidirectional(0x0429));
    EXPECT_TRUE(IvIsLocaleMultiByte(0x0411));
    EXPECT_TRUE(IvIsLocaleMultiByte(0x0804));
    EXPECT_TRUE(IvIsLocaleSingleByte(0x0407));

    EXPECT_TRUE(IvIsCodePageSupportedBySystem(0));
    EXPECT_TRUE(IvIsCodePageSupportedBySystem(1251));
    EXPECT_FALSE(IvIsCodePageSupportedBySystem(1361));
    EXPECT_TRUE(IvIsLocaleSupportedByCodePage(0x0407));
    EXPECT_FALSE(IvIsLocaleSupportedByCodePage(0x0419));
    EXPECT_TRUE(IvIsLocaleSupportedByCodePage(0x0409));
    nls.SystemCodePage = 1251;
    EXPECT_TRUE(IvIsLocaleSupportedByCodePage(0x0419));
    EXPECT_TRUE(IvIsLocaleSupportedByCodePage(0x0409)); // English always
}

TEST(Comparisons, BinaryOrderUsesUnsignedBytesAndPrefixesFirst)
{
    EXPECT_LT(IvCompareBinary("Save", "Save As"), 0);
    EXPECT_GT(IvCompareBinary("Save As", "Save"), 0);
    EXPECT_EQ(IvCompareBinary("", ""), 0);
    EXPECT_LT(IvCompareBinary("", "a"), 0);
    EXPECT_LT(IvCompareBinary("Z", "a"), 0); // case-sensitive byte order
    EXPECT_LT(IvCompareBinary("a\x7F", "a\x80"), 0);
    EXPECT_LT(IvCompareBinary("z", "\xC3\xA9"), 0);
    EXPECT_LT(IvWideCompareBinary(u"Save", u"Save As"), 0);
    EXPECT_LT(IvWideCompareBinary(u"z", u"\u00E9"), 0);
}

TEST(Comparisons, LocaleAwareThroughIcu)
{
    // é sorts with e under a real collation, not after z as bytes do.
    EXPECT_LT(IvCompareStr("\xC3\xA9t\xC3\xA9", "zebra", 0x040C), 0);
    EXPECT_EQ(IvCompareText("SAVE", "save", 0x0409), 0);
    EXPECT_NE(IvCompareStr("SAVE", "save", 0x0409), 0);
    EXPECT_EQ(IvWideCompareText(u"ABC", u"abc", 0x0409), 0);
    EXPECT_EQ(GetCompareOptions(true), NORM_IGNORECASE);
    EXPECT_EQ(GetCompareOptions(false), 0u);
    EXPECT_EQ(MaxInteger(3, -4), 3);
    EXPECT_EQ(MinInteger(3, -4), -4);
}

TEST(Conversions, CodePagesToUtf16AndBack)
{
    EXPECT_EQ(IvStrToWStr("caf\xE9", 1252), u"caf\u00E9");
    EXPECT_EQ(IvWStrToStr(u"caf\u00E9", 1252), "caf\xE9");
    EXPECT_EQ(IvStrToWStr("\xCF\xF0\xE8", 1251), u"\u041F\u0440\u0438");
    EXPECT_EQ(IvWStrToStr(u"\u041F", 1252), "?"); // not in the code page
    EXPECT_EQ(IvStrToWStr("", 1252), u"");
    EXPECT_EQ(IvWStrToStr(u"", 1252), "");
    EXPECT_EQ(IvStrLen("\x82\xA0", 932), 1); // one double-byte character
    char16_t buffer[4] = { u'x', u'x', u'x', u'x' };
    IvWStrPCopy(buffer, u"ab");
    EXPECT_EQ(std::u16string(buffer), u"ab");

    uint16_t w = 0x1234;
    IvChangeWordByteOrder(w);
    EXPECT_EQ(w, 0x3412);
    uint32_t d = 0x12345678;
    IvChangeDWordByteOrder(d);
    EXPECT_EQ(d, 0x78563412u);
    std::u16string s = u"\u0102\u0304";
    IvChangeStringByteOrder(s);
    EXPECT_EQ(s, u"\u0201\u0403");
}

TEST(Conversions, KeptConvertersGiveWhatFreshOnesGive)
{
    auto& icu = platform::IcuNls();
    // Code pages in turn, each conversion as if it were the first: an
    // unfinished double-byte character does not spill into the next text,
    // and what a code page lacks still becomes '?' after the other direction.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(icu.ToUtf16("caf\xE9", 1252), u"caf\u00E9");
        EXPECT_EQ(icu.ToUtf16("\xCF\xF0\xE8", 1251), u"\u041F\u0440\u0438");
        EXPECT_EQ(icu.ToUtf16("\x82\xA0", 932), u"\u3042");
        EXPECT_EQ(icu.ToUtf16("\x82", 932), u"\x1A"); // the code page's substitute
        EXPECT_EQ(icu.ToUtf16("A", 932), u"A");
        EXPECT_EQ(icu.FromUtf16(u"\u041F\u00E9", 1252), "?\xE9");
        EXPECT_EQ(icu.FromUtf16(u"\u041F\u00E9", 1251), "\xCF?");
        EXPECT_EQ(icu.FromUtf16(u"\u3042", 932), "\x82\xA0");
        // A code page that does not open reads as 1252, and stays unsupported.
        EXPECT_EQ(icu.ToUtf16("\xE9", 12345), u"\u00E9");
        EXPECT_EQ(icu.FromUtf16(u"\u041F", 12345), "?");
        EXPECT_FALSE(icu.IsCodePageSupported(12345));
        EXPECT_TRUE(icu.IsCodePageSupported(1251));
    }

    // Each thread converts with converters of its own.
    std::vector<std::thread> threads;
    std::atomic<int> wrong { 0 };
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            const bool cyrillic = t % 2 == 0;
            for (int i = 0; i < 2000; ++i) {
                std::string text = cyrillic ? "\xCF\xF0\xE8" : "\x82\xA0\x82\xA2";
                std::u16string wide = cyrillic ? u"\u041F\u0440\u0438" : u"\u3042\u3044";
                int codePage = cyrillic ? 1251 : 932;
                if (icu.ToUtf16(text, codePage) != wide || icu.FromUtf16(wide, codePage) != text)
                    ++wrong;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

TEST(IcuNames, HandfulOfLocales)
{
    platform::NlsLocaleInfo info;
    auto& icu = platform::IcuNls();
    struct Case {
        uint32_t Lcid;
        const char* Iso;
        const char* Country;
        const char* English;
        const char* Native;
        int CodePage;
    } cases[] = {
        { 0x0409, "en", "US", "English", "English", 1252 },
        { 0x0407, "de", "DE", "German", "Deutsch", 1252 },
        { 0x0C07, "de", "AT", "German", "Deutsch", 1252 },
        { 0x040C, "fr", "FR", "French",
            "fran\xC3\xA7"
            "ais",
            1252 },
        { 0x0419, "ru", "RU", "Russian", "\xD1\x80\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9", 1251 },
        { 0x0411, "ja", "JP", "Japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 932 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Lcid);
        ASSERT_TRUE(icu.LocaleInfo(c.Lcid, info));
        EXPECT_EQ(info.IsoLanguage, c.Iso);
        EXPECT_EQ(info.IsoCountry, c.Country);
        EXPECT_EQ(info.EnglishLanguage, c.English);
        EXPECT_EQ(info.NativeLanguage, c.Native);
        EXPECT_EQ(icu.DefaultAnsiCodePage(c.Lcid), c.CodePage);
        EXPECT_EQ(icu.LcidOfLocaleName(icu.LocaleName(c.Lcid)), c.Lcid);
    }
    EXPECT_EQ(icu.LocaleName(0), "");
    EXPECT_FALSE(icu.LocaleInfo(0, info));
    EXPECT_EQ(icu.DefaultAnsiCodePage(0x0804), 936);
    EXPECT_EQ(icu.DefaultAnsiCodePage(0x0404), 950);
    EXPECT_EQ(icu.DefaultAnsiCodePage(0x0C1A), 1251); // Serbian, Cyrillic
    EXPECT_EQ(icu.DefaultAnsiCodePage(0x081A), 1250); // Serbian, Latin
    EXPECT_TRUE(icu.IsCodePageSupported(1252));
    EXPECT_TRUE(icu.IsCodePageSupported(932));
    EXPECT_FALSE(icu.IsCodePageSupported(0));
}

// The names alone read the same as the full data, before it was gathered and after.
TEST(IcuNames, LocaleNamesAgreeWithTheFullLocaleData)
{
    auto& icu = platform::IcuNls();
    for (uint32_t lcid : { 0x0410u, 0x0816u, 0x0419u }) {
        SCOPED_TRACE(lcid);
        platform::NlsLocaleInfo names, full, again;
        ASSERT_TRUE(icu.LocaleNames(lcid, names));
        EXPECT_TRUE(names.ShortDateFormat.empty()); // formats are not gathered
        ASSERT_TRUE(icu.LocaleInfo(lcid, full));
        ASSERT_TRUE(icu.LocaleNames(lcid, again));
        for (const auto* n : { &names, &again }) {
            EXPECT_EQ(n->IsoLanguage, full.IsoLanguage);
            EXPECT_EQ(n->IsoCountry, full.IsoCountry);
            EXPECT_EQ(n->EnglishLanguage, full.EnglishLanguage);
            EXPECT_EQ(n->EnglishCountry, full.EnglishCountry);
            EXPECT_EQ(n->NativeLanguage, full.NativeLanguage);
            EXPECT_EQ(n->NativeCountry, full.NativeCountry);
            EXPECT_EQ(n->AnsiCodePage, full.AnsiCodePage);
        }
        EXPECT_FALSE(full.ShortDateFormat.empty());
    }
    platform::NlsLocaleInfo none;
    EXPECT_FALSE(icu.LocaleNames(0, none));
}

TEST(IcuNames, LocaleConventionsOfGermany)
{
    TIvLocale l;
    ASSERT_TRUE(GetSystemLocaleData(0x0407, l));
    EXPECT_EQ(l.DecimalSeparator, ',');
    EXPECT_EQ(l.ThousandSeparator, '.');
    EXPECT_EQ(l.TimeSeparator, ':');
    EXPECT_EQ(l.TimeFormat, ivtf24);
    EXPECT_EQ(l.LongMonthNames[2], "M\xC3\xA4rz");
    EXPECT_EQ(l.LongDayNames[0], "Montag");
    EXPECT_EQ(l.LongDayNames[6], "Sonntag");
    EXPECT_EQ(l.CodePage, 1252);
    EXPECT_EQ(l.GetLocale(), 0x0407u);
}

TEST(Environment, PosixLocaleNames)
{
    EXPECT_EQ(platform::LcidOfPosixLocale("C"), 0x0409u);
    EXPECT_EQ(platform::LcidOfPosixLocale("POSIX"), 0x0409u);
    EXPECT_EQ(platform::LcidOfPosixLocale("C.UTF-8"), 0x0409u);
    EXPECT_EQ(platform::LcidOfPosixLocale("de_AT.UTF-8@euro"), 0x0C07u);
    EXPECT_EQ(platform::LcidOfPosixLocale("fr_FR"), 0x040Cu);
    EXPECT_EQ(platform::LcidOfPosixLocale("xx_YY"), 0x0409u);
}

TEST(ComposedNames, QualifiersByLanguageAndCodePage)
{
    EXPECT_EQ(ComposeLanguageName("Chinese (Taiwan)", 4, false, nullptr, 950), "Chinese, Traditional");
    EXPECT_EQ(ComposeLanguageName("Chinese", 4, false, nullptr, 936), "Chinese, Simplified");
    EXPECT_EQ(ComposeLanguageName("Norwegian Bokmal", 20, false, nullptr, 1252), "Norwegian");
    EXPECT_EQ(ComposeLanguageName("Serbian Latin", 26, false, nullptr, 1250), "Serbian, Latin");
    EXPECT_EQ(ComposeLanguageName("Serbian", 26, false, nullptr, 1251), "Serbian, Cyrillic");
    EXPECT_EQ(ComposeLanguageName("Korean", 18, false, nullptr, 1361), "Korean, Johab");
    EXPECT_EQ(ComposeLanguageName("German", 7, false, nullptr, 1252), "German");
    EXPECT_EQ(ComposeCountryName("Norway", 20, false, nullptr, 1252, 2), "Norway, Nynorsk");
    EXPECT_EQ(ComposeCountryName("Serbia", 26, false, nullptr, 1250, 2), "Serbia, Latin");
    EXPECT_EQ(ComposeCountryName("Croatia", 26, false, nullptr, 1250, 1), "Croatia");
    EXPECT_EQ(ComposeLocaleName("German", "Austria", false, nullptr, 1252, 3, 7), "German (Austria)");
    EXPECT_EQ(
        ComposeLocaleName("Chinese", "Taiwan", false, nullptr, 950, 1, 4), "Chinese, Traditional (Taiwan)");
    EXPECT_EQ(ComposeLocaleName("Uzbek", "Uzbekistan", false, nullptr, 0, 0, 67), "Uzbek");
}

TEST(Files, FileAgeAndTempNames)
{
    std::string name = IvGetTempFileName("ivt");
    ASSERT_FALSE(name.empty());
    EXPECT_NE(name, IvGetTempFileName("ivt"));
    int age = MlFileAge(name, true);
    EXPECT_NE(age, -1);
    int year = 1980 + ((static_cast<uint32_t>(age) >> 25) & 0x7F);
    EXPECT_GE(year, 2020);
    EXPECT_EQ(MlFileAge("/nonexistent/file", true), -1);
    EXPECT_EQ(MlFileAge("/tmp", true), -1);
    std::remove(name.c_str());
}

TEST(Fonts, FamiliesComeFromTheInstalledSource)
{
    EXPECT_EQ(IvGetSupportedCharsets(), 0u);
    IvSetFontFamilySource([](int code) -> std::vector<std::string> {
        if (code == 1)
            return { "Arial", "Courier", "Symbolic" };
        if (code == 204)
            return { "Arial", "Courier" };
        if (code == 161)
            return { "Arial" };
        return {};
    });
    TIvFontCharsets sets = IvGetSupportedCharsets();
    EXPECT_TRUE(sets & IvCharsetBit(ivcsRussian));
    EXPECT_TRUE(sets & IvCharsetBit(ivcsGreek));
    EXPECT_FALSE(sets & IvCharsetBit(ivcsThai));
    std::vector<std::string> names;
    IvGetFontNames(IvCharsetBit(ivcsRussian) | IvCharsetBit(ivcsGreek), names);
    EXPECT_EQ(names, std::vector<std::string>({ "Arial" }));
    names.clear();
    IvGetFontNamesOfCharset(204, names);
    EXPECT_EQ(names.size(), 2u);
    IvSetFontFamilySource(nullptr);
}

TEST(Settings, MissingRuntimeValueGivesTheDefault)
{
    EXPECT_EQ(GetMLRegistryValue("NoSuchValueHere", "fallback"), "fallback");
}
