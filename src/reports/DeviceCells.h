#pragma once
// The sensor and module reports print a device's cells as the grids read
// them, from the grids' column tables; only their headings and positions are
// their own.
#include "DeviceColumns.h"
#include "ReportTexts.h"

namespace report {

// The grid's cell of field `field` at `address` as printed: a number with at
// least two digits, a text as it stands, nothing for a cell without a value.
template <class TColumn, std::size_t Count, class TTexts>
std::string CellText(const std::array<TColumn, Count>& columns, int field, const TTexts& texts, int address)
{
    const TColumn& column = *FindColumn(columns, field);
    const QVariant value = column.Read(texts, address);
    return column.Type == TFieldType::ftInteger ? TwoDigits(value.toInt()) : value.toString().toStdString();
}

} // namespace report
