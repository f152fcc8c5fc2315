// Cells flowing into as many columns as their room shows.
#include "WindowFit.h"

#include <QGridLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Cell : QWidget {
    using QWidget::QWidget;
    QSize sizeHint() const override { return { 100, 20 }; }
};

// A page in `room` with two cells flowing into at most two columns.
struct Page {
    QWidget* Widget;
    QGridLayout* Grid;
    std::vector<QWidget*> Cells;
    explicit Page(QWidget& room)
        : Widget(new QWidget(&room))
        , Grid(new QGridLayout(Widget))
        , Cells { new Cell(Widget), new Cell(Widget) }
    {
    }
    bool OneColumn() const
    {
        return Grid->itemAtPosition(1, 0) && Grid->itemAtPosition(1, 0)->widget() == Cells[1];
    }
};

} // namespace

// A page going before its room (its grid goes first, then its own events)
// leaves the room's other page flowing.
TEST(ColumnFlow, APageGoneBeforeItsRoomLeavesTheOthersFlowing)
{
    QWidget room;
    room.resize(1000, 300);
    room.show();
    auto first = std::make_unique<Page>(room);
    Page second(room);
    EXPECT_EQ(FlowIntoColumns(first->Grid, &room, first->Cells, 2), 2);
    EXPECT_EQ(FlowIntoColumns(second.Grid, &room, second.Cells, 2), 2);
    EXPECT_FALSE(second.OneColumn());

    delete first->Widget;
    room.resize(150, 300);
    EXPECT_TRUE(second.OneColumn());
}
