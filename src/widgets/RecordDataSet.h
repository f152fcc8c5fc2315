#pragma once
// The record data set: a fixed number of rows, each identified by its record
// number alone (1 to GetRecordCount()), over the records of one configuration
// part. Nothing is cached: every cell read and write goes straight to the
// configuration through the subclass's field functions, so a grid always
// shows the current bytes. Rows are never added or removed.
//
// Field numbers are 1-based, in the order the fields were added; column
// FieldNo - 1 of the model shows field FieldNo, row RecNo - 1 record RecNo.
#include "Exception.h"
#include "Prompts.h"

#include <QAbstractTableModel>
#include <QSet>
#include <QVariant>

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// The class library's data-set error ("Bookmark not found", "No Records").
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

enum class TFieldType { ftInteger, ftString };

struct TFieldDef {
    std::string Name; // English; headers show it translated
    TFieldType DataType = TFieldType::ftInteger;
    int Size = 0; // ftString: the most characters (code-page bytes) a value holds
    bool ReadOnly = false;
    std::string Title; // English column title when it differs from Name
};

class TRecordDataSet : public QAbstractTableModel {
    Q_OBJECT
public:
    // A set that presents no configuration part (a report's row counter) is
    // open whenever it is active.
    explicit TRecordDataSet(bool UsesConfigPart = true, QObject* Parent = nullptr);

    virtual int GetRecordCount() const = 0;
    const std::vector<TFieldDef>& GetFieldDefs() const { return FFieldDefs; }
    // The model column that shows field `FieldNo`, and the field a column shows.
    static constexpr int ColumnOfField(int FieldNo) { return FieldNo - 1; }
    static constexpr int FieldOfColumn(int Column) { return Column + 1; }
    // The column title of a field (English, shown translated) where it is
    // not the field's name: "Zone2" is titled "Zone".
    void SetFieldTitle(int FieldNo, std::string Title);

    // Active, and bound to a configuration part when the set needs one.
    bool IsOpen() const;
    // The cursor goes to the first row.
    void Open();
    // Also forgets the configuration part, so nothing can reach a
    // configuration that is deleted after this.
    void Close();
    // Re-reads every cell (header titles too, after a language change). The
    // views keep their current cell and open editor; an edit in progress is
    // committed first.
    void Refresh();

    // Cursor. Record numbers are clamped to 1..count; a bookmark is the
    // zero-based row index.
    int GetRecNo() const; // 0 while closed
    void SetRecNo(int Value);
    void First();
    void Last();
    void Next();
    void Prior();
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    int GetBookmark() const; // -1 when there is no current row
    // EDatabaseError "Bookmark not found" for an index outside the rows.
    void GotoBookmark(int Bookmark);

    // A field of a record; null for a record or field number outside the set,
    // or while closed.
    QVariant ReadField(int FieldNo, int RecNo) const;
    // Converts `Value` to the field's kind and hands it to the subclass, which
    // validates and stores it. A null value or a record outside the set
    // changes nothing; a read-only or unconvertible value is refused. Every
    // write that reaches a record raises FieldChange, accepted or not, and
    // the views repaint the stored values. An exception of the subclass goes
    // to the widget error sink. True when the subclass took the value.
    bool WriteField(int FieldNo, int RecNo, const QVariant& Value);
    // A value chosen from a field's list, by the code of its entry (its
    // position in the whole list), so a choice means the same whatever
    // language the list was shown in. Written as WriteField writes.
    bool WriteFieldCode(int FieldNo, int RecNo, int Code);
    // The role of those codes: data() gives the code of the stored value
    // (null when it has none), setData() takes a chosen one.
    static constexpr int CodeRole = Qt::UserRole + 1;

    // Qt's model interface over the same functions; nothing thrown leaves it.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Fixed rows: no insert or remove.
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    // Shown in the vertical header beside the current row.
    static const QString CurrentRowMarker;
    // After a language change: headings and cells are asked for again.
    void RetextHeadings();

signals:
    // The field-change event: after every write that reached a record.
    void FieldChange(int FieldNo, int RecNo);
    // The cursor moved to another record.
    void CurrentRecordChanged(int RecNo);
    // Before a refresh re-reads the cells: views commit their open editor.
    void AboutToRefresh();

protected:
    void AddField(std::string Name, TFieldType DataType, int Size = 0, bool ReadOnly = false);

    // The subclass's field functions; RecNo is always in 1..count and the
    // set open. GetFieldData gives an int for ftInteger, a QString for
    // ftString, or a null QVariant. SetFieldData gets an int or a QString.
    virtual QVariant GetFieldData(int FieldNo, int RecNo) const = 0;
    virtual void SetFieldData(int FieldNo, int RecNo, const QVariant& Value) = 0;
    // The same for the codes of a field whose values are chosen from a list;
    // a field without one has no codes.
    virtual QVariant GetFieldCode(int FieldNo, int RecNo) const;
    virtual void SetFieldCode(int FieldNo, int RecNo, int Code);

    // A message about a refused value (already translated), shown once the
    // write has returned to the event loop, never inside it.
    void ShowMessageLater(std::string Text, platform::MsgDlgType Type);

    void* ConfigPartPointer() const { return FConfigPart; }
    // Re-binds to another part (null closes the rows). Nothing is committed:
    // open editors show the new part's values.
    void BindConfigPart(void* Part);

private:
    bool IsValidField(int FieldNo) const { return FieldNo >= 1 && FieldNo <= int(FFieldDefs.size()); }
    bool IsValidCell(int FieldNo, int RecNo) const;
    // Runs a write of the subclass (true when it took the value), then the
    // field-change event and the repaint that follow every write.
    bool Store(int FieldNo, int RecNo, const std::function<bool()>& Write);
    void MoveTo(int Index);
    void EmitAllChanged();
    void ResetRows(bool Active, void* Part);

    std::vector<TFieldDef> FFieldDefs;
    const bool FUsesConfigPart;
    void* FConfigPart = nullptr;
    bool FActive = false;
    int FCurrentRecord = -1; // zero-based
    bool FBof = false;
    bool FEof = false;
    // Cells whose read failed, reported once until the next refresh or binding
    // (a failing cell is read on every paint).
    mutable QSet<std::pair<int, int>> FFailedReads;
};

// A data set over one configuration part of type TPart (not owned).
template <class TPart> class TConfigDataSet : public TRecordDataSet {
public:
    using TRecordDataSet::TRecordDataSet;
    // Before Open and whenever the configuration is replaced; null closes.
    void SetConfigPart(TPart* Part) { BindConfigPart(Part); }
    TPart* ConfigPart() { return static_cast<TPart*>(ConfigPartPointer()); }
    // Reading a cell (GetFieldData is const) sees the part as read-only.
    const TPart* ConfigPart() const { return static_cast<const TPart*>(ConfigPartPointer()); }
};
