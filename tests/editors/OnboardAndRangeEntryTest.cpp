#include "Cberangeentryform.h"
#include "Onboardoutputsetupframe.h"
#include "ConfigMarks.h"
#include "PX10ConfigData.h"
#include "Spincontrol.h"
#include "localisation/TestDictionary.h"
#include "support/FakePrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void Press(QWidget* w, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

struct OnboardFixture : ::testing::Test {
    TPX10ConfigData Config { false, false, true, false };
    TPX10ConfigOnboardOutputCircuits& Circuits = *Config.OnboardOutputCircuits;
    TfrmOnboardOutputSetup Frame;
    void SetUp() override { Frame.SetConfig(&Config); }
};

} // namespace

TEST_F(OnboardFixture, TypesShowInSelectorOrderAndStoreTheirCode)
{
    Circuits.SetCircuitType(2, 9);
    Circuits.SetCircuitType(5, 12); // outside the list, as a damaged file may hold
    ClearMarks(Config);
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.cboB[1]->currentText(), "SDH");
    EXPECT_EQ(Frame.cboB[1]->currentIndex(), 1);
    EXPECT_EQ(Frame.cboB[4]->currentText(), "12");
    Frame.LoadFromConfig(); // showing again neither writes nor adds a second number
    EXPECT_FALSE(Config.IsModified());
    EXPECT_EQ(Frame.cboB[4]->count(), 11);

    emit Frame.cboB[1]->activated(Frame.cboB[1]->findText("TxD"));
    EXPECT_EQ(Circuits.GetCircuitType(2), 3);
    emit Frame.cboB[4]->activated(0);
    EXPECT_EQ(Circuits.GetCircuitType(5), 0);
    EXPECT_EQ(Frame.cboB[4]->count(), 10);
}

TEST_F(OnboardFixture, DiodeOnB03SetsOnlyItsBit)
{
    Circuits.SetEOLMode(0b1001);
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.cboBEOL[0]->currentText(), "Diode");
    EXPECT_EQ(Frame.cboBEOL[2]->currentText(), "Resistor");
    emit Frame.cboBEOL[2]->activated(1);
    EXPECT_EQ(Circuits.GetEOLMode(), 0b1101);
}

TEST_F(OnboardFixture, RuleListEditFiltersKeysAndNormalisesOnEnter)
{
    Frame.LoadFromConfig();
    QLineEdit* edit = Frame.edtCbeRules[2];
    edit->setFocus();
    edit->selectAll();
    for (QChar c : QString("(1) 1 2x,3,9"))
        Press(edit, Qt::Key_unknown, QString(c));
    EXPECT_EQ(edit->text(), "(1) 1 2,3,9"); // the letter was swallowed
    Press(edit, Qt::Key_Return, "\r");
    EXPECT_EQ(edit->text(), "(1) 1-3,9");
    EXPECT_TRUE(Circuits.IsCircuitInCBERule(3, 2));
    EXPECT_FALSE(Circuits.IsCircuitInCBERule(3, 4));
    // Delete edits as in any field.
    edit->setCursorPosition(edit->text().size() - 1);
    Press(edit, Qt::Key_Delete, QString(QChar(0x7F)));
    EXPECT_EQ(edit->text(), "(1) 1-3,");
}

TEST_F(OnboardFixture, PendingRuleListIsCommittedOnRequest)
{
    Frame.LoadFromConfig();
    Frame.edtCbeRules[5]->setText("(1) 7");
    Frame.edtCbeRules[5]->setModified(true);
    Frame.CommitPendingEdits();
    EXPECT_TRUE(Circuits.IsCircuitInCBERule(6, 7));
    EXPECT_FALSE(Circuits.IsCircuitInCBERule(6, 3)); // the list names the whole window
    EXPECT_EQ(Frame.edtCbeRules[5]->text(), "(1) 7");
}

namespace {
// Runs `step` once the modal dialog is up, then closes it.
void WhileShown(TfrmCBERangeEntry& dialog, const std::function<void()>& step)
{
    // `step` by value: the caller's temporary is gone once the dialog runs it.
    QTimer::singleShot(0, &dialog, [&dialog, step] {
        step();
        dialog.accept();
    });
}
} // namespace

TEST(RangeEntryDialog, ShowingWritesNothingAndTicksStoreMembership)
{
    TPX10ConfigData config(false, false, true, false);
    config.OnboardOutputCircuits->GetRecord()->SetByte(2 * 4, 42); // circuit 4: base out of range
    ClearMarks(config);
    TfrmCBERangeEntry dialog;
    WhileShown(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "CBE Range Entry - Bell 4");
        EXPECT_EQ(dialog.spnBaseCBERule->GetValue(), 41);
        EXPECT_FALSE(dialog.cbxLoopPoweredOutput->isVisible());
        EXPECT_FALSE(config.IsModified());
    });
    dialog.Execute(&config, 1004);
    EXPECT_EQ(config.OnboardOutputCircuits->GetCircuitBaseRule(4), 42);

    config.Sensors->SetInCBERule(9, 30, true);
    WhileShown(dialog, [&] {
        dialog.spnBaseCBERule->SetValue(10); // as the user moves the window
        QListWidgetItem* rule30 = dialog.clbCBERangeSelector->item(20);
        EXPECT_EQ(rule30->checkState(), Qt::Checked);
        EXPECT_EQ(rule30->text(), "30 - Fire");
        dialog.clbCBERangeSelector->item(1)->setCheckState(Qt::Checked); // rule 11
        EXPECT_TRUE(dialog.edtCBERange->text().contains("11"));
    });
    dialog.Execute(&config, 9);
    EXPECT_EQ(config.Sensors->GetBaseCBERule(9), 10);
    EXPECT_TRUE(config.Sensors->IsInCBERule(9, 11));
    EXPECT_TRUE(config.Sensors->IsInCBERule(9, 30));
}

// Each rule's row holds the whole of its text: the dots of a German "Ü" too.
TEST(RangeEntryDialog, EachRowHoldsTheWholeOfItsText)
{
    MemoryDictionary german;
    SetUpGerman(german, { Row("Fire Output/Transfer", "Brandausgang/\u00dcbertragung") });
    TPX10ConfigData config(false, false, true, false);
    config.CBERules->SetRuleType(5, 5);
    TfrmCBERangeEntry dialog;
    WhileShown(dialog, [&] {
        QListWidget* list = dialog.clbCBERangeSelector;
        ASSERT_EQ(list->item(4)->text().toStdString(), "5 - Brandausgang/\u00dcbertragung");
        const QFontMetrics fm = list->fontMetrics();
        const int above = -fm.tightBoundingRect(list->item(4)->text()).top() - fm.ascent();
        // The line sits in the middle of its row.
        EXPECT_GE(list->visualItemRect(list->item(4)).height(), fm.height() + 2 * above);
    });
    dialog.Execute(&config, 1001);
}

TEST(RangeEntryDialog, AClickThatEndsATypedBaseTicksNothing)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmCBERangeEntry dialog;
    WhileShown(dialog, [&] {
        TSpinControl* base = dialog.spnBaseCBERule;
        base->setFocus();
        base->selectAll();
        for (QChar c : QString("20"))
            Press(base, Qt::Key_unknown, QString(c));
        ASSERT_TRUE(base->IsCommitPending());
        QWidget* list = dialog.clbCBERangeSelector->viewport();
        const QRect rect = dialog.clbCBERangeSelector->visualItemRect(dialog.clbCBERangeSelector->item(3));
        const QPoint entry(rect.left() + rect.height() / 2, rect.center().y()); // on its check box
        QMouseEvent press(QEvent::MouseButtonPress, entry, list->mapToGlobal(entry), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, entry, list->mapToGlobal(entry), Qt::LeftButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list, &release);
        EXPECT_EQ(dialog.clbCBERangeSelector->item(0)->text(), "20 - Fire"); // the new window, shown
    });
    dialog.Execute(&config, 12);
    EXPECT_EQ(config.Sensors->GetBaseCBERule(12), 20);
    for (int rule = 1; rule <= 64; ++rule)
        EXPECT_EQ(config.Sensors->IsInCBERule(12, rule), rule == 1) << rule; // nothing ticked by the click
}

TEST(RangeEntryDialog, EditRuleTicksTheRuleTheEditorShowedLast)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmCBERangeEntry dialog;
    int opened = 0;
    dialog.EditRule = [&](int rule) {
        opened = rule;
        return rule + 2;
    };
    WhileShown(dialog, [&] {
        dialog.clbCBERangeSelector->setCurrentRow(5);
        dialog.btnEditRule->click();
        EXPECT_EQ(dialog.clbCBERangeSelector->currentRow(), 7);
        EXPECT_EQ(dialog.clbCBERangeSelector->item(7)->checkState(), Qt::Checked);
    });
    dialog.Execute(&config, 150);
    EXPECT_EQ(opened, 6);
    EXPECT_TRUE(config.Modules->IsInCBERule(50, 8));
    EXPECT_EQ(dialog.Execute(&config, 100), QDialog::Rejected); // no such device: nothing shown
}
