// Tab captions that break onto two lines rather than hide a tab.
#include "WindowFit.h"

#include <gtest/gtest.h>

// The break that makes the longer line shortest: the middle blank rather
// than the first, and after a "-" or "/" in a caption without a blank.
TEST(WrappingTabBar, ACaptionBreaksWhereItsLinesComeOutMostEven)
{
    EXPECT_EQ(
        TWrappingTabBar::BrokenCaption("Options de la centrale").toStdString(), "Options de\nla centrale");
    EXPECT_EQ(
        TWrappingTabBar::BrokenCaption("Tag-/Nachteinstellungen").toStdString(), "Tag-/\nNachteinstellungen");
    EXPECT_EQ(TWrappingTabBar::BrokenCaption("Day/Night Settings").toStdString(), "Day/Night\nSettings");
    EXPECT_EQ(TWrappingTabBar::BrokenCaption("Zentralenoptionen").toStdString(), "Zentralenoptionen");
    EXPECT_EQ(TWrappingTabBar::BrokenCaption("Device-").toStdString(), "Device-"); // nothing after the mark
}
