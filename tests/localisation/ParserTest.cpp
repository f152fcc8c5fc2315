#include "Exception.h"
#include "Ivlocale.h"
#include "Ivparser.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(StringParser, SplitsFieldsIncludingEmptyOnesAndStopsAtTheEnd)
{
    TIvStringParser p("en,fr,,de", ',');
    EXPECT_EQ(p.GetString(), "en");
    EXPECT_EQ(p.GetString(), "fr");
    EXPECT_FALSE(p.Eol());
    EXPECT_EQ(p.GetString(), "");
    EXPECT_EQ(p.GetString(), "de");
    EXPECT_TRUE(p.Eol());
    // Reading on is harmless.
    EXPECT_EQ(p.GetString(), "");
    EXPECT_EQ(p.TakeChar(), '\0');
    EXPECT_EQ(p.PeekChar(), '\0');
    EXPECT_TRUE(p.Eol());
}

TEST(StringParser, TrailingSeparatorGivesNoFurtherFieldAndEmptyTextGivesNothing)
{
    TIvStringParser p("a,", ',');
    EXPECT_EQ(p.GetString(), "a");
    EXPECT_TRUE(p.Eol());

    TIvStringParser empty;
    EXPECT_TRUE(empty.Eol());
    EXPECT_EQ(empty.GetString(), "");
    EXPECT_EQ(empty.GetCurrentValue(), "");
    EXPECT_EQ(empty.GetIntegerDef(3), 3);
}

TEST(StringParser, DefaultSeparatorIsTabAndCurrentValueDoesNotConsume)
{
    TIvStringParser p;
    p.SetValue("one\ttwo");
    EXPECT_EQ(p.GetSeparator(), '\t');
    EXPECT_EQ(p.GetCurrentValue(), "one");
    EXPECT_EQ(p.PeekChar(), 'o');
    EXPECT_EQ(p.GetString(), "one");
    EXPECT_EQ(p.GetCurrentValue(), "two");
    EXPECT_EQ(p.TakeChar(), 't');
    EXPECT_EQ(p.GetString(), "wo");
}

TEST(StringParser, RemoveWhiteSpacesSkipsBlanksTabsAndLineEnds)
{
    TIvStringParser p(" \t\r\nx", ',');
    p.RemoveWhiteSpaces();
    EXPECT_EQ(p.PeekChar(), 'x');
}

TEST(StringParser, IntegersWithDefaultsAndErrors)
{
    TIvStringParser p("7,,12a,-3, 42 ,2147483648", ',');
    EXPECT_EQ(p.GetInteger(), 7);
    EXPECT_EQ(p.GetIntegerDef(7), 7); // empty field
    EXPECT_THROW(p.GetInteger(), EConvertError);
    EXPECT_EQ(p.GetInteger(), -3);
    EXPECT_EQ(p.GetInteger(), 42);
    EXPECT_THROW(p.GetInteger(), EConvertError); // beyond 32 bits
}

TEST(StringParser, BooleansAcceptTheWordsInAnyCase)
{
    TIvStringParser p("YES,No,TRUE,0,1,false,2", ',');
    EXPECT_TRUE(p.GetBoolean());
    EXPECT_FALSE(p.GetBoolean());
    EXPECT_TRUE(p.GetBoolean());
    EXPECT_FALSE(p.GetBoolean());
    EXPECT_TRUE(p.GetBoolean());
    EXPECT_FALSE(p.GetBoolean());
    try {
        p.GetBoolean();
        FAIL() << "2 is no boolean";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "2 is not a boolean value");
    }
    EXPECT_TRUE(p.GetBooleanDef(true)); // at the end
}

TEST(StringParser, FloatsUseAPointWhateverTheLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    // A locale with a decimal comma, where installed; the result must not change.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    TIvStringParser p("1.5,2,x,-0.25e1", ',');
    EXPECT_DOUBLE_EQ(p.GetFloat(), 1.5);
    EXPECT_DOUBLE_EQ(p.GetFloat(), 2.0);
    EXPECT_THROW(p.GetFloat(), EConvertError);
    EXPECT_DOUBLE_EQ(p.GetFloat(), -2.5);
    EXPECT_DOUBLE_EQ(p.GetFloatDef(9.0), 9.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(StringParser, CharFieldsAndDefaults)
{
    TIvStringParser p("xyz,,q", ',');
    EXPECT_EQ(p.GetChar(), 'x');
    EXPECT_EQ(p.GetChar(), '\0');
    EXPECT_EQ(p.GetCharDef('d'), 'q');
    EXPECT_EQ(p.GetCharDef('d'), 'd');
}

TEST(StringParser, CodeAndDecode)
{
    EXPECT_EQ(TIvStringParser::DecodeStr("a#Tb##c#x"), "a\tb#c#x");
    EXPECT_EQ(TIvStringParser::DecodeStr("#C#L#t#"), "\r\n#t#");
    EXPECT_EQ(TIvStringParser::CodeStr("a\r\nb\tc"), "a#C#Lb#Tc");
    EXPECT_EQ(TIvStringParser::CodeStr("50#"), "50#");
    std::string odd = "x\t#T\r\n#";
    EXPECT_EQ(TIvStringParser::CodeStr(odd), "x#T#T#C#L#");
}

TEST(StringParser, DecodesFieldsOnlyWhenAsked)
{
    TIvStringParser p("a#Tb\tc##", '\t');
    EXPECT_EQ(p.GetString(), "a#Tb");
    p.SetValue("a#Tb\tc##");
    p.SetDecode(true);
    EXPECT_EQ(p.GetString(), "a\tb");
    EXPECT_EQ(p.GetString(), "c#");
}

TEST(WideParser, SplitsAndReadsTheRest)
{
    TIvWideParser p(u"a\tb\tc", u'\t');
    EXPECT_EQ(p.GetString(), u"a");
    EXPECT_EQ(p.GetRestValue(), u"b\tc");
    EXPECT_EQ(p.GetString(), u"b");
    EXPECT_EQ(p.GetString(), u"c");
    EXPECT_TRUE(p.Eol());
    EXPECT_EQ(p.GetRestValue(), u"");
    TIvWideParser empty;
    EXPECT_EQ(empty.GetRestValue(), u"");
    EXPECT_EQ(empty.GetString(), u"");
}

TEST(WideParser, NumbersBooleansAndAnsiConversion)
{
    TIvWideParser p(u"12,1.5,yes,caf\u00E9,", u',');
    p.SetCodePage(1252);
    EXPECT_EQ(p.GetInteger(), 12);
    EXPECT_DOUBLE_EQ(p.GetFloat(), 1.5);
    EXPECT_TRUE(p.GetBoolean());
    EXPECT_EQ(p.GetAnsiString(), "caf\xE9");
    EXPECT_TRUE(p.Eol());
    EXPECT_EQ(p.GetIntegerDef(5), 5);
    struct Restore {
        TIvFormatSettings Saved = IvFormatSettings();
        ~Restore() { IvSetFormatSettings(Saved); }
    } restore;
    TIvFormatSettings comma = restore.Saved;
    comma.DecimalSeparator = ",";
    IvSetFormatSettings(comma);
    TIvWideParser q(u"1,5\t1.5", u'\t');
    EXPECT_DOUBLE_EQ(q.GetFloat(), 1.5); // the separator in force
    EXPECT_THROW(q.GetFloat(), EConvertError);
    EXPECT_DOUBLE_EQ(TIvStringParser("1.5", '\t').GetFloat(), 1.5); // the 8-bit parser: a point always
}

TEST(WideParser, DecodeMatchesTheEightBitRules)
{
    EXPECT_EQ(TIvWideParser::DecodeStr(u"a#Tb##c#x"), u"a\tb#c#x");
    EXPECT_EQ(TIvWideParser::CodeStr(u"\r\n"), u"#C#L");
    TIvWideParser p(u"x#Ly", u',');
    p.SetDecode(true);
    EXPECT_EQ(p.GetString(), u"x\ny");
}
