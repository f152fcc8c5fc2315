#pragma once
#include "RecordGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QStyleOptionComboBox>
#include <gtest/gtest.h>

#include <string>

// The entries read whole in the list that opens as the cell at `Index` is entered.
inline void ExpectEntriesWhole(
    TRecordGrid& Grid, const QModelIndex& Index, const QStringList& Entries, const std::string& Where)
{
    Grid.setFocus();
    Grid.setCurrentIndex({});
    Grid.setCurrentIndex(Index);
    QApplication::processEvents();
    auto* list = qobject_cast<QComboBox*>(Grid.OpenEditor());
    ASSERT_TRUE(list) << Where << ": no list open";
    QStyleOptionComboBox option;
    option.initFrom(list);
    const int room = list->style()
                         ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
                         .width();
    for (const QString& entry : Entries)
        EXPECT_LE(list->fontMetrics().horizontalAdvance(entry), room)
            << Where << ": \"" << entry.toStdString() << "\"";
}
