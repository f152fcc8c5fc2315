#include "Format.h"

#include <gtest/gtest.h>

using platform::Format;
using platform::FormatList;

TEST(Format, SpecifiersOfTheProgram)
{
    EXPECT_EQ(Format("Loading %s...", "a.udf"), "Loading a.udf...");
    EXPECT_EQ(Format("COM%d", 3), "COM3");
    EXPECT_EQ(Format("%d%%", -7), "-7%");
    EXPECT_EQ(Format("%x", 255), "FF");
    EXPECT_EQ(Format("%.4x", 0x1Fu), "001F");
    EXPECT_EQ(Format("%x", -1), "FFFFFFFF");
    EXPECT_EQ(Format("%.2f", 7.25), "7.25");
    EXPECT_EQ(Format("%.1f", 2.0), "2.0");
    EXPECT_EQ(Format("%f", 1.0), "1.00");
    EXPECT_EQ(Format("%.0f", 3.0), "3");
    EXPECT_EQ(Format("%u", 4000000000u), "4000000000");
    EXPECT_EQ(Format("%.3d", -5), "-005");
    EXPECT_EQ(Format("%n", 1234567.891), "1,234,567.89");
    EXPECT_EQ(Format("%e", 1234.5), "1.23450000000000E+003");
    EXPECT_EQ(Format("%g", 0.5), "0.5");
    EXPECT_EQ(Format("%s and %s", std::string("one"), 'x'), "one and x");
    EXPECT_EQ(Format("no specifiers"), "no specifiers");
}

TEST(Format, IndexWidthAndPrecision)
{
    EXPECT_EQ(Format("%1:s %0:s", "world", "hello"), "hello world");
    EXPECT_EQ(Format("%0:s-%s-%0:s", "a", "b"), "a-b-a");
    EXPECT_EQ(Format("[%5d]", 42), "[   42]");
    EXPECT_EQ(Format("[%-5d]", 42), "[42   ]");
    EXPECT_EQ(Format("[%0:-4s]", "ab"), "[ab  ]");
    EXPECT_EQ(Format("[%.2s]", "abc"), "[ab]");
    // Width and precision count characters, never split one.
    EXPECT_EQ(Format("[%3s]", "\xC3\xA9"), "[  \xC3\xA9]");
    EXPECT_EQ(Format("[%.1s]", "\xC3\xA9t\xC3\xA9"), "[\xC3\xA9]");
}

TEST(Format, BadFormatsAndArgumentsRaiseInsteadOfCrashing)
{
    EXPECT_THROW(Format("%d", "text"), EConvertError);
    EXPECT_THROW(Format("%s", 3), EConvertError);
    EXPECT_THROW(Format("%f", 3), EConvertError);
    EXPECT_THROW(Format("%d", 1.5), EConvertError);
    EXPECT_THROW(Format("%d"), EConvertError);
    EXPECT_THROW(Format("%s %s", "one"), EConvertError);
    EXPECT_THROW(Format("%2:s", "a", "b"), EConvertError);
    EXPECT_THROW(Format("100%"), EConvertError);
    EXPECT_THROW(Format("%q", 1), EConvertError);
    EXPECT_THROW(Format("%.f", 1.0), EConvertError);
    EXPECT_THROW(Format("%99999999d", 1), EConvertError);
    try {
        Format("COM%d", "x");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Format 'COM%d' invalid or incompatible with argument");
    }
    try {
        FormatList("%s", {});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "No argument for format '%s'");
    }
}
