#pragma once
// The 16 zone conditions of one CBE rule as 16 rows, for the rule editor's
// zone grid. A Plant Warning rule's slots stand for zones 17 to 32.
#include "RecordDataSet.h"

class TPX10ConfigCBERuleConfiguration;

class TCBERuleZoneDataSet : public TConfigDataSet<TPX10ConfigCBERuleConfiguration> {
    Q_OBJECT
public:
    enum Field { fldZone = 1, fldCondition };
    static constexpr int TextSize = 20;

    explicit TCBERuleZoneDataSet(QObject* Parent = nullptr);
    int GetRecordCount() const override;

    int CurrentRule() const { return FRule; }
    // The rule shown (1..64); its rows are re-read.
    void SetCurrentRule(int Rule);
    bool ValidZoneStateForRule(int Condition) const;

protected:
    QVariant GetFieldData(int FieldNo, int RecNo) const override;
    void SetFieldData(int FieldNo, int RecNo, const QVariant& Value) override;
    // A condition's code is its position in the condition list.
    QVariant GetFieldCode(int FieldNo, int RecNo) const override;
    void SetFieldCode(int FieldNo, int RecNo, int Code) override;

private:
    int FRule = 1;
};
