#pragma once
// The 32 zone texts as 16 rows of two zone/text pairs: row r holds zones r
// and 16 + r.
#include "RecordDataSet.h"

class TPX10ConfigZoneText;

class TZoneDataSet : public TConfigDataSet<TPX10ConfigZoneText> {
    Q_OBJECT
public:
    enum Field { fldZone = 1, fldText, fldZone2, fldText2 };
    static constexpr int Rows = 16;
    static constexpr int TextSize = 20;

    explicit TZoneDataSet(QObject* Parent = nullptr);
    int GetRecordCount() const override { return Rows; }

protected:
    QVariant GetFieldData(int FieldNo, int RecNo) const override;
    void SetFieldData(int FieldNo, int RecNo, const QVariant& Value) override;
};
