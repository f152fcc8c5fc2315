#include "Printtabledataset.h"

TPrintTableDataSet::TPrintTableDataSet(unsigned RowCount, QObject* Parent)
    : TRecordDataSet(false, Parent)
    , FRowCount(RowCount)
{
    AddField("Index", TFieldType::ftInteger, 0, true);
}

QVariant TPrintTableDataSet::GetFieldData(int FieldNo, int RecNo) const
{
    return FieldNo == 1 ? QVariant(RecNo) : QVariant();
}
