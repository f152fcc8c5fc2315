#include "TestDataSet.h"

#include "support/FakePrompts.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct DataSetFixture : ::testing::Test {
    std::unique_ptr<TPX10ConfigData> Config = NewConfig();
    TTestSensorDataSet Set;
    TPX10ConfigDeviceConfiguration& Sensors() { return *Config->Sensors; }
    void SetUp() override
    {
        Set.SetConfigPart(&Sensors());
        Set.Open();
    }
    QModelIndex Cell(int RecNo, int FieldNo) { return Set.index(RecNo - 1, FieldNo - 1); }
};

} // namespace

TEST_F(DataSetFixture, RecNoIsClampedToTheRows)
{
    EXPECT_EQ(Set.GetRecNo(), 1); // open: the cursor is on the first row
    Set.SetRecNo(0);
    EXPECT_EQ(Set.GetRecNo(), 1);
    Set.SetRecNo(50);
    Set.SetRecNo(-7);
    EXPECT_EQ(Set.GetRecNo(), 1);
    Set.SetRecNo(500);
    EXPECT_EQ(Set.GetRecNo(), 99);
    Set.SetRecNo(42);
    EXPECT_EQ(Set.GetRecNo(), 42);
}

TEST_F(DataSetFixture, CursorStopsAtBothEnds)
{
    Set.Last();
    Set.Next();
    EXPECT_EQ(Set.GetRecNo(), 99);
    EXPECT_TRUE(Set.Eof());
    Set.Prior();
    EXPECT_EQ(Set.GetRecNo(), 98);
    EXPECT_FALSE(Set.Eof());
    Set.First();
    Set.Prior();
    EXPECT_EQ(Set.GetRecNo(), 1);
    EXPECT_TRUE(Set.Bof());
    Set.Next();
    EXPECT_EQ(Set.GetRecNo(), 2);
}

TEST_F(DataSetFixture, GotoBookmarkChecksItsRange)
{
    Set.GotoBookmark(98);
    EXPECT_EQ(Set.GetRecNo(), 99);
    EXPECT_EQ(Set.GetBookmark(), 98);
    Set.GotoBookmark(4);
    for (int bad : { 99, -1, 1000 }) {
        try {
            Set.GotoBookmark(bad);
            ADD_FAILURE() << bad;
        } catch (const EDatabaseError& e) {
            EXPECT_STREQ(e.what(), "Bookmark not found");
        }
        EXPECT_EQ(Set.GetRecNo(), 5) << bad; // the cursor stays
    }
}

TEST_F(DataSetFixture, RowsAreFixedAndNothingButAFieldWriteChangesAByte)
{
    const auto before = Snapshot(Sensors());
    EXPECT_FALSE(Set.insertRows(99, 1));
    EXPECT_FALSE(Set.insertRows(0, 1));
    EXPECT_FALSE(Set.removeRows(3, 1));
    EXPECT_TRUE(Set.submit()); // a post stores nothing of its own
    Set.revert();
    EXPECT_EQ(Set.rowCount(), 99);
    EXPECT_EQ(Snapshot(Sensors()), before);
}

TEST_F(DataSetFixture, FieldsOutsideTheRowsReadAsNull)
{
    EXPECT_EQ(Set.ReadField(TTestSensorDataSet::fnAddress, 99).toInt(), 99);
    EXPECT_FALSE(Set.ReadField(TTestSensorDataSet::fnAddress, 0).isValid());
    EXPECT_FALSE(Set.ReadField(TTestSensorDataSet::fnAddress, 100).isValid());
    EXPECT_FALSE(Set.ReadField(TTestSensorDataSet::fnAddress, -1).isValid());
    EXPECT_FALSE(Set.ReadField(0, 1).isValid());
    EXPECT_FALSE(Set.ReadField(5, 1).isValid());
    EXPECT_FALSE(Set.WriteField(TTestSensorDataSet::fnZone, 0, 5));
    EXPECT_FALSE(Set.WriteField(TTestSensorDataSet::fnZone, 100, 5));
}

TEST_F(DataSetFixture, RefusedAndNullWritesChangeNoByteButRepaint)
{
    QSignalSpy fieldChanges(&Set, &TTestSensorDataSet::FieldChange);
    QSignalSpy repaints(&Set, &QAbstractItemModel::dataChanged);
    FakePrompts prompts;
    prompts.Answer(platform::mrOk);
    const auto before = Snapshot(Sensors());

    EXPECT_FALSE(Set.setData(Cell(7, TTestSensorDataSet::fnZone), QVariant()));
    EXPECT_EQ(fieldChanges.count(), 0); // a null write is ignored...
    EXPECT_EQ(repaints.count(), 1); // ...and the stored value shown again

    Set.setData(Cell(7, TTestSensorDataSet::fnZone), 17);
    Set.setData(Cell(7, TTestSensorDataSet::fnAddress), 12); // read-only
    Set.setData(Cell(7, TTestSensorDataSet::fnZone), "abc"); // not a number
    EXPECT_EQ(Snapshot(Sensors()), before);
    EXPECT_EQ(fieldChanges.count(), 3); // the event is raised even when refused
    EXPECT_EQ(fieldChanges.at(0).at(0).toInt(), TTestSensorDataSet::fnZone);
    EXPECT_EQ(fieldChanges.at(0).at(1).toInt(), 7);
    EXPECT_EQ(repaints.count(), 4);

    // The zone warning waits until the write has returned to the event loop.
    EXPECT_TRUE(prompts.Log.empty());
    ProcessEvents();
    ASSERT_EQ(prompts.Log.size(), 1u);
    EXPECT_EQ(prompts.Log[0].Text, "Invalid zone entered.");
    EXPECT_EQ(prompts.Log[0].Type, platform::MsgDlgType::mtWarning);

    EXPECT_TRUE(Set.setData(Cell(7, TTestSensorDataSet::fnZone), "16"));
    EXPECT_EQ(Sensors().GetZone(7), 16);
    EXPECT_TRUE(Sensors().GetRecord(7)->IsModified());
    EXPECT_EQ(fieldChanges.count(), 4);
}

TEST_F(DataSetFixture, AnExceptionOfAFieldGoesToTheErrorSinkNotQt)
{
    CapturedErrors errors;
    Set.ThrowInConversion = true;
    QVariant shown;
    EXPECT_NO_THROW(shown = Set.data(Cell(3, TTestSensorDataSet::fnZone)));
    EXPECT_FALSE(shown.isValid());
    EXPECT_NO_THROW(Set.data(Cell(3, TTestSensorDataSet::fnZone))); // painted again
    bool written = true;
    EXPECT_NO_THROW(written = Set.setData(Cell(3, TTestSensorDataSet::fnDescription), "Hall"));
    EXPECT_FALSE(written);
    EXPECT_TRUE(errors.Messages.empty()); // not inside Qt's call
    ProcessEvents();
    // One report for the failing cell however often it is painted, one for the write.
    ASSERT_EQ(errors.Messages.size(), 2u);
    EXPECT_EQ(errors.Messages[0], "'x' is not a valid integer value");
    EXPECT_EQ(Sensors().GetDescription(3), "");
}

TEST_F(DataSetFixture, ClosingAndRebindingForgetTheOldConfiguration)
{
    QSignalSpy resets(&Set, &QAbstractItemModel::modelReset);
    auto second = NewConfig();
    second->Sensors->SetZone(2, 9);
    Set.SetRecNo(30);
    Set.SetConfigPart(second->Sensors.get()); // a new configuration: same rows, new values
    Config.reset(); // the old one is gone: nothing may reach it now
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(Set.GetRecNo(), 30);
    EXPECT_EQ(Set.data(Cell(2, TTestSensorDataSet::fnZone)).toString(), "9");
    EXPECT_TRUE(Set.setData(Cell(2, TTestSensorDataSet::fnZone), 3));
    EXPECT_EQ(second->Sensors->GetZone(2), 3);

    Set.Close();
    EXPECT_EQ(Set.ConfigPart(), nullptr);
    EXPECT_EQ(Set.rowCount(), 0);
    EXPECT_EQ(Set.GetRecNo(), 0);
    EXPECT_FALSE(Set.WriteField(TTestSensorDataSet::fnZone, 2, 4));
    EXPECT_THROW(Set.GotoBookmark(0), EDatabaseError);
    Set.Open(); // no part: still no rows
    EXPECT_EQ(Set.rowCount(), 0);
    Set.SetConfigPart(second->Sensors.get());
    EXPECT_EQ(Set.rowCount(), 99);
    EXPECT_EQ(Set.GetRecNo(), 1);
}
