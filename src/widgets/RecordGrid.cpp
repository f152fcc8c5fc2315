#include "RecordGrid.h"

#include "AccessibleName.h"
#include "CellEditors.h"
#include "CodePageValidator.h"
#include "DialogKeys.h"
#include "WidgetErrors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaObject>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

class TRecordGridDelegate : public QStyledItemDelegate {
    static constexpr const char* UserChoice = "userChoice";

public:
    explicit TRecordGridDelegate(TRecordGrid* Grid)
        : QStyledItemDelegate(Grid)
        , FGrid(Grid)
    {
    }

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        try {
            return NewEditor(parent, index);
        } catch (...) {
            ReportWidgetError(std::current_exception());
            return nullptr;
        }
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            FollowOffer(combo, index);
            // The stored value's entry, by its code: the cell's text may be
            // cut. A stored value that the list does not offer is shown, but
            // choosing nothing writes nothing.
            const QVariant code = index.data(TRecordDataSet::CodeRole);
            combo->setPlaceholderText(text);
            combo->setCurrentIndex(
                code.isValid() ? combo->findData(code) : combo->findText(text, Qt::MatchExactly));
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            if (line->text() != text)
                line->setText(text);
        }
    }

    // Only what the user changed is written: an editor left as it was shown
    // writes nothing (no repeated messages), and neither does one whose record
    // was changed underneath it.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (!combo->property(UserChoice).toBool() || combo->currentIndex() < 0)
                return;
            combo->setProperty(UserChoice, false);
            model->setData(index, combo->currentData(), TRecordDataSet::CodeRole);
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            if (!line->isModified())
                return;
            line->setModified(false);
            QVariant value = line->text();
            if (!line->hasAcceptableInput() || (IsIntegerField(index) && line->text().trimmed().isEmpty()))
                value = QVariant(); // refused: the stored value is shown again
            model->setData(index, value, Qt::EditRole);
        }
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        try {
            QStyledItemDelegate::paint(painter, option, index);
        } catch (...) {
            ReportWidgetError(std::current_exception());
        }
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        FGrid->DrawCell(*option, index);
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* combo = qobject_cast<QComboBox*>(object);
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && FGrid->EscapeToWindow()
            && !(combo && combo->view()->isVisible()))
            return false; // neither reverted nor kept from the window's own handling
        // The grid's pop-up menu, not the cell editor's own.
        if (IsPopupMenuKey(event) && ShowPopupMenuAtCurrentItem(FGrid))
            return true;
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (FGrid->LeaveOnKey(key))
                return true;
            // A letter typed on a closed list looks for its entry in the opened
            // list: a closed list would choose, and write, every entry it
            // passes on the way ("K720" on the way to "K721").
            if (combo && !combo->view()->isVisible() && !key->text().isEmpty() && key->text().at(0).isPrint()
                && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
                combo->showPopup();
                QCoreApplication::sendEvent(combo->view(), key);
                return true;
            }
            // A grid without Tab navigation lets Tab leave it from a cell too
            // (Qt's delegate would move to the next cell).
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !FGrid->tabKeyNavigation())
                return false;
            bool move = false;
            switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                // Rows move as in the rest of the grid; a closed list does not
                // change its value (Alt+Down opens it).
                move = !(key->modifiers() & Qt::AltModifier) && !(combo && combo->view()->isVisible());
                break;
            case Qt::Key_Home:
            case Qt::Key_End:
                // A list would choose its first or last entry: move to the
                // first or last column instead (in a text, the caret moves).
                move = combo && !combo->view()->isVisible();
                break;
            default:
                break;
            }
            if (move && FGrid->MoveFromEditor(key->key(), key->modifiers()))
                return true;
            if (LeavesUnfitText(object, key))
                return true;
        } else if (event->type() == QEvent::Wheel && combo) {
            // The wheel scrolls the grid instead of changing the value under it.
            QCoreApplication::sendEvent(FGrid->viewport(), event);
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    static void Fill(QComboBox* combo, const TCellEdit& edit)
    {
        combo->clear();
        for (int i = 0; i < edit.PickList.size(); ++i)
            combo->addItem(edit.PickList[i], edit.CodeOf(i));
        combo->setMaxVisibleItems(int(edit.PickList.size()));
    }

    // An open list takes the entries its row offers now, unless it holds them.
    void FollowOffer(QComboBox* combo, const QModelIndex& index) const
    {
        try {
            const TCellEdit edit = FGrid->CellEdit(index.column(), index.row() + 1);
            if (edit.ButtonStyle != TCellEdit::cbsAuto || edit.PickList.isEmpty())
                return;
            bool same = combo->count() == edit.PickList.size();
            for (int i = 0; same && i < combo->count(); ++i)
                same = combo->itemText(i) == edit.PickList[i] && combo->itemData(i).toInt() == edit.CodeOf(i);
            if (!same) {
                const QSignalBlocker block(combo);
                Fill(combo, edit);
            }
        } catch (...) {
            ReportWidgetError(std::current_exception());
        }
    }

    // Qt keeps Tab and Enter in a cell whose text its validator does not
    // accept (an empty group, a cleared zone), so the keyboard could not
    // leave it: the text is committed (and refused, showing the stored value)
    // and the cell is left as for any other text.
    bool LeavesUnfitText(QObject* object, const QKeyEvent* key)
    {
        auto* line = qobject_cast<QLineEdit*>(object);
        if (!line || line->hasAcceptableInput() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        QAbstractItemDelegate::EndEditHint hint = QAbstractItemDelegate::NoHint;
        switch (key->key()) {
        case Qt::Key_Tab:
            hint = key->modifiers() & Qt::ShiftModifier ? EditPreviousItem : EditNextItem;
            break;
        case Qt::Key_Backtab:
            hint = EditPreviousItem;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            hint = SubmitModelCache;
            break;
        default:
            return false;
        }
        emit commitData(line);
        emit closeEditor(line, hint);
        return true;
    }

    bool IsIntegerField(const QModelIndex& index) const
    {
        const TRecordDataSet* ds = FGrid->DataSet();
        const int column = index.column();
        return ds && column >= 0 && column < int(ds->GetFieldDefs().size())
            && ds->GetFieldDefs()[column].DataType == TFieldType::ftInteger;
    }

    QWidget* NewEditor(QWidget* parent, const QModelIndex& index) const
    {
        const int column = index.column();
        const int recNo = index.row() + 1;
        const TCellEdit edit = FGrid->CellEdit(column, recNo);
        QWidget* editor = nullptr;
        if (edit.ButtonStyle == TCellEdit::cbsAuto && !edit.PickList.isEmpty()) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(false);
            Fill(combo, edit);
            auto* self = const_cast<TRecordGridDelegate*>(this);
            // A choice the user made is written at once.
            connect(combo, &QComboBox::activated, self, [self, combo] {
                combo->setProperty(UserChoice, true);
                emit self->commitData(combo);
            });
            editor = combo;
        } else {
            QLineEdit* line = nullptr;
            if (edit.ButtonStyle == TCellEdit::cbsEllipsis) {
                auto* ellipsis = new TEllipsisEdit(parent);
                TRecordGrid* grid = FGrid;
                connect(ellipsis, &TEllipsisEdit::ButtonClicked, grid,
                    [grid, column, recNo] { grid->EditButtonClicked(column, recNo); });
                line = ellipsis;
            } else {
                line = new QLineEdit(parent);
            }
            line->setFrame(false);
            const QVariant alignment = index.data(Qt::TextAlignmentRole);
            if (alignment.isValid())
                line->setAlignment(Qt::Alignment(alignment.toInt()));
            line->setValidator(FGrid->NewValidator(column, line));
            editor = line;
        }
        editor->setAccessibleName(index.model()->headerData(column, Qt::Horizontal).toString());
        FGrid->EditorOpened(editor, index);
        return editor;
    }

    TRecordGrid* FGrid;
};

} // namespace

TRecordGrid::TRecordGrid(const QString& AccessibleName, QWidget* Parent)
    : QTableView(Parent)
{
    SetAccessibleNameParts(this, { AccessibleName });
    setItemDelegate(new TRecordGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked
        | QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setMinimumWidth(14);
    AddPopupMenuKeys(this);
}

bool TRecordGrid::LeaveOnKey(const QKeyEvent* Key)
{
    if ((Key->key() != Qt::Key_Tab && Key->key() != Qt::Key_Backtab)
        || !(Key->modifiers() & Qt::ControlModifier))
        return false;
    const bool forward = Key->key() == Qt::Key_Tab && !(Key->modifiers() & Qt::ShiftModifier);
    QWidget* next = this;
    for (;;) {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
        if (!next || next == this)
            return true; // nothing else takes the focus
        if (!isAncestorOf(next) && next->window() == window() && (next->focusPolicy() & Qt::TabFocus)
            && next->isEnabled() && next->isVisibleTo(window()) && !next->focusProxy())
            break;
    }
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void TRecordGrid::keyPressEvent(QKeyEvent* event)
{
    if (!LeaveOnKey(event))
        QTableView::keyPressEvent(event);
}

void TRecordGrid::SetDataSet(TRecordDataSet* DataSet)
{
    if (FDataSet)
        disconnect(FDataSet, nullptr, this, nullptr);
    FEditor = nullptr;
    FDataSet = DataSet;
    setModel(DataSet);
    if (!DataSet)
        return;
    connect(DataSet, &TRecordDataSet::CurrentRecordChanged, this, &TRecordGrid::FollowCursor);
    connect(DataSet, &TRecordDataSet::AboutToRefresh, this, &TRecordGrid::CommitEdit);
    connect(DataSet, &QAbstractItemModel::modelReset, this, &TRecordGrid::ModelWasReset);
    connect(DataSet, &QAbstractItemModel::dataChanged, this, &TRecordGrid::ShowStoredValue);
    connect(DataSet, &QAbstractItemModel::headerDataChanged, this, &TRecordGrid::HeadingsChanged);
    ModelWasReset();
}

void TRecordGrid::SetColumnEdit(int Column, TCellEdit Edit)
{
    FColumnEdits[Column] = [Edit](int) { return Edit; };
}

void TRecordGrid::SetColumnEdit(int Column, std::function<TCellEdit(int RecNo)> EditOfRecord)
{
    FColumnEdits[Column] = std::move(EditOfRecord);
}

void TRecordGrid::SetColumnEditMask(int Column, const QString& Mask)
{
    FColumnMasks[Column] = Mask;
}

TCellEdit TRecordGrid::CellEdit(int Column, int RecNo) const
{
    auto it = FColumnEdits.find(Column);
    return it != FColumnEdits.end() && it->second ? it->second(RecNo) : TCellEdit {};
}

QValidator* TRecordGrid::NewValidator(int Column, QObject* Parent) const
{
    auto mask = FColumnMasks.find(Column);
    if (mask != FColumnMasks.end())
        return EditMaskValidator(mask->second, Parent);
    if (!FDataSet || Column < 0 || Column >= int(FDataSet->GetFieldDefs().size()))
        return nullptr;
    const TFieldDef& def = FDataSet->GetFieldDefs()[Column];
    if (def.DataType == TFieldType::ftString)
        return new Cp1252Validator(def.Size, Parent);
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,9}")), Parent);
}

void TRecordGrid::EditorOpened(QWidget* Editor, const QModelIndex& Index)
{
    FEditor = Editor;
    FEditorIndex = Index;
}

// The open editor shows what was stored, also when a write or a refresh
// changed a range of cells (the view itself updates editors of single cells).
void TRecordGrid::ShowStoredValue(const QModelIndex& TopLeft, const QModelIndex& BottomRight)
{
    const QModelIndex index = FEditorIndex;
    if (!FEditor || !index.isValid() || index.row() < TopLeft.row() || index.row() > BottomRight.row()
        || index.column() < TopLeft.column() || index.column() > BottomRight.column())
        return;
    if (QAbstractItemDelegate* delegate = itemDelegateForIndex(index))
        delegate->setEditorData(FEditor, index);
}

void TRecordGrid::SetHighlightCurrentRow(bool On)
{
    FHighlightCurrentRow = On;
    viewport()->update();
}

void TRecordGrid::DrawCell(QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    try {
        if (FHighlightCurrentRow && Index.row() == currentIndex().row())
            Option.state |= QStyle::State_Selected;
        if (OnDrawColumnCell)
            OnDrawColumnCell(Option, Index);
    } catch (...) {
        ReportWidgetError(std::current_exception());
    }
}

void TRecordGrid::CommitEdit()
{
    if (FEditor)
        commitData(FEditor);
}

void TRecordGrid::EditButtonClicked(int Column, int RecNo)
{
    // Queued: the handler may open a modal window or re-bind the set, which
    // must not happen inside the button's own click.
    QMetaObject::invokeMethod(
        this,
        [this, Column, RecNo] {
            try {
                if (OnEditButtonClick)
                    OnEditButtonClick(Column, RecNo);
            } catch (...) {
                ReportWidgetError(std::current_exception());
            }
        },
        Qt::QueuedConnection);
}

bool TRecordGrid::MoveFromEditor(int Key, Qt::KeyboardModifiers Modifiers)
{
    CursorAction action = MoveDown;
    switch (Key) {
    case Qt::Key_Up:
        action = MoveUp;
        break;
    case Qt::Key_Down:
        action = MoveDown;
        break;
    case Qt::Key_PageUp:
        action = MovePageUp;
        break;
    case Qt::Key_PageDown:
        action = MovePageDown;
        break;
    case Qt::Key_Home:
        action = MoveHome;
        break;
    case Qt::Key_End:
        action = MoveEnd;
        break;
    default:
        return false;
    }
    const QModelIndex next = moveCursor(action, Modifiers & Qt::ControlModifier);
    if (next.isValid() && next != currentIndex())
        selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
    return true;
}

// Tab past the last cell goes back to the first column of the last row, and
// Shift+Tab before the first cell to the last column of the first row: there
// is no row to move to (Qt would wrap round to the other end of the grid).
QModelIndex TRecordGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (model() && current.isValid()) {
        const int lastRow = model()->rowCount() - 1;
        const int lastColumn = model()->columnCount() - 1;
        if (action == MoveNext && current.row() == lastRow && current.column() == lastColumn)
            return model()->index(lastRow, 0);
        if (action == MovePrevious && current.row() == 0 && current.column() == 0)
            return model()->index(0, lastColumn);
    }
    return QTableView::moveCursor(action, modifiers);
}

void TRecordGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (FHighlightCurrentRow || OnDrawColumnCell)
        viewport()->update(); // whole rows may be drawn by the current one
    if (FDataSet && current.isValid() && current.row() != FDataSet->GetBookmark())
        FDataSet->SetRecNo(current.row() + 1);
}

void TRecordGrid::FollowCursor(int RecNo)
{
    if (!model() || currentIndex().row() == RecNo - 1)
        return;
    const QModelIndex next = model()->index(RecNo - 1, qMax(currentIndex().column(), 0));
    if (next.isValid())
        setCurrentIndex(next);
}

void TRecordGrid::ModelWasReset()
{
    FEditor = nullptr;
    FitColumns();
    if (FDataSet && FDataSet->GetBookmark() >= 0)
        setCurrentIndex(FDataSet->index(FDataSet->GetBookmark(), 0));
}

void TRecordGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == FEditor)
        FEditor = nullptr;
    QTableView::closeEditor(editor, hint);
    // Enter and Esc end the edit, not the editor: it opens again on the
    // current cell (Tab has already moved on and opened the next one).
    if (hint != QAbstractItemDelegate::EditNextItem && hint != QAbstractItemDelegate::EditPreviousItem)
        QMetaObject::invokeMethod(this, &TRecordGrid::OpenCurrentEditor, Qt::QueuedConnection);
}

void TRecordGrid::OpenCurrentEditor()
{
    // An editor opened while the grid had no focus (a window that sets its
    // current cell as it is shown) would leave the keys with the grid, which
    // throws them away: the keyboard goes into the cell.
    if (FEditor && hasFocus() && FEditor->isVisible())
        FEditor->setFocus();
    const QModelIndex current = currentIndex();
    if (FEditor || !current.isValid() || state() == EditingState || !(current.flags() & Qt::ItemIsEditable))
        return;
    if (!hasFocus() && !isAncestorOf(QApplication::focusWidget()))
        return; // the user left the grid: the editor opens when they come back
    edit(current);
}

void TRecordGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    QMetaObject::invokeMethod(this, &TRecordGrid::OpenCurrentEditor, Qt::QueuedConnection);
}

void TRecordGrid::SetColumnWidths(const QList<int>& Widths)
{
    FColumnWidths = Widths;
    FitColumns();
}

int TRecordGrid::ColumnsWidth() const
{
    int width = 0;
    for (int c = 0; c < FColumnWidths.size(); ++c)
        width += columnWidth(c);
    return width;
}

void TRecordGrid::SetColumnEntries(int Column, std::function<QStringList()> Entries)
{
    FColumnEntries[Column] = std::move(Entries);
    FitColumns();
}

void TRecordGrid::FitColumns()
{
    QHeaderView* header = horizontalHeader();
    const int columns = model() ? model()->columnCount() : 0;
    for (int c = 0; c < FColumnWidths.size() && c < columns; ++c)
        setColumnWidth(c, std::max({ FColumnWidths[c], header->sectionSizeHint(c), EntriesWidth(c) }));
    FFittedHeadings = Headings();
    emit ColumnsFitted();
}

// An entry of a pick list is stored by its code whatever it reads, so a cut
// entry would hide which one is stored: the column takes the widest entry as
// a cell draws it (in the cell's own font) and as the open list shows it.
int TRecordGrid::EntriesWidth(int Column) const
{
    const auto it = FColumnEntries.find(Column);
    if (it == FColumnEntries.end() || !it->second || !model())
        return 0;
    const QStringList entries = it->second();
    QStyleOptionViewItem cell;
    initViewItemOption(&cell);
    DrawCell(cell, model()->index(0, Column));
    cell.features |= QStyleOptionViewItem::HasDisplay;
    // The list is made in the grid's font and fills the cell.
    QStyleOptionComboBox list;
    list.initFrom(viewport());
    list.frame = true;
    const QFontMetrics listFont(font());
    int widest = 0;
    for (const QString& entry : entries) {
        cell.text = entry;
        widest = std::max(
            widest, style()->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), this).width());
        const QSize text(listFont.horizontalAdvance(entry), listFont.height());
        widest = std::max(
            widest, style()->sizeFromContents(QStyle::CT_ComboBox, &list, text, viewport()).width());
    }
    // The grid line is drawn inside the column.
    return widest > 0 && showGrid() ? widest + 1 : widest;
}

// Every refresh of the data set announces its headings; only a heading that
// reads differently (another language) refits, so a width the user dragged
// stays until then.
void TRecordGrid::HeadingsChanged(Qt::Orientation Orientation)
{
    if (Orientation == Qt::Horizontal && Headings() != FFittedHeadings)
        FitColumns();
}

QStringList TRecordGrid::Headings() const
{
    QStringList out;
    const int columns = model() ? model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c)
        out << model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

void TRecordGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitColumns();
    // Headings and listed values are shown through Translate: again, in the
    // new language, and the columns fit them (forgetting the user's widths).
    if (event->type() == QEvent::LanguageChange && FDataSet) {
        FDataSet->RetextHeadings();
        FitColumns();
    }
}

void TRecordGrid::paintEvent(QPaintEvent* event)
{
    try {
        QTableView::paintEvent(event);
    } catch (...) {
        ReportWidgetError(std::current_exception());
    }
}
