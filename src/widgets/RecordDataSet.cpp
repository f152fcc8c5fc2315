#include "RecordDataSet.h"

#include "Ivdictio.h"
#include "WidgetErrors.h"

#include <QMetaObject>
#include <QRegularExpression>

const QString TRecordDataSet::CurrentRowMarker = QStringLiteral("\u25B6");

TRecordDataSet::TRecordDataSet(bool UsesConfigPart, QObject* Parent)
    : QAbstractTableModel(Parent)
    , FUsesConfigPart(UsesConfigPart)
{
}

void TRecordDataSet::AddField(std::string Name, TFieldType DataType, int Size, bool ReadOnly)
{
    FFieldDefs.push_back({ std::move(Name), DataType, Size, ReadOnly, {} });
}

bool TRecordDataSet::IsOpen() const
{
    return FActive && (!FUsesConfigPart || FConfigPart);
}

// Every change of whether rows are shown goes through a model reset: the
// views drop their editors without committing them.
void TRecordDataSet::ResetRows(bool Active, void* Part)
{
    beginResetModel();
    FActive = Active;
    FConfigPart = Part;
    FFailedReads.clear();
    const int count = IsOpen() ? GetRecordCount() : 0;
    FCurrentRecord = count > 0 ? 0 : -1;
    FBof = true;
    FEof = count == 0;
    endResetModel();
    if (FCurrentRecord >= 0)
        emit CurrentRecordChanged(FCurrentRecord + 1);
}

void TRecordDataSet::Open()
{
    if (!FActive)
        ResetRows(true, FConfigPart);
}

void TRecordDataSet::Close()
{
    ResetRows(false, nullptr);
}

void TRecordDataSet::BindConfigPart(void* Part)
{
    const bool wasOpen = IsOpen();
    const bool willBeOpen = FActive && (!FUsesConfigPart || Part);
    if (wasOpen != willBeOpen) {
        ResetRows(FActive, Part);
        return;
    }
    FConfigPart = Part;
    FFailedReads.clear();
    if (willBeOpen)
        EmitAllChanged();
}

void TRecordDataSet::RetextHeadings()
{
    if (!FFieldDefs.empty())
        emit headerDataChanged(Qt::Horizontal, 0, int(FFieldDefs.size()) - 1);
    if (IsOpen())
        EmitAllChanged();
}

void TRecordDataSet::Refresh()
{
    emit AboutToRefresh();
    FFailedReads.clear();
    if (IsOpen())
        EmitAllChanged();
    if (!FFieldDefs.empty())
        emit headerDataChanged(Qt::Horizontal, 0, int(FFieldDefs.size()) - 1);
}

void TRecordDataSet::SetFieldTitle(int FieldNo, std::string Title)
{
    if (!IsValidField(FieldNo))
        return;
    FFieldDefs[FieldNo - 1].Title = std::move(Title);
    emit headerDataChanged(Qt::Horizontal, FieldNo - 1, FieldNo - 1);
}

void TRecordDataSet::EmitAllChanged()
{
    const int rows = rowCount();
    if (rows > 0 && !FFieldDefs.empty())
        emit dataChanged(index(0, 0), index(rows - 1, int(FFieldDefs.size()) - 1));
}

// --- Cursor

void TRecordDataSet::MoveTo(int Index)
{
    if (Index == FCurrentRecord)
        return;
    const int old = FCurrentRecord;
    FCurrentRecord = Index;
    if (old >= 0)
        emit headerDataChanged(Qt::Vertical, old, old);
    if (Index >= 0) {
        emit headerDataChanged(Qt::Vertical, Index, Index);
        emit CurrentRecordChanged(Index + 1);
    }
}

int TRecordDataSet::GetRecNo() const
{
    if (!IsOpen())
        return 0;
    if (FCurrentRecord == -1)
        return GetRecordCount() > 0 ? 1 : 0;
    return FCurrentRecord + 1;
}

void TRecordDataSet::SetRecNo(int Value)
{
    const int count = IsOpen() ? GetRecordCount() : 0;
    if (count <= 0)
        return;
    int index = Value - 1;
    if (Value < 1)
        index = 0;
    else if (Value >= count)
        index = count - 1;
    FBof = FEof = false;
    MoveTo(index);
}

void TRecordDataSet::First()
{
    const int count = IsOpen() ? GetRecordCount() : 0;
    if (count <= 0)
        return;
    FBof = true;
    FEof = false;
    MoveTo(0);
}

void TRecordDataSet::Last()
{
    const int count = IsOpen() ? GetRecordCount() : 0;
    if (count <= 0)
        return;
    FBof = false;
    FEof = true;
    MoveTo(count - 1);
}

void TRecordDataSet::Next()
{
    const int count = IsOpen() ? GetRecordCount() : 0;
    if (FCurrentRecord >= count - 1) {
        FEof = true; // the cursor stays on the last row
        return;
    }
    FBof = FEof = false;
    MoveTo(FCurrentRecord + 1);
}

void TRecordDataSet::Prior()
{
    if (FCurrentRecord <= 0) {
        FBof = true;
        return;
    }
    FBof = FEof = false;
    MoveTo(FCurrentRecord - 1);
}

int TRecordDataSet::GetBookmark() const
{
    return IsOpen() ? FCurrentRecord : -1;
}

void TRecordDataSet::GotoBookmark(int Bookmark)
{
    // A negative index is refused as well: it names no row either.
    if (!IsOpen() || Bookmark < 0 || Bookmark >= GetRecordCount())
        throw EDatabaseError("Bookmark not found");
    FBof = FEof = false;
    MoveTo(Bookmark);
}

// --- Fields

bool TRecordDataSet::IsValidCell(int FieldNo, int RecNo) const
{
    return IsOpen() && IsValidField(FieldNo) && RecNo >= 1 && RecNo <= GetRecordCount();
}

QVariant TRecordDataSet::ReadField(int FieldNo, int RecNo) const
{
    if (!IsValidCell(FieldNo, RecNo))
        return {};
    QVariant value = GetFieldData(FieldNo, RecNo);
    const TFieldDef& def = FFieldDefs[FieldNo - 1];
    if (def.DataType == TFieldType::ftString && value.isValid() && def.Size > 0) {
        // A number is shown whole: cut, it would read as another number (a
        // group of 123 from a file as 12). The size bounds what is typed.
        QString text = value.toString();
        static const QRegularExpression number(QStringLiteral("^-?\\d+$"));
        if (text.size() > def.Size && !number.match(text).hasMatch())
            value = text.left(def.Size);
    }
    return value;
}

bool TRecordDataSet::WriteField(int FieldNo, int RecNo, const QVariant& Value)
{
    if (!IsValidCell(FieldNo, RecNo))
        return false;
    if (!Value.isValid() || Value.isNull()) {
        const QModelIndex cell = index(RecNo - 1, FieldNo - 1);
        emit dataChanged(cell, cell); // repaint the stored value
        return false;
    }
    const TFieldDef& def = FFieldDefs[FieldNo - 1];
    return Store(FieldNo, RecNo, [&] {
        QVariant converted;
        bool ok = !def.ReadOnly;
        if (ok && def.DataType == TFieldType::ftInteger)
            converted = Value.toString().trimmed().toInt(&ok);
        else if (ok)
            converted = Value.toString();
        if (ok)
            SetFieldData(FieldNo, RecNo, converted);
        return ok;
    });
}

bool TRecordDataSet::WriteFieldCode(int FieldNo, int RecNo, int Code)
{
    if (!IsValidCell(FieldNo, RecNo))
        return false;
    return Store(FieldNo, RecNo, [&] {
        if (FFieldDefs[FieldNo - 1].ReadOnly)
            return false;
        SetFieldCode(FieldNo, RecNo, Code);
        return true;
    });
}

bool TRecordDataSet::Store(int FieldNo, int RecNo, const std::function<bool()>& Write)
{
    bool taken = false;
    try {
        taken = Write();
    } catch (...) {
        ReportWidgetError(std::current_exception());
    }
    emit FieldChange(FieldNo, RecNo);
    // A write may change other fields and rows (a new type resets its
    // sensitivities), so every cell is read again.
    EmitAllChanged();
    return taken;
}

QVariant TRecordDataSet::GetFieldCode(int, int) const
{
    return {};
}

void TRecordDataSet::SetFieldCode(int, int, int) { }

void TRecordDataSet::ShowMessageLater(std::string Text, platform::MsgDlgType Type)
{
    QMetaObject::invokeMethod(
        this,
        [text = std::move(Text), Type] {
            try {
                platform::CurrentPrompts().MessageDlg(text, Type, platform::mbOK);
            } catch (...) {
                ReportWidgetError(std::current_exception());
            }
        },
        Qt::QueuedConnection);
}

// --- Qt's model interface

int TRecordDataSet::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !IsOpen())
        return 0;
    return GetRecordCount();
}

int TRecordDataSet::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(FFieldDefs.size());
}

QVariant TRecordDataSet::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int fieldNo = index.column() + 1;
    try {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole: {
            QVariant value = ReadField(fieldNo, index.row() + 1);
            return value.isValid() ? QVariant(value.toString()) : QVariant();
        }
        case Qt::EditRole:
            return ReadField(fieldNo, index.row() + 1);
        case CodeRole:
            return IsValidCell(fieldNo, index.row() + 1) ? GetFieldCode(fieldNo, index.row() + 1)
                                                         : QVariant();
        case Qt::TextAlignmentRole:
            if (IsValidField(fieldNo) && FFieldDefs[fieldNo - 1].DataType == TFieldType::ftInteger)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
        }
    } catch (...) {
        auto cell = std::make_pair(index.row(), index.column());
        if (!FFailedReads.contains(cell)) {
            FFailedReads.insert(cell);
            ReportWidgetError(std::current_exception());
        }
        return {};
    }
}

bool TRecordDataSet::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    if (role == CodeRole) {
        bool isCode = false;
        const int code = value.toInt(&isCode);
        return isCode && WriteFieldCode(index.column() + 1, index.row() + 1, code);
    }
    return role == Qt::EditRole && WriteField(index.column() + 1, index.row() + 1, value);
}

Qt::ItemFlags TRecordDataSet::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const int fieldNo = index.column() + 1;
    if (IsOpen() && IsValidField(fieldNo) && !FFieldDefs[fieldNo - 1].ReadOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant TRecordDataSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    try {
        if (orientation == Qt::Horizontal) {
            if (section < 0 || section >= int(FFieldDefs.size()))
                return {};
            const TFieldDef& def = FFieldDefs[section];
            return QString::fromStdString(Translate(def.Title.empty() ? def.Name : def.Title));
        }
        if (role == Qt::DisplayRole && IsOpen() && section == FCurrentRecord)
            return CurrentRowMarker;
        return QString();
    } catch (...) {
        ReportWidgetError(std::current_exception());
        return {};
    }
}

bool TRecordDataSet::insertRows(int, int, const QModelIndex&)
{
    return false;
}

bool TRecordDataSet::removeRows(int, int, const QModelIndex&)
{
    return false;
}
