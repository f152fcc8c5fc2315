#pragma once
// Whether the entries of a grid's pick list read whole: in the list open on
// a cell and in that cell as the grid draws it.
#include "RecordGrid.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionViewItem>
#include <gtest/gtest.h>

#include <string>

// `Index` is the grid's current cell, with its list open.
inline void ExpectEntriesWhole(
    TRecordGrid& Grid, const QModelIndex& Index, const QStringList& Entries, const std::string& Where)
{
    auto* list = qobject_cast<QComboBox*>(Grid.OpenEditor());
    ASSERT_TRUE(list) << Where << ": no list open";
    QStyleOptionComboBox listOption;
    listOption.initFrom(list);
    const int listRoom
        = list->style()
              ->subControlRect(QStyle::CC_ComboBox, &listOption, QStyle::SC_ComboBoxEditField, list)
              .width();
    // The cell as the grid draws it (bold in the device grids), less the
    // margins the style keeps beside a cell's text.
    QStyleOptionViewItem cell;
    cell.initFrom(&Grid);
    cell.font = Grid.font();
    cell.rect = Grid.visualRect(Index);
    cell.features = QStyleOptionViewItem::HasDisplay;
    Grid.DrawCell(cell, Index);
    const int margins = 2 * (Grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &Grid) + 1);
    for (const QString& entry : Entries) {
        cell.text = entry;
        const int cellRoom
            = Grid.style()->subElementRect(QStyle::SE_ItemViewItemText, &cell, &Grid).width() - margins;
        const std::string what = Where + ": \"" + entry.toStdString() + "\"";
        EXPECT_LE(list->fontMetrics().horizontalAdvance(entry), listRoom) << what << " cut in the open list";
        EXPECT_LE(QFontMetrics(cell.font).horizontalAdvance(entry), cellRoom) << what << " cut in its cell";
    }
}
