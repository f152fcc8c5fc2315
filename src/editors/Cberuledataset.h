#pragma once
// The 64 CBE rules as 64 rows, one field per rule property, for the rule
// editor's selectors and check boxes. Text fields show the translated entry
// of their list at the stored code and store the code of a chosen entry.
#include "RecordDataSet.h"

class TPX10ConfigCBERuleConfiguration;

class TCBERuleDataSet : public TConfigDataSet<TPX10ConfigCBERuleConfiguration> {
    Q_OBJECT
public:
    enum Field {
        fldRuleType = 1,
        fldFilterType,
        fldEvacuate,
        fldInterruptable,
        fldSilence,
        fldClassChange,
        fldTwoZone,
        fldEnableSoakTimer,
        fldDevAddr1,
        fldDevAddr2,
        fldDevAddr3,
        fldDevKind1,
        fldDevKind2,
        fldDevKind3
    };
    static constexpr int TextSize = 40;

    explicit TCBERuleDataSet(QObject* Parent = nullptr);
    int GetRecordCount() const override;

protected:
    QVariant GetFieldData(int FieldNo, int RecNo) const override;
    void SetFieldData(int FieldNo, int RecNo, const QVariant& Value) override;
};
