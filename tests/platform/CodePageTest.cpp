#include "CodePage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(CodePage, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(QStringToCp1252(Cp1252ToQString(all)), all);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(CodePage, TheHighControlRangeIsNotLatin1)
{
    // A stored 0x80 is the euro sign, not a control character, and back.
    EXPECT_EQ(Cp1252ToQString("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(Cp1252ToUtf8("\x80 \x9F"), "\xE2\x82\xAC \xC5\xB8");
    EXPECT_EQ(QStringToCp1252(QString::fromUtf8("5 \xE2\x82\xAC")), "5 \x80");
    EXPECT_EQ(Cp1252ToQString("\xE9"), QString(QChar(0xE9)));
}

TEST(CodePage, WhatTheCodePageCannotHoldBecomesAQuestionMark)
{
    EXPECT_EQ(QStringToCp1252(QString::fromUtf8("a\xD0\x96z")), "a?z"); // Cyrillic
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x94\xA5"), "?"); // one character outside the BMP, one '?'
    EXPECT_FALSE(Cp1252CanHold(0x0416));
    EXPECT_TRUE(Cp1252CanHold(0x20AC));
    EXPECT_TRUE(Cp1252IsTypable(0x20AC));
    EXPECT_FALSE(Cp1252IsTypable(0x7F)); // Delete is a key, not a character
    EXPECT_FALSE(Cp1252IsTypable(0x81));
    EXPECT_FALSE(Cp1252IsTypable('\t'));
}

TEST(Utf8, StrictRefusesWhatLenientReplaces)
{
    EXPECT_EQ(Utf8ToUtf16Strict("gr\xC3\xBC\xE2\x82\xAC"), u"gr\u00FC\u20AC");
    EXPECT_EQ(Utf8ToUtf16Lenient("gr\xC3\xBC\xE2\x82\xAC"), u"gr\u00FC\u20AC");
    // A stray continuation byte, a cut-off sequence, a missing continuation byte.
    EXPECT_FALSE(Utf8ToUtf16Strict("a\x80"));
    EXPECT_FALSE(Utf8ToUtf16Strict("a\xE2\x82"));
    EXPECT_FALSE(Utf8ToUtf16Strict("\xC3\x41"));
    EXPECT_EQ(Utf8ToUtf16Lenient("\xC3\x41"), u"\uFFFDA");
    EXPECT_EQ(Utf8ToQString("\xC3\x41"), QString::fromStdU16String(u"\uFFFDA"));
    // Four-byte characters are valid UTF-8, yet beyond what dictionaries hold.
    EXPECT_FALSE(Utf8ToUtf16Strict("\xF0\x9F\x98\x80"));
    EXPECT_EQ(Utf8ToUtf16Lenient("\xF0\x9F\x98\x80"), u"\U0001F600");
}

TEST(Utf16, PairsJoinAndALoneSurrogateIsReplaced)
{
    EXPECT_EQ(Utf16ToUtf8(u"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string { u'a', char16_t(0xD83D), u'b' }),
        "a\xEF\xBF\xBD"
        "b");
    EXPECT_EQ(Utf16ToUtf8(std::u16string { char16_t(0xDE00) }), "\xEF\xBF\xBD");
}
