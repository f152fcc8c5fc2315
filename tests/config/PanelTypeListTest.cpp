#include <gtest/gtest.h>

#include "PanelTypeList.h"

TEST(PanelTypeList, HoldsTheSevenTypesInOrder)
{
    const std::vector<std::string> expected
        = { "412-304-xxx : PX21/22", "412-303-xxx : PX11/12", "412-302-xxx : PX20", "412-301-xxx : PX10",
              "412-305-xxx : Marvex", "412-302-4xx : KRT20", "412-301-4xx : KRT10" };
    EXPECT_EQ(PanelTypesAll(), expected);
}

TEST(PanelTypeList, FindsTheFirstMatchingRow)
{
    EXPECT_EQ(FindPanelTypeIndex("412-303-102 V7.05   "), 1);
    EXPECT_EQ(FindPanelTypeIndex("SW 412-304-1"), 0);
    EXPECT_EQ(FindPanelTypeIndex("412-305-0"), 4);
    // KRT panels share the numbers of PX20 and PX10: the earlier row wins.
    EXPECT_EQ(FindPanelTypeIndex("412-302-401"), 2);
    EXPECT_EQ(FindPanelTypeIndex("412-301-401"), 3);
    // Only the first "412-" counts.
    EXPECT_EQ(FindPanelTypeIndex("412-999 412-301"), -1);
}

TEST(PanelTypeList, UnknownOrShortIdentificationsGiveMinusOne)
{
    EXPECT_EQ(FindPanelTypeIndex("412-306-001"), -1);
    EXPECT_EQ(FindPanelTypeIndex(""), -1);
    EXPECT_EQ(FindPanelTypeIndex("PX10 V7.03"), -1);
    EXPECT_EQ(FindPanelTypeIndex("412-"), -1);
    // A cut-off key must not match a row by its prefix.
    EXPECT_EQ(FindPanelTypeIndex("412-3"), -1);
    EXPECT_EQ(FindPanelTypeIndex("xx412-30"), -1);
    EXPECT_EQ(FindPanelTypeIndex("xx412-301"), 3);
    EXPECT_EQ(FindPanelTypeIndex(std::string("412-\0\0\0", 7)), -1);
}
