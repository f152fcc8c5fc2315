// Cells flowing into as many columns as their room shows.
#include "WindowFit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>
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

// A grid inside a group box on a page: the group's frame and the page's
// margins take room too, so cells that only just fit the room side by side
// go one below the other rather than make the page wider than its room.
TEST(ColumnFlow, ANestedGridCountsTheMarginsAroundIt)
{
    QWidget room;
    auto* page = new QWidget(&room);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(10, 0, 10, 0);
    auto* group = new QGroupBox("Group", page);
    outer->addWidget(group);
    auto* inGroup = new QVBoxLayout(group);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(0);
    inGroup->addLayout(grid);
    std::vector<QWidget*> cells { new Cell(group), new Cell(group) };
    room.resize(200, 300); // the two cells alone
    room.show();
    EXPECT_EQ(FlowIntoColumns(grid, &room, cells, 2), 1);
    room.resize(400, 300);
    EXPECT_EQ(grid->itemAtPosition(0, 1) ? grid->itemAtPosition(0, 1)->widget() : nullptr, cells[1]);
}
