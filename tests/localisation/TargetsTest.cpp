#include "Ivdictio.h"
#include "Ivtarget.h"

#include <gtest/gtest.h>

TEST(Targets, MatchingIgnoresCaseAndExcludesWin)
{
    TIvTargetProperties t;
    t.Add("", "Caption");
    t.Add("", "Hint");
    t.Add("QLabel", "Caption", ivttExclude);
    t.Add("QPlainTextEdit", "Text");
    t.Add("QTableWidget", "");
    EXPECT_TRUE(t.IsPropertyInTargets("QPushButton", "caption"));
    EXPECT_FALSE(t.IsPropertyInTargets("QLabel", "Caption"));
    EXPECT_TRUE(t.IsPropertyInTargets("QLabel", "Hint"));
    EXPECT_TRUE(t.IsPropertyInTargets("qplaintextedit", "TEXT"));
    EXPECT_FALSE(t.IsPropertyInTargets("QLineEdit", "Text")); // another class
    EXPECT_TRUE(t.IsPropertyInTargets("QTableWidget", "Cells")); // the whole class
    EXPECT_TRUE(t.IsObjectInTargets("QTableWidget"));
    EXPECT_FALSE(t.IsObjectInTargets("QLabel"));
    t.Add("QTableWidget", "", ivttExclude);
    EXPECT_FALSE(t.IsObjectInTargets("QTableWidget"));
    EXPECT_EQ(t.GetExcludeCount(), 2);
    t.Delete(t.Find({ "QLabel", "Caption", ivttExclude }));
    EXPECT_EQ(t.GetExcludeCount(), 1);
    EXPECT_TRUE(t.IsPropertyInTargets("QLabel", "Caption"));
    EXPECT_EQ(t.Find({ "qlabel", "Caption", ivttInclude }), -1); // equality is exact
    TIvTargetProperties empty;
    EXPECT_TRUE(empty.IsDefault());
    EXPECT_FALSE(empty.IsPropertyInTargets("QLabel", "Caption"));
}

TEST(Targets, StreamRoundTripsAddsToAnAncestorAndRefusesNewerVersions)
{
    TIvTargetProperties frame;
    frame.Add("", "Hint");
    frame.Add("", "Caption");
    frame.Add("", "Items");
    TIvTargetProperties instance;
    instance.Assign(frame);
    instance.Add("", "Filter");
    instance.Add("", "Title");
    instance.Add("QLabel", std::string(300, 'x'), ivttExclude); // a long string
    EXPECT_FALSE(instance.IsEqual(frame));

    // The instance stores only what its frame lacks; reading it over the frame's entries gives all six.
    std::string own = instance.WriteData(&frame);
    TIvTargetProperties read;
    read.Assign(frame);
    read.ReadData(own);
    EXPECT_EQ(read.GetCount(), 6);
    EXPECT_TRUE(read.IsEqual(instance));
    read.ReadData(instance.WriteData()); // the same entries again are dropped
    EXPECT_EQ(read.GetCount(), 6);

    std::string v1 = frame.WriteData();
    EXPECT_EQ(v1.substr(0, 5), std::string("\x01\x02\x01\x02\x03", 5)); // list, version 1, count 3
    std::string v2 = v1;
    v2[2] = 2;
    TIvTargetProperties refused;
    try {
        refused.ReadData(v2);
        FAIL() << "no exception";
    } catch (const EIvMulti& e) {
        EXPECT_EQ(e.Message(), "Unknown target properties data version: 2");
    }
    EXPECT_THROW(refused.ReadData(v1.substr(0, v1.size() - 3)), EIvMulti); // cut short

    // The older stream: a count and pairs, replacing the list.
    std::string old("\x01\x02\x01\x06\x00\x06\x04Hint\x00", 12);
    read.ReadOldData(old);
    EXPECT_EQ(read.GetCount(), 1);
    EXPECT_TRUE(read.IsPropertyInTargets("QLabel", "Hint"));
}
