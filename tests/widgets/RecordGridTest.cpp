#include "CellEditors.h"
#include "RecordGrid.h"
#include "TestDataSet.h"

#include "support/FakePrompts.h"
#include "support/PickListEntries.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

enum { colDescription = 1, colZone = 2, colProtocol = 3 };

// Types any characters, not only those with a key of their own.
void Type(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

struct GridFixture : ::testing::Test {
    std::unique_ptr<TPX10ConfigData> Config = NewConfig();
    TTestSensorDataSet Set;
    TRecordGrid Grid { "Sensors" };
    void SetUp() override
    {
        Set.SetConfigPart(Config->Sensors.get());
        Set.Open();
        Grid.SetDataSet(&Set);
        Grid.SetColumnEditMask(colZone, "09;0; ");
        // Odd rows may not choose TORQ: the list depends on the row.
        Grid.SetColumnEdit(colProtocol, [](int RecNo) {
            TCellEdit e { TCellEdit::cbsAuto, TTestSensorDataSet::Protocols, {} };
            if (RecNo % 2) {
                e.PickList.removeAt(1);
                e.Codes = { 0, 2 };
            }
            return e;
        });
        Grid.resize(600, 400);
        Grid.show();
        Grid.activateWindow();
        Grid.setFocus();
        ProcessEvents();
    }
    void Go(int RecNo, int Column)
    {
        Grid.setCurrentIndex(Set.index(RecNo - 1, Column));
        ProcessEvents();
    }
    template <class T> T* Editor()
    {
        auto* e = qobject_cast<T*>(Grid.OpenEditor());
        EXPECT_TRUE(e) << "no editor of the expected kind";
        return e;
    }
};

} // namespace

TEST_F(GridFixture, KeyboardNavigationNeverAddsARow)
{
    const auto before = Snapshot(*Config->Sensors);
    Go(98, colDescription);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(Grid.OpenEditor(), Qt::Key_Down);
        ProcessEvents();
    }
    EXPECT_EQ(Grid.currentIndex().row(), 98);
    EXPECT_EQ(Set.GetRecNo(), 99);
    Go(99, 0); // a read-only cell: no editor, the grid takes the keys
    QTest::keyClick(&Grid, Qt::Key_Down);
    QTest::keyClick(&Grid, Qt::Key_PageDown);
    QTest::keyClick(&Grid, Qt::Key_End, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(Set.rowCount(), 99);
    EXPECT_EQ(Grid.currentIndex().row(), 98);
    EXPECT_EQ(Snapshot(*Config->Sensors), before);
}

TEST_F(GridFixture, CurrentCellFollowsTheCursorBothWays)
{
    Go(1, colZone);
    Set.GotoBookmark(40);
    EXPECT_EQ(Grid.currentIndex().row(), 40);
    EXPECT_EQ(Grid.currentIndex().column(), colZone);
    Go(12, colDescription);
    EXPECT_EQ(Set.GetRecNo(), 12);
    QTest::keyClick(Grid.OpenEditor(), Qt::Key_Up);
    ProcessEvents();
    EXPECT_EQ(Set.GetRecNo(), 11);
    EXPECT_EQ(Set.headerData(10, Qt::Vertical).toString(), TRecordDataSet::CurrentRowMarker);
    // Tab moves between columns, the editor going along.
    QTest::keyClick(Grid.OpenEditor(), Qt::Key_Tab);
    ProcessEvents();
    EXPECT_EQ(Grid.currentIndex().column(), colZone);
    EXPECT_TRUE(Grid.OpenEditor());
    // Tab past the last cell stays on the last row instead of jumping to the first.
    Go(99, colProtocol);
    QTest::keyClick(Grid.OpenEditor(), Qt::Key_Tab);
    ProcessEvents();
    EXPECT_EQ(Grid.currentIndex(), Set.index(98, 0));
    EXPECT_EQ(Set.rowCount(), 99);
}

TEST_F(GridFixture, TypedTextIsWrittenOnCommitAndTheEditorStaysOpen)
{
    FakePrompts prompts;
    Go(5, colDescription);
    auto* line = Editor<QLineEdit>();
    ASSERT_TRUE(line);
    line->selectAll();
    Type(line, QString::fromUtf8("Hall \xE2\x82\xAC 2")); // the euro sign is in the code page
    Type(line, QString::fromUtf8("\xCE\xA9")); // omega is not: refused
    Grid.CommitEdit();
    EXPECT_EQ(Config->Sensors->GetDescription(5), "Hall \x80 2");
    EXPECT_EQ(Grid.OpenEditor(), line);
    // Enter and Esc end the edit, not the editor: one opens again on the same cell.
    QTest::keyClick(line, Qt::Key_A);
    QTest::keyClick(line, Qt::Key_Escape);
    ProcessEvents();
    line = Editor<QLineEdit>();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), QString::fromUtf8("Hall \xE2\x82\xAC 2"));

    // A refresh re-reads every cell but keeps the current cell and its editor.
    Config->Sensors->SetDescription(5, "Store");
    Set.Refresh();
    ProcessEvents();
    EXPECT_EQ(Grid.OpenEditor(), line);
    EXPECT_EQ(line->text(), "Store");
    EXPECT_EQ(Grid.currentIndex(), Set.index(4, colDescription));

    // A cleared zone is a null write: nothing stored, the old zone shown again.
    Config->Sensors->SetZone(5, 4);
    Go(5, colZone);
    line = Editor<QLineEdit>();
    ASSERT_TRUE(line);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Backspace);
    const auto before = Snapshot(*Config->Sensors);
    Grid.CommitEdit();
    EXPECT_EQ(Snapshot(*Config->Sensors), before);
    EXPECT_EQ(line->text(), "4");
    // The mask takes two digits at most.
    line->selectAll();
    QTest::keyClicks(line, "173");
    EXPECT_EQ(line->text(), "17");
    Grid.CommitEdit(); // refused: the warning comes after the write
    EXPECT_TRUE(prompts.Log.empty());
    prompts.Answer(platform::mrOk);
    ProcessEvents();
    ASSERT_EQ(prompts.Log.size(), 1u);
    EXPECT_EQ(Config->Sensors->GetZone(5), 4);
    EXPECT_EQ(line->text(), "4");
}

TEST_F(GridFixture, PickListsOfferOnlyTheirEntriesPerRow)
{
    Go(3, colProtocol);
    auto* odd = Editor<QComboBox>();
    ASSERT_TRUE(odd);
    EXPECT_FALSE(odd->isEditable());
    EXPECT_EQ(odd->count(), 2);
    Go(4, colProtocol);
    auto* combo = Editor<QComboBox>();
    ASSERT_TRUE(combo);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), " - ");

    // Typed text that no entry matches chooses nothing and writes nothing.
    const auto before = Snapshot(*Config->Sensors);
    QTest::keyClicks(combo, "X"); // opens the list to look for an entry
    ProcessEvents();
    QTest::keyClicks(combo->view(), "YZ");
    combo->hidePopup();
    ProcessEvents();
    Grid.CommitEdit();
    EXPECT_EQ(Snapshot(*Config->Sensors), before);
    ASSERT_EQ(Grid.OpenEditor(), combo);

    // A choice the user makes is written at once.
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(Config->Sensors->GetType(4), 2);
    EXPECT_EQ(Set.data(Set.index(3, colProtocol)).toString(), "BRIM");
    // Down moves to the next row instead of changing the choice.
    QTest::keyClick(combo, Qt::Key_Down);
    ProcessEvents();
    EXPECT_EQ(Set.GetRecNo(), 5);
    EXPECT_EQ(Config->Sensors->GetType(4), 2);
    // Home goes to the first column instead of choosing the first entry (" - ").
    Go(4, colProtocol);
    QTest::keyClick(Editor<QComboBox>(), Qt::Key_Home);
    ProcessEvents();
    EXPECT_EQ(Grid.currentIndex().column(), 0);
    EXPECT_EQ(Config->Sensors->GetType(4), 2);
}

TEST_F(GridFixture, TypingOnAClosedListWritesOnlyTheEntryChosen)
{
    Go(4, colProtocol);
    auto* combo = Editor<QComboBox>();
    ASSERT_TRUE(combo);
    const auto before = Snapshot(*Config->Sensors);
    QTest::keyClicks(combo, "T");
    ProcessEvents();
    EXPECT_TRUE(combo->view()->isVisible());
    EXPECT_EQ(Snapshot(*Config->Sensors), before); // only looked for, not chosen
    QTest::keyClick(combo->view(), Qt::Key_Return);
    ProcessEvents();
    EXPECT_NE(Config->Sensors->GetTorqType(4), 0);
    EXPECT_EQ(Set.data(Set.index(3, colProtocol)).toString(), "TORQ");
}

TEST_F(GridFixture, EllipsisButtonCallsTheHandlerAfterTheClick)
{
    std::vector<std::pair<int, int>> clicks;
    Grid.OnEditButtonClick = [&](int Column, int RecNo) { clicks.emplace_back(Column, RecNo); };
    Grid.SetColumnEdit(colDescription, TCellEdit { TCellEdit::cbsEllipsis, {}, {} });
    Go(8, colDescription);
    auto* edit = Editor<TEllipsisEdit>();
    ASSERT_TRUE(edit);
    edit->Button()->click();
    EXPECT_TRUE(clicks.empty());
    ProcessEvents();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(int(colDescription), 8));
}

TEST_F(GridFixture, ReplacedConfigurationIsNeverTouched)
{
    // Typed but not committed when the configuration is replaced (the main
    // window commits first; this checks the grid does not do it late).
    Go(6, colDescription);
    auto* line = Editor<QLineEdit>();
    ASSERT_TRUE(line);
    QTest::keyClicks(line, "late");
    auto next = NewConfig();
    next->Sensors->SetDescription(6, "Kitchen");
    const auto before = Snapshot(*next->Sensors);
    Set.SetConfigPart(next->Sensors.get());
    Config.reset(); // under AddressSanitizer any later use of it is reported
    ProcessEvents();
    Grid.grab();
    EXPECT_EQ(line->text(), "Kitchen");
    Grid.CommitEdit();
    EXPECT_EQ(Snapshot(*next->Sensors), before);

    Set.Close();
    ProcessEvents();
    Grid.grab();
    EXPECT_EQ(Grid.OpenEditor(), nullptr);
    next.reset();
    Grid.CommitEdit();
    ProcessEvents();
    Grid.grab();
}

TEST_F(GridFixture, GridAndCellsAreNamedForScreenReaders)
{
    Config->Sensors->SetDescription(2, "Lobby");
    EXPECT_EQ(Grid.accessibleName(), "Sensors");
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&Grid);
    ASSERT_TRUE(grid && grid->tableInterface());
    QAccessibleInterface* cell = grid->tableInterface()->cellAt(1, colDescription);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->text(QAccessible::Name), "Lobby");
    EXPECT_EQ(grid->tableInterface()->cellAt(1, 0)->text(QAccessible::Name), "2");
}

TEST_F(GridFixture, AColumnKeepsItsGivenWidthAndWidensToItsHeading)
{
    QHeaderView* header = Grid.horizontalHeader();
    auto needs = [&](int c) {
        const QString heading = Set.headerData(c, Qt::Horizontal).toString();
        return header->fontMetrics().horizontalAdvance(heading)
            + 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    };
    Grid.SetColumnWidths({ 200, 10, 40, 300 });
    EXPECT_EQ(Grid.columnWidth(0), 200) << "wider than its heading: the width given";
    EXPECT_GE(Grid.columnWidth(1), needs(1)) << "\"Description\" is not cut at 10 pixels";
    EXPECT_EQ(Grid.columnWidth(3), 300);
    EXPECT_EQ(Grid.ColumnsWidth(), 200 + Grid.columnWidth(1) + Grid.columnWidth(2) + 300);

    // A larger font, as a longer heading of another language: wider again,
    // and never below the width given.
    const int zone = Grid.columnWidth(2);
    QFont large = header->font();
    large.setPointSizeF(large.pointSizeF() * 3);
    Grid.setFont(large);
    ProcessEvents();
    EXPECT_GT(Grid.columnWidth(2), zone);
    for (int c = 0; c < 4; ++c)
        EXPECT_GE(Grid.columnWidth(c), needs(c)) << "column " << c;
    EXPECT_EQ(Grid.columnWidth(3), std::max(300, needs(3)));

    // A width the user drags survives a refresh of the rows; a heading that
    // reads differently, or a reload, gives the columns their widths again.
    const int fitted = Grid.columnWidth(3);
    Grid.setColumnWidth(3, fitted + 200);
    Set.Refresh();
    EXPECT_EQ(Grid.columnWidth(3), fitted + 200);
    Set.SetFieldTitle(1, "Loop address");
    EXPECT_EQ(Grid.columnWidth(3), fitted);
    EXPECT_GE(Grid.columnWidth(0), needs(0));
    Grid.setColumnWidth(3, fitted + 200);
    Grid.RestoreColumnWidths();
    EXPECT_EQ(Grid.columnWidth(3), fitted);
}

// A pick list's column fits its widest entry in the list open on it, also in another language.
TEST_F(GridFixture, APickListColumnReadsItsWidestEntryWhole)
{
    QStringList entries = TTestSensorDataSet::Protocols;
    Grid.SetColumnEntries(colProtocol, [&] { return entries; });
    Grid.SetColumnWidths({ 40, 100, 40, 20 });
    entries << "PROTOCOLE ÉTENDU";
    QApplication::postEvent(&Grid, new QEvent(QEvent::LanguageChange));
    ExpectEntriesWhole(Grid, Set.index(3, colProtocol), entries, "after the language changed");
}

TEST(EditMasks, ZeroIsARequiredDigitAndNineAnOptionalOne)
{
    auto check = [](const char* mask, const char* text) {
        std::unique_ptr<QValidator> v(EditMaskValidator(mask));
        QString s = text;
        int pos = 0;
        return v->validate(s, pos);
    };
    EXPECT_EQ(check("09;0; ", "5"), QValidator::Acceptable);
    EXPECT_EQ(check("09;0; ", "16"), QValidator::Acceptable);
    EXPECT_NE(check("09;0; ", ""), QValidator::Acceptable);
    EXPECT_EQ(check("09;0; ", "123"), QValidator::Invalid);
    EXPECT_EQ(check("09;0; ", "a"), QValidator::Invalid);
    EXPECT_EQ(check("!099;0; ", "120"), QValidator::Acceptable);
    EXPECT_EQ(check("!099;0; ", "1200"), QValidator::Invalid);
    EXPECT_EQ(check("!90:00;1;_", "9:30"), QValidator::Acceptable);
    EXPECT_NE(check("!90:00;1;_", "9:3"), QValidator::Acceptable);
}

// Ctrl+Tab and Ctrl+Shift+Tab leave the grid, from a cell and from the grid
// itself, forwards and backwards; Tab still moves between cells.
TEST(GridKeys, CtrlTabLeavesTheGridWhereTabMovesBetweenCells)
{
    std::unique_ptr<TPX10ConfigData> config = NewConfig();
    TTestSensorDataSet set;
    set.SetConfigPart(config->Sensors.get());
    set.Open();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* grid = new TRecordGrid("Sensors", &window);
    auto* after = new QLineEdit(&window);
    for (QWidget* w :
        { static_cast<QWidget*>(before), static_cast<QWidget*>(grid), static_cast<QWidget*>(after) })
        layout->addWidget(w);
    grid->SetDataSet(&set);
    grid->SetColumnEdit(colProtocol, TCellEdit { TCellEdit::cbsAuto, TTestSensorDataSet::Protocols, {} });
    window.show();
    QApplication::setActiveWindow(&window);
    grid->setFocus();
    grid->setCurrentIndex(set.index(0, colDescription));
    ProcessEvents();
    ASSERT_TRUE(grid->OpenEditor());
    QTest::keyClick(grid->OpenEditor(), Qt::Key_Tab);
    ProcessEvents();
    EXPECT_EQ(grid->currentIndex().column(), colZone);
    QTest::keyClick(grid->OpenEditor(), Qt::Key_Tab, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_TRUE(after->hasFocus());
    EXPECT_EQ(grid->currentIndex().column(), colZone);

    grid->setFocus();
    grid->setCurrentIndex(set.index(0, 0)); // read-only: the grid takes the keys
    ProcessEvents();
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    ProcessEvents();
    EXPECT_TRUE(before->hasFocus());

    // From an open text or list, as the platform sends the key (Backtab) and
    // as Tab with both modifiers.
    for (Qt::Key key : { Qt::Key_Backtab, Qt::Key_Tab })
        for (int column : { int(colDescription), int(colProtocol) }) {
            grid->setFocus();
            grid->setCurrentIndex(set.index(4, column));
            ProcessEvents();
            QWidget* editor = grid->OpenEditor();
            ASSERT_TRUE(editor);
            ASSERT_EQ(QApplication::focusWidget(), editor) << "column " << column;
            QTest::keyClick(editor, key, Qt::ControlModifier | Qt::ShiftModifier);
            ProcessEvents();
            EXPECT_TRUE(before->hasFocus()) << "column " << column << ", key " << key;
            EXPECT_EQ(grid->currentIndex().column(), column);
        }
}
