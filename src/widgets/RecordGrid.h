#pragma once
// The grid of a record data set. The current cell always has its editor open
// (a read-only field has none); Tab and Shift+Tab move between columns,
// Ctrl+Tab and Ctrl+Shift+Tab leave the grid; Shift+F10 and the Menu key open
// its pop-up menu (the parent's, as a right click does); the
// vertical header marks the current row and the current cell is focused.
// Moving the current cell moves the data set's cursor and the reverse.
//
// How a column's cell is edited may differ from row to row (the type list of
// a row depends on its protocol): a column takes either one TCellEdit for
// every row or a function that gives the one of a record number. An open
// list follows what its row offers whenever the cells are read again (after
// a language change, in the new language).
#include "RecordDataSet.h"

#include <QPointer>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <functional>
#include <map>

struct TCellEdit {
    enum TButtonStyle {
        cbsNone, // a plain text cell
        cbsAuto, // a drop-down list offering only PickList's entries (plain when empty)
        cbsEllipsis, // a text cell with a "..." button (the grid's OnEditButtonClick)
    };
    TButtonStyle ButtonStyle = cbsNone;
    QStringList PickList;
    // The code each entry stands for (its item data), which a choice hands
    // to the data set and by which the stored value's entry is marked; empty:
    // the entries' positions.
    QList<int> Codes;
    int CodeOf(int Entry) const { return Entry < Codes.size() ? Codes[Entry] : Entry; }
};

class TRecordGrid : public QTableView {
    Q_OBJECT
public:
    // `AccessibleName`: the English text a user reads beside the grid, named in
    // the language in force.
    explicit TRecordGrid(const QString& AccessibleName, QWidget* Parent = nullptr);

    void SetDataSet(TRecordDataSet* DataSet);
    TRecordDataSet* DataSet() const { return FDataSet; }

    void SetColumnEdit(int Column, TCellEdit Edit);
    void SetColumnEdit(int Column, std::function<TCellEdit(int RecNo)> EditOfRecord);
    // The widths the window gives its columns, in pixels. A column is never
    // narrower than its given width and widens to its heading in the font in
    // use, whatever language the heading is in, and to the entries of its
    // pick lists (SetColumnEntries).
    void SetColumnWidths(const QList<int>& Widths);
    // Every entry the column's pick lists may offer in any row, as its cells
    // show them, asked whenever the widths are fitted (so in the language
    // shown then): each reads whole in a cell and in the cell's open list
    // with its drop-down button.
    void SetColumnEntries(int Column, std::function<QStringList()> Entries);
    // The widths given, each widened to its heading and entries again (a
    // reload or a language change forgets the user's).
    void RestoreColumnWidths() { FitColumns(); }
    // The width the columns given take together (the grid's content width).
    int ColumnsWidth() const;
    // A class library edit mask for the column's text cells (see EditMaskValidator).
    void SetColumnEditMask(int Column, const QString& Mask);
    TCellEdit CellEdit(int Column, int RecNo) const;

    // Writes the open editor's text into its record if the user changed it,
    // and leaves the editor open. Windows call it before the configuration is
    // replaced or saved, before a send, a view change, a language change and
    // closing.
    void CommitEdit();
    // The editor of the current cell, if one is open.
    QWidget* OpenEditor() const { return FEditor; }

    // The "..." button of a cell was pressed (called once the click is over).
    std::function<void(int Column, int RecNo)> OnEditButtonClick;
    // Adjusts how a cell is drawn (font, colours, state) before it is drawn.
    std::function<void(QStyleOptionViewItem& Option, const QModelIndex& Index)> OnDrawColumnCell;
    // Draws every cell of the current row selected, not only the current one.
    void SetHighlightCurrentRow(bool On);
    // Esc in a cell goes to the window (which closes) instead of throwing
    // the typing away.
    void SetEscapeToWindow(bool On) { FEscapeToWindow = On; }
    bool EscapeToWindow() const { return FEscapeToWindow; }

    // Used by the grid's delegate.
    QValidator* NewValidator(int Column, QObject* Parent) const;
    void EditorOpened(QWidget* Editor, const QModelIndex& Index);
    void EditButtonClicked(int Column, int RecNo);
    void DrawCell(QStyleOptionViewItem& Option, const QModelIndex& Index) const;
    // Up, Down, Page Up, Page Down (and Home and End in a list) typed in an
    // editor move the current cell.
    bool MoveFromEditor(int Key, Qt::KeyboardModifiers Modifiers);
    // Ctrl+Tab and Ctrl+Shift+Tab give the focus to the next (or previous)
    // control after the grid; true for those keys.
    bool LeaveOnKey(const QKeyEvent* Key);

signals:
    // The columns were given their widths again (ColumnsWidth may differ).
    void ColumnsFitted();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FollowCursor(int RecNo);
    void OpenCurrentEditor();
    void ModelWasReset();
    void ShowStoredValue(const QModelIndex& TopLeft, const QModelIndex& BottomRight);
    void FitColumns();
    // The width the widest entry of the column's pick lists needs, 0 for none.
    int EntriesWidth(int Column) const;
    void HeadingsChanged(Qt::Orientation Orientation);
    QStringList Headings() const;

    TRecordDataSet* FDataSet = nullptr;
    QPointer<QWidget> FEditor;
    QPersistentModelIndex FEditorIndex;
    std::map<int, std::function<TCellEdit(int)>> FColumnEdits;
    std::map<int, QString> FColumnMasks;
    std::map<int, std::function<QStringList()>> FColumnEntries;
    QList<int> FColumnWidths;
    QStringList FFittedHeadings; // the headings the widths were last fitted to
    bool FHighlightCurrentRow = false;
    bool FEscapeToWindow = false;
};
