#pragma once
// The columns of the sensor and module grids, one table per device kind. A
// row holds all a column is: its field, heading, size, width, edit mask, the
// member of the row offer its editing follows, and how its cell is read and
// written. The data sets and the frames read these tables; nothing else
// lists the columns.
#include "DeviceEditRules.h"
#include "RecordDataSet.h"

#include <QVariant>

#include <array>
#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>

template <class TEdits, class TTexts> struct TDeviceColumn {
    using TRowOffer = typename TEdits::TRowOffer;
    using TLists = std::remove_cvref_t<decltype(std::declval<const TTexts&>().Lists())>;

    int Field = 0; // the field number (the TSensorField / TModuleField value)
    const char* Title = nullptr; // English; the heading shows it translated
    TFieldType Type = TFieldType::ftString;
    int Size = 0; // ftString: the most characters (code-page bytes) a value holds
    bool ReadOnly = false;
    bool CodePage = false; // the cell's text is written as Windows-1252 bytes
    int Width = 0; // pixels; the column still widens to its heading
    const char* Mask = nullptr; // edit mask of the column's text cells
    TColumnOffer TRowOffer::*Offer = nullptr; // the row's pick list or button
    // A column with a pick list: every entry any row may offer, from the
    // vocabularies shown (the column is as wide as the widest).
    TTextList (*Entries)(const TLists& Lists) = nullptr;
    // An int for ftInteger, a QString for ftString, or null.
    QVariant (*Read)(const TTexts& Texts, int Address) = nullptr;
    // Null: the grid does not write the cell.
    TWriteResult (*Write)(TEdits& Edits, int Address, const std::string& Text) = nullptr;
    // A column with a pick list: the code of the stored value (see
    // TColumnOffer::Codes), -1 when it has none.
    int (*Code)(const TTexts& Texts, int Address) = nullptr;
};

using TSensorColumn = TDeviceColumn<TSensorEdits, TSensorTexts>;
using TModuleColumn = TDeviceColumn<TModuleEdits, TModuleTexts>;

// In field order: entry n - 1 is field n.
extern const std::array<TSensorColumn, SensorFieldCount> SensorColumns;
extern const std::array<TModuleColumn, ModuleFieldCount> ModuleColumns;

// The column of field number `Field`, or null for a number outside the table.
template <class TColumn, std::size_t Count>
const TColumn* FindColumn(const std::array<TColumn, Count>& Columns, int Field)
{
    return Field >= 1 && Field <= int(Count) ? &Columns[Field - 1] : nullptr;
}

// The entry of code `Code` in the row's pick list of field `Field`, written
// as the column writes that entry's text; a code the row does not offer
// changes nothing.
template <class TEdits, class TColumn, std::size_t Count>
TWriteResult WriteCode(const std::array<TColumn, Count>& Columns, TEdits& Edits, int Field, int a, int Code)
{
    const TColumn* column = FindColumn(Columns, Field);
    if (!column || !column->Offer || !column->Write)
        return std::nullopt;
    const TColumnOffer offer = Edits.RowOffer(a).*(column->Offer);
    for (std::size_t i = 0; i < offer.Codes.size() && i < offer.Items.size(); ++i)
        if (offer.Style == TColumnOffer::Auto && offer.Codes[i] == Code)
            return column->Write(Edits, a, offer.Items[i]);
    return std::nullopt;
}
