#pragma once
// The row counter of a report: a fixed number of rows numbered 1 to N that
// hold nothing but their number (field "Index", read-only). A report walks it
// from the first row to the last and prints its detail band once per row;
// the label handlers compute every text from the configuration.
#include "RecordDataSet.h"

class TPrintTableDataSet : public TRecordDataSet {
    Q_OBJECT
public:
    explicit TPrintTableDataSet(unsigned RowCount, QObject* Parent = nullptr);

    int GetRecordCount() const override { return static_cast<int>(FRowCount); }

protected:
    QVariant GetFieldData(int FieldNo, int RecNo) const override;
    // Stores nothing: the row number is all a row holds.
    void SetFieldData(int FieldNo, int RecNo, const QVariant& Value) override { }

private:
    const unsigned FRowCount;
};
