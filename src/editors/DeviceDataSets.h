#pragma once
// The sensor and module data sets: the 99 loop addresses of one device kind
// as rows of the record grid. The fields are the columns of DeviceColumns.h;
// every read and write goes through them over the configuration the set is
// bound to.
#include "DeviceColumns.h"
#include "RecordDataSet.h"

#include <vector>

class TPX10ConfigData;

// What both device sets share: the row count and where the messages about
// refused values go.
class TDeviceDataSet : public TConfigDataSet<TPX10ConfigData> {
public:
    using TConfigDataSet::TConfigDataSet;
    int GetRecordCount() const override;

    // While collecting (a range of devices being added), each message is
    // kept once instead of shown; TakeMessages ends collecting.
    void CollectMessages();
    std::vector<TFieldMessage> TakeMessages();
    // Shows (once the current edit has returned) or collects a message.
    void Report(const TWriteResult& Result);

protected:
    // The fields of a column table, in its order.
    template <class TColumns> void AddColumns(const TColumns& Columns)
    {
        for (const auto& c : Columns)
            AddField(c.Title, c.Type, c.Size, c.ReadOnly);
    }
    // A field's text as the rules take it: the description as code-page bytes.
    static std::string FieldText(const QVariant& Value, bool CodePage);
    // The code a column gives a stored value, null for none.
    template <class TColumn, class TTexts>
    static QVariant CodeOf(const TColumn* Column, const TTexts& Texts, int a)
    {
        const int code = Column && Column->Code ? Column->Code(Texts, a) : -1;
        return code < 0 ? QVariant() : QVariant(code);
    }

private:
    bool FCollecting = false;
    std::vector<TFieldMessage> FMessages;
};

class TSensorDataSet : public TDeviceDataSet {
public:
    explicit TSensorDataSet(QObject* Parent = nullptr);

    // The vocabularies shown (translated copies keep the order).
    void SetLists(const TSensorLists& Lists) { FLists = Lists; }
    const TSensorLists& Lists() const { return FLists; }
    // The rules over the bound configuration; the set must be open.
    TSensorEdits Edits();

protected:
    QVariant GetFieldData(int FieldNo, int RecNo) const override;
    void SetFieldData(int FieldNo, int RecNo, const QVariant& Value) override;
    QVariant GetFieldCode(int FieldNo, int RecNo) const override;
    void SetFieldCode(int FieldNo, int RecNo, int Code) override;

private:
    TSensorTexts Texts() const;
    TSensorLists FLists;
};

class TModuleDataSet : public TDeviceDataSet {
public:
    explicit TModuleDataSet(QObject* Parent = nullptr);

    void SetLists(const TModuleLists& Lists) { FLists = Lists; }
    const TModuleLists& Lists() const { return FLists; }
    TModuleEdits Edits();

protected:
    QVariant GetFieldData(int FieldNo, int RecNo) const override;
    void SetFieldData(int FieldNo, int RecNo, const QVariant& Value) override;
    QVariant GetFieldCode(int FieldNo, int RecNo) const override;
    void SetFieldCode(int FieldNo, int RecNo, int Code) override;

private:
    TModuleLists FLists;
};
