#include "Cberuledataset.h"
#include "Cberuleform.h"
#include "Cberulelogic.h"
#include "Cberulezonedataset.h"
#include "ConfigMarks.h"
#include "PX10ConfigData.h"
#include "RecordGrid.h"
#include "Spincontrol.h"
#include "Zonedataset.h"
#include "Zonetexteditform.h"
#include "support/FakePrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <type_traits>
#include <utility>

using namespace cberules;

namespace {

// A grid reads its cells (a const function) through a const part only.
static_assert(
    std::is_same_v<decltype(std::declval<const TZoneDataSet&>().ConfigPart()), const TPX10ConfigZoneText*>);
static_assert(std::is_same_v<decltype(std::declval<TZoneDataSet&>().ConfigPart()), TPX10ConfigZoneText*>);

// Runs `step` once the modal window is up; the window is then closed.
void WhileShown(QDialog& dialog, const std::function<void()>& step)
{
    // `step` by value: the caller's temporary is gone once the dialog runs it.
    QTimer::singleShot(0, &dialog, [&dialog, step] {
        step();
        dialog.accept();
    });
}

struct RuleSets : ::testing::Test {
    TPX10ConfigData Config { false, false, true, false };
    TPX10ConfigCBERuleConfiguration& Rules = *Config.CBERules;
    TCBERuleDataSet RuleData;
    TCBERuleZoneDataSet ZoneData;
    void SetUp() override
    {
        RuleData.SetConfigPart(&Rules);
        RuleData.Open();
        ZoneData.SetConfigPart(&Rules);
        ZoneData.Open();
    }
};

} // namespace

TEST_F(RuleSets, FilterFieldsConvertThroughTheFullLists)
{
    Rules.SetRuleType(3, Fire);
    Rules.SetFilterType(3, 7);
    EXPECT_EQ(RuleData.ReadField(TCBERuleDataSet::fldFilterType, 3).toString(), "ANY - Any Device");
    Rules.SetRuleType(4, ExtinguishingSystem);
    RuleData.WriteField(TCBERuleDataSet::fldFilterType, 4, "LUMA/Sensor");
    EXPECT_EQ(Rules.GetFilterType(4), 2);
    RuleData.WriteField(TCBERuleDataSet::fldFilterType, 4, "Any Two Zones");
    EXPECT_EQ(Rules.GetFilterType(4), 3);

    int changes = 0;
    QObject::connect(&RuleData, &TRecordDataSet::FieldChange, [&] { ++changes; });
    RuleData.WriteField(TCBERuleDataSet::fldRuleType, 4, "No such type");
    EXPECT_EQ(Rules.GetRuleType(4), ExtinguishingSystem);
    EXPECT_EQ(changes, 1); // the controls are still told to show the stored type
}

TEST_F(RuleSets, ZoneRowsFollowTheRuleShown)
{
    Rules.SetRuleType(2, PlantWarning);
    Rules.SetZoneCondition(2, 3, Delayed);
    Rules.SetZoneCondition(2, 4, 9);
    ZoneData.SetCurrentRule(2);
    EXPECT_EQ(ZoneData.ReadField(TCBERuleZoneDataSet::fldZone, 1).toInt(), 17);
    EXPECT_EQ(ZoneData.ReadField(TCBERuleZoneDataSet::fldZone, 16).toInt(), 32);
    EXPECT_EQ(ZoneData.ReadField(TCBERuleZoneDataSet::fldCondition, 3).toString(), "ON");
    EXPECT_EQ(ZoneData.ReadField(TCBERuleZoneDataSet::fldCondition, 4).toString(), "9");
    ZoneData.WriteField(TCBERuleZoneDataSet::fldCondition, 5, "PULSED");
    EXPECT_EQ(Rules.GetZoneCondition(2, 5), Pulsed);
    ZoneData.WriteField(TCBERuleZoneDataSet::fldCondition, 5, "sometimes");
    EXPECT_EQ(Rules.GetZoneCondition(2, 5), On);
    EXPECT_EQ(Rules.GetZoneCondition(1, 5), On); // only the current rule
}

TEST(RuleEditor, BrowsingEveryRuleOfAStrangeFileWritesNothing)
{
    TPX10ConfigData config(false, false, true, false);
    TPX10ConfigCBERuleConfiguration& rules = *config.CBERules;
    for (int rule = 1; rule <= 64; ++rule) {
        rules.SetRuleType(rule, rule % 13); // 12 is no type
        rules.SetFilterType(rule, rule % 9);
        rules.SetDeviceKind(rule, 1, rule % 4); // 3 is no kind
        rules.SetDeviceAddress(rule, 2, rule % 3 == 0 ? 0 : rule); // 0 lies below the control's range
        rules.SetZoneCondition(rule, 1, rule % 7);
        rules.SetFlagsByte(rule, rule * 5);
    }
    ClearMarks(config);
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    WhileShown(editor, [&] {
        for (int i = 0; i < 64; ++i)
            editor.btnNextRule->click();
        editor.btnPreviousRule->click();
        editor.RuleTabs[10]->click();
    });
    EXPECT_EQ(editor.Execute(1), 11);
    EXPECT_FALSE(config.IsModified());
}

TEST(RuleEditor, ARuleTypeChangeLandsInTheRuleShown)
{
    TPX10ConfigData config(false, false, true, false);
    config.FileHeader->SetPanelType(3); // PX10
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    WhileShown(editor, [&] {
        EXPECT_EQ(editor.dtcFilterType->count(), 4); // no LUMA sensors on a PX10
        emit editor.dtcRuleType->activated(ExtinguishingSystem);
        EXPECT_EQ(editor.dtcFilterType->count(), 6);
        EXPECT_FALSE(editor.cbxEvacuate->isEnabled());
        EXPECT_TRUE(editor.cbxEnableSoakTimer->isEnabled());
        emit editor.dtcFilterType->activated(2);
    });
    EXPECT_EQ(editor.Execute(5), 5);
    const TPX10ConfigCBERuleConfiguration& rules = *config.CBERules;
    EXPECT_EQ(rules.GetRuleType(5), ExtinguishingSystem);
    EXPECT_EQ(rules.GetFilterType(5), 3); // "Any Two Zones" keeps its code
    EXPECT_EQ(rules.GetZoneCondition(5, 16), Delayed);
    const TPX10ConfigData fresh(false, false, true, false);
    for (int rule : { 4, 6 }) // only the rule shown
        EXPECT_EQ(rules.GetRuleType(rule), fresh.CBERules->GetRuleType(rule));
    EXPECT_EQ(editor.Execute(65), 5); // no such rule: nothing is shown
    EXPECT_EQ(editor.Execute(0), 5);
}

TEST(RuleEditor, InputDevicesAndFlags)
{
    TPX10ConfigData config(false, false, true, false);
    config.Sensors->SetType(7, 2); // a BRIM OPT
    config.CBERules->SetRuleType(1, DeviceInput);
    TfrmCBERuleEdit editor;
    editor.IsVdSCompatibility = [] { return true; };
    editor.SetConfig(&config);
    WhileShown(editor, [&] {
        EXPECT_FALSE(editor.cbxEvacuate->isVisible());
        emit editor.dtcDeviceInputType[0]->activated(Sensor);
        EXPECT_TRUE(editor.cseDeviceInputType[0]->isEnabled());
        editor.cseDeviceInputType[0]->SetValue(7); // as the user sets it
        EXPECT_FALSE(editor.lblDeviceInputType[0]->text().isEmpty());
        EXPECT_FALSE(editor.cseDeviceInputType[1]->isEnabled()); // not used
        editor.cbxClassChange->click();
    });
    editor.Execute(1);
    EXPECT_EQ(config.CBERules->GetDeviceKind(1, 1), Sensor);
    EXPECT_EQ(config.CBERules->GetDeviceAddress(1, 1), 7);
    EXPECT_TRUE(config.CBERules->GetClassChange(1));
}

TEST(RuleEditor, TwoZoneTakesDelayedOffTheConditions)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    WhileShown(editor, [&] {
        const int column = TCBERuleZoneDataSet::fldCondition - 1;
        EXPECT_TRUE(editor.dbgRuleZones->CellEdit(column, 1).PickList.contains("DELAYED"));
        editor.cbxTwoZone->click();
        EXPECT_FALSE(editor.dbgRuleZones->CellEdit(column, 1).PickList.contains("DELAYED"));
        editor.btnSetAllZonesOff->click();
    });
    config.CBERules->SetRuleType(8, Fire);
    editor.Execute(8);
    EXPECT_TRUE(config.CBERules->GetTwoZone(8));
    EXPECT_EQ(config.CBERules->GetZoneCondition(8, 16), Off);
    EXPECT_EQ(config.CBERules->GetZoneCondition(9, 16), On);
}

// A shorter list's entry stores its own code, not its place in the list offered.
TEST(RuleEditor, AnEntryOfAShorterListStoresItsOwnCode)
{
    TPX10ConfigData config(false, false, true, false);
    config.FileHeader->SetPanelType(3); // PX10: no LUMA filter
    config.CBERules->SetRuleType(4, ExtinguishingSystem); // no COINCIDENCE or PULSED
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    WhileShown(editor, [&] {
        editor.dbgRuleZones->setFocus();
        editor.dbgRuleZones->setCurrentIndex(
            editor.ZoneData->index(0, TCBERuleZoneDataSet::fldCondition - 1));
        auto* list = qobject_cast<QComboBox*>(editor.dbgRuleZones->OpenEditor());
        ASSERT_NE(list, nullptr);
        list->setCurrentIndex(list->findText("OFF"));
        emit list->activated(list->currentIndex());
        EXPECT_EQ(config.CBERules->GetZoneCondition(4, 1), Off);
        emit editor.dtcFilterType->activated(editor.dtcFilterType->findText("Any Two Sensors"));
        EXPECT_EQ(config.CBERules->GetFilterType(4), 4);
    });
    editor.Execute(4);
}

TEST(RuleEditor, EscInAConditionCellClosesTheWindow)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    bool closed = false;
    QTimer::singleShot(0, &editor, [&] {
        editor.dbgRuleZones->setFocus();
        editor.dbgRuleZones->setCurrentIndex(
            editor.ZoneData->index(2, TCBERuleZoneDataSet::fldCondition - 1));
        QWidget* cell = editor.dbgRuleZones->OpenEditor();
        ASSERT_NE(cell, nullptr);
        QTest::keyClick(cell, Qt::Key_Escape);
        closed = !editor.isVisible();
        if (!closed)
            editor.accept();
    });
    EXPECT_EQ(editor.Execute(3), 3);
    EXPECT_TRUE(closed);
}

TEST(ZoneTextEditor, RowsPairZonesAndClearAllAsks)
{
    TPX10ConfigData config(false, false, true, false);
    config.ZoneTexts->SetZoneText(32, "Plant room");
    config.ZoneTexts->SetZoneText(3, "Stairs");
    TfrmZoneText window;
    window.SetConfig(&config);
    TZoneDataSet& rows = *window.DataSet;
    rows.Open();
    EXPECT_EQ(rows.ReadField(TZoneDataSet::fldZone, 16).toInt(), 16);
    EXPECT_EQ(rows.ReadField(TZoneDataSet::fldZone2, 16).toInt(), 32);
    EXPECT_EQ(rows.ReadField(TZoneDataSet::fldText2, 16).toString(), "Plant room");
    rows.WriteField(TZoneDataSet::fldText2, 1, QString::fromUtf8("12345678901234567890\xE2\x82\xAC"));
    EXPECT_EQ(config.ZoneTexts->GetZoneText(17), "12345678901234567890"); // 20 characters
    rows.WriteField(TZoneDataSet::fldText, 2, QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(config.ZoneTexts->GetZoneText(2), "Caf\xE9 \x80"); // the panel's code page

    FakePrompts prompts;
    prompts.Answer(platform::mrNo);
    ClearMarks(config);
    window.btnClearAllZoneTextClick();
    EXPECT_EQ(prompts.Log.at(0).Text, "Delete ALL zone text ?");
    EXPECT_FALSE(config.IsModified());
    prompts.Answer(platform::mrYes);
    window.btnClearAllZoneTextClick();
    for (int zone = 1; zone <= 32; ++zone)
        EXPECT_EQ(config.ZoneTexts->GetZoneText(zone), "");
    EXPECT_TRUE(config.ZoneTexts->GetRecord(3)->IsModified());
    EXPECT_FALSE(config.ZoneTexts->GetRecord(4)->IsModified()); // it was empty already
}

TEST(ZoneTextEditor, EscKeepsTheTextBeingTyped)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmZoneText window;
    window.SetConfig(&config);
    WhileShown(window, [&] {
        window.dbgZoneText->setCurrentIndex(window.DataSet->index(4, 1));
        auto* editor = qobject_cast<QLineEdit*>(window.dbgZoneText->OpenEditor());
        ASSERT_NE(editor, nullptr);
        editor->setText("Car park");
        editor->setModified(true);
        window.reject(); // Esc
    });
    EXPECT_EQ(window.ShowModal(), QDialog::Accepted);
    EXPECT_EQ(config.ZoneTexts->GetZoneText(5), "Car park");

    // The key itself, typed into the cell: the window sees it before the cell
    // (which would otherwise throw the typing away) and closes with it kept.
    bool closed = false;
    QTimer::singleShot(0, &window, [&] {
        window.dbgZoneText->setCurrentIndex(window.DataSet->index(6, 3));
        auto* editor = qobject_cast<QLineEdit*>(window.dbgZoneText->OpenEditor());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "Roof");
        QTest::keyClick(editor, Qt::Key_Escape);
        closed = !window.isVisible();
        if (!closed)
            window.accept();
    });
    EXPECT_EQ(window.ShowModal(), QDialog::Accepted);
    EXPECT_TRUE(closed);
    EXPECT_EQ(config.ZoneTexts->GetZoneText(23), "Roof");
}

// Enter that a control leaves alone presses no button of these windows: the
// first button would take it as the default one (setting every zone ON or
// asking to clear every zone text).
TEST(RuleEditor, EnterInASelectorPressesNoZoneButton)
{
    TPX10ConfigData config(false, false, true, false);
    config.CBERules->SetRuleType(2, Fire);
    cberules::SetAllZoneConditions(*config.CBERules, 2, Off);
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    bool open = false;
    QTimer::singleShot(0, &editor, [&] {
        editor.dtcRuleType->setFocus();
        QTest::keyClick(editor.dtcRuleType, Qt::Key_Return);
        open = editor.isVisible();
        editor.accept();
    });
    editor.Execute(2);
    EXPECT_EQ(config.CBERules->GetZoneCondition(2, 1), Off);
    EXPECT_TRUE(open);
}

TEST(ZoneTextEditor, EnterInACellOnlyTakesTheText)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmZoneText window;
    window.SetConfig(&config);
    FakePrompts prompts; // a question would fail the test
    QTimer::singleShot(0, &window, [&] {
        window.dbgZoneText->setCurrentIndex(window.DataSet->index(1, 1));
        auto* editor = qobject_cast<QLineEdit*>(window.dbgZoneText->OpenEditor());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "Plant room");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_TRUE(window.isVisible());
        // On a zone number there is no cell editor: the grid passes Enter on.
        window.dbgZoneText->setCurrentIndex(window.DataSet->index(3, 2));
        QTest::keyClick(window.dbgZoneText, Qt::Key_Return);
        QApplication::processEvents();
        window.accept();
    });
    window.ShowModal();
    EXPECT_TRUE(prompts.Log.empty());
    EXPECT_EQ(config.ZoneTexts->GetZoneText(2), "Plant room");
}

// The window opens with the first zone's text ready for typing: the keys go
// into its cell, not to the grid around it.
TEST(ZoneTextEditor, TypingAtOnceGoesIntoTheFirstText)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmZoneText window;
    window.SetConfig(&config);
    // The user types once the window is up and active (on a busy machine that
    // can take longer than any fixed pause), after what its showing queued.
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (!window.isActiveWindow() && clock.elapsed() < 10000)
            return;
        poll.stop();
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_TRUE(window.isActiveWindow());
        QWidget* focus = QApplication::focusWidget();
        if (focus)
            QTest::keyClicks(focus, "Reception");
        else
            ADD_FAILURE() << "no widget has the keyboard";
        window.reject();
    });
    poll.start(5);
    window.ShowModal();
    EXPECT_EQ(config.ZoneTexts->GetZoneText(1), "Reception");
}

// An address typed and not yet committed belongs to the rule it was typed in,
// also when another rule's tab is clicked at once (a tab takes no focus), and
// the pending commit never lands on the rule shown next.
TEST(RuleEditor, TypedAddressStaysWithItsRule)
{
    TPX10ConfigData config(false, false, true, false);
    for (int rule : { 1, 2 }) {
        config.CBERules->SetRuleType(rule, DeviceInput);
        config.CBERules->SetDeviceKind(rule, 1, Sensor);
    }
    config.CBERules->SetDeviceAddress(2, 1, 0); // from a file: shown as 1
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    WhileShown(editor, [&] {
        TSpinControl* spin = editor.cseDeviceInputType[0];
        spin->selectAll();
        QTest::keyClicks(spin, "25");
        editor.RuleTabs[1]->click();
        QTest::qWait(1600); // the typing pause of the control
    });
    editor.Execute(1);
    EXPECT_EQ(config.CBERules->GetDeviceAddress(1, 1), 25);
    EXPECT_EQ(config.CBERules->GetDeviceAddress(2, 1), 0);
}

// The 64 rule tabs are one stop of the Tab key, as a tab control is: only
// the rule shown takes it, and the arrow keys move to the next rule.
TEST(RuleEditor, RuleTabsAreOneStopOfTheTabKey)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmCBERuleEdit editor;
    editor.SetConfig(&config);
    auto stops = [&] {
        std::vector<int> rules;
        for (size_t i = 0; i < editor.RuleTabs.size(); ++i)
            if (editor.RuleTabs[i]->focusPolicy() & Qt::TabFocus)
                rules.push_back(int(i) + 1);
        return rules;
    };
    WhileShown(editor, [&] {
        EXPECT_EQ(stops(), std::vector<int>({ 64 }));
        QTest::keyClick(editor.RuleTabs[63], Qt::Key_Right); // wraps round
        EXPECT_EQ(stops(), std::vector<int>({ 1 }));
        QTest::keyClick(editor.RuleTabs[0], Qt::Key_Right);
        EXPECT_EQ(stops(), std::vector<int>({ 2 }));
    });
    editor.Execute(64);
    EXPECT_EQ(editor.Execute(0), 2);

    // Tab leaves the zone grid for the rule's other controls.
    config.CBERules->SetRuleType(5, Fire);
    WhileShown(editor, [&] {
        editor.dbgRuleZones->setFocus();
        editor.dbgRuleZones->setCurrentIndex(
            editor.ZoneData->index(15, TCBERuleZoneDataSet::fldCondition - 1));
        QApplication::processEvents();
        QWidget* cell = QApplication::focusWidget();
        ASSERT_NE(cell, nullptr);
        QTest::keyClick(cell, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        EXPECT_TRUE(now && now != editor.dbgRuleZones && !editor.dbgRuleZones->isAncestorOf(now));
    });
    editor.Execute(5);
}
