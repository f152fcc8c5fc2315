// The panel setup options frame's wiring: user edits reach the logic and the
// configuration, the controls show the logic's state, and nothing written
// while loading. The rules themselves are tested in PanelSetupOptionsLogicTest.
#include "PX10ConfigData.h"
#include "PanelOptionTable.h"
#include "Panelsetupoptions.h"
#include "Spincontrol.h"
#include "support/FakePrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <map>

using namespace platform;

namespace {

void Key(QWidget* w, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Runs the event loop until `done` holds; the bound is only reached by a failing test.
template <class F> bool Await(F done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

struct FrameFixture : ::testing::Test {
    std::unique_ptr<TPX10ConfigData> Config = std::make_unique<TPX10ConfigData>(false, false, true, false);
    TfrmPanelSetupOptions Frame;
    FakePrompts Prompts;
    void SetUp() override
    {
        Frame.SetConfiguration(Config.get());
        Frame.LoadFromConfig();
    }
    void Choose(QComboBox* c, const QString& text)
    {
        int i = c->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    void Click(RadioGroup* r, int item) { r->findChildren<QRadioButton*>().at(item)->click(); }
    QStringList ItemsOf(QComboBox* c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    void Type(QLineEdit* e, const QString& text)
    {
        for (QChar c : text)
            Key(e, c == ' ' ? int(Qt::Key_Space) : int(Qt::Key_A), QString(c));
    }
    TPX10ConfigGeneralPanelSetup& G() { return *Config->GeneralPanelSetup; }
    void ShowGsmItems()
    {
        G().SetRS232Protocol(2);
        Frame.LoadFromConfig();
        Frame.show();
        Frame.pclSetupOptions->setCurrentIndex(3);
    }
};

} // namespace

TEST_F(FrameFixture, UserEditsWriteAndTheControlsFollowTheRules)
{
    Click(Frame.rdgBlinking, 0);
    EXPECT_FALSE(G().GetBlinking());
    EXPECT_FALSE(Frame.rdgSensorsBlinkColour->isEnabled());
    Click(Frame.rdgBlinking, 1);
    EXPECT_TRUE(Frame.rdgModulesBlinkColour->isEnabled());
    Choose(Frame.cboPanelTypeSelection, "412-303-xxx : PX11/12");
    EXPECT_EQ(Config->FileHeader->GetPanelType(), 1);
    EXPECT_EQ(ItemsOf(Frame.cboRS485Protocol), QStringList({ "VELTRANE", "BFT/LLT", "THIRD PARTY" }));
    Choose(Frame.cboRS485Protocol, "THIRD PARTY");
    EXPECT_EQ(G().GetRS485Protocol(), 4);
    EXPECT_TRUE(Frame.spnRS485ThirdPartySuspendCommsLimit->isEnabled());
    EXPECT_FALSE(Frame.spnRS485QtyRepeaters->isEnabled());
    Frame.show();
    Choose(Frame.cboRS232Protocol, "GSM MODEM");
    EXPECT_TRUE(Frame.pnlRS232Options->isHidden());
    EXPECT_FALSE(Frame.gbxGSMItems->isHidden());
    Frame.cbxDayModeNewAlarmOption->click();
    EXPECT_EQ(G().GetDayModeNewAlarmOption(), 1); // unchecked stores 1
}

TEST_F(FrameFixture, RefusedTorqSwitchGoesBackToEnabled)
{
    Config->Sensors->SetType(2, 1);
    Config->Sensors->SetTorqType(2, 3);
    Prompts.Answer(mrOk);
    Click(Frame.rdgTorqSwitch, 0);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text,
        "Sorry, TORQ protocol can't be disabled!\r\n\r\nRemove/Replace TORQ protocol devices present in the "
        "current configuration.");
    EXPECT_EQ(Frame.rdgTorqSwitch->ItemIndex(), 1);
    EXPECT_TRUE(G().GetTorqSwitch());
}

TEST_F(FrameFixture, SpinEditsWriteAndLoadingStoresWhatTheyShow)
{
    Frame.spnPrimaryDelay->SetValue(45);
    EXPECT_EQ(G().GetPrimaryDelay(), 45);
    G().SetPrimaryDelay(900); // outside the control's range
    G().ClearModified();
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.spnPrimaryDelay->GetValue(), 300);
    EXPECT_EQ(G().GetPrimaryDelay(), 300);
    G().ClearModified();
    Frame.LoadFromConfig();
    EXPECT_FALSE(Config->IsModified());
}

TEST_F(FrameFixture, DayModeCheckRunsOnTheFramesTimer)
{
    G().SetDayModeEndTime(6 * 60);
    Frame.LoadFromConfig();
    Frame.medDayModeStartTime->setText("22:00");
    emit Frame.medDayModeStartTime->textEdited("22:00");
    EXPECT_TRUE(Frame.tmrDayModeCheck->isActive());
    EXPECT_TRUE(Await([&] { return Frame.medDayModeEndTime->text() == "22:00"; }));
    EXPECT_EQ(G().GetDayModeEndTime(), 1320);
    EXPECT_TRUE(Await([&] { return !Frame.tmrDayModeCheck->isActive(); }));
    EXPECT_EQ(Frame.gbxDayModeDelays->title(), "Day Mode Delays - INACTIVE");
}

// An item changed by the keyboard or by code is shown before anything is
// edited, so an edit lands in the item the tab shows.
TEST_F(FrameFixture, GsmItemReloadsOnEveryTabChange)
{
    Config->GsmItems->SetNumber(1, "111");
    Config->GsmItems->SetNumber(2, "222");
    Config->GsmItems->SetFault(2, false);
    ShowGsmItems();
    EXPECT_EQ(Frame.edtGsmNumber->text(), "111");
    Key(Frame.pclGSMItems, Qt::Key_Right);
    ASSERT_EQ(Frame.pclGSMItems->currentIndex(), 1);
    EXPECT_EQ(Frame.edtGsmNumber->text(), "222");
    EXPECT_FALSE(Frame.cbxGsmFault->isChecked());
    EXPECT_FALSE(Frame.cboGsmQtyFault->isEnabled());
    Frame.edtGsmNumber->end(false);
    Type(Frame.edtGsmNumber, "9");
    EXPECT_EQ(Config->GsmItems->GetNumber(2), "2229");
    EXPECT_EQ(Config->GsmItems->GetNumber(1), "111");
    Frame.pclGSMItems->setCurrentIndex(4); // by code
    EXPECT_EQ(Frame.edtGsmNumber->text(), "");
    Frame.cbxGsmControls->click();
    EXPECT_TRUE(Config->GsmItems->GetControls(5));
    EXPECT_FALSE(Config->GsmItems->GetControls(2));
    // Loading keeps the selected item and changes no item.
    Config->GsmItems->ClearModified();
    Frame.LoadFromConfig();
    EXPECT_EQ(Frame.pclGSMItems->currentIndex(), 4);
    EXPECT_FALSE(Config->GsmItems->IsModified());
}

TEST_F(FrameFixture, GsmNumberTakesTwentyPositionsWithoutBlanksAndASignInFrontOnly)
{
    ShowGsmItems();
    Type(Frame.edtGsmNumber, "0123456789012345678901234");
    EXPECT_EQ(Frame.edtGsmNumber->text(), "01234567890123456789");
    EXPECT_EQ(Config->GsmItems->GetNumber(1), "01234567890123456789");
    Frame.edtGsmNumber->clear();
    Type(Frame.edtGsmNumber, "0171 23");
    EXPECT_EQ(Frame.edtGsmNumber->text(), "017123");
    EXPECT_EQ(Frame.edtGsmNumber->cursorPosition(), 6);
    EXPECT_EQ(Config->GsmItems->GetNumber(1), "017123");
    Config->GsmItems->SetNumber(1, "12-34"); // stored against the mask, and still edited
    ShowGsmItems();
    Frame.edtGsmNumber->home(false);
    Type(Frame.edtGsmNumber, "+-a5");
    Frame.edtGsmNumber->home(false);
    Type(Frame.edtGsmNumber, "6"); // not before the sign
    EXPECT_EQ(Config->GsmItems->GetNumber(1), "+512-34");
}

TEST_F(FrameFixture, SiteTextsTakeOnlyWhatTheCodePageHolds)
{
    Frame.show();
    Frame.pclSetupOptions->setCurrentIndex(1);
    Type(Frame.txtSiteName, QString::fromUtf8("Caf\u00e9 \u0100\u4e2d1"));
    EXPECT_EQ(Frame.txtSiteName->text(), QString::fromUtf8("Caf\u00e9 1"));
    EXPECT_EQ(G().GetSiteName(), "Caf\xe9 1");
    Type(Frame.txtSiteName, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(Frame.txtSiteName->text().size(), 20);
    EXPECT_EQ(G().GetSiteName().size(), 20u);
    Type(Frame.txtServicePhoneNo, "0800 1");
    EXPECT_EQ(G().GetServicePhoneNo(), "0800 1");
}

TEST_F(FrameFixture, ServiceDueBoxEnablesThePickerAndStoresItsDate)
{
    Frame.dtpServiceDue->setDate(QDate(2031, 3, 4));
    EXPECT_EQ(G().GetServiceDueWord(), 0); // the picker alone stores nothing while off
    Frame.cbxServiceDueEnabled->click();
    EXPECT_TRUE(Frame.dtpServiceDue->isEnabled());
    EXPECT_EQ(G().GetServiceDueDate(), QDate(2031, 3, 4));
    Frame.dtpServiceDue->setDate(QDate(2070, 5, 17));
    EXPECT_EQ(Frame.dtpServiceDue->date(), QDate(2063, 5, 17));
    EXPECT_EQ(G().GetServiceDueDate(), QDate(2063, 5, 17));
}

TEST_F(FrameFixture, ComponentsHaveTheirNamesAndLabelledControlsSpeak)
{
    for (const char* name : { "pclSetupOptions", "tbsPanelOptions", "tbsSiteDetails", "tbsDeviceOptions",
             "tbsPeripheralOptions", "tbsDayNightSettings", "cboPanelTypeSelection", "lblPanelType",
             "rdgMAxHeadLEDs", "spnRS485ThirdPartySuspendCommsLimit", "dtpServiceDue", "cbxServiceDueEnabled",
             "medDayModeSensitivityEndTime", "pnlRS232Options", "gbxGSMItems", "pclGSMItems", "edtGsmNumber",
             "cboGsmQtyPreAlarm", "cbxGsmSystemDisable", "gbxDayModeDelays", "pnlDayModeTime",
             "tmrDayModeCheck", "chkHightestEnable", "rdgDayModeStartOption" })
        EXPECT_NE(Frame.findChild<QObject*>(name), nullptr) << name;
    // Every control without text of its own is named by its label.
    for (QWidget* w : Frame.findChildren<QWidget*>()) {
        const bool textless = qobject_cast<QComboBox*>(w) || qobject_cast<QDateEdit*>(w)
            || (qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractSpinBox*>(w->parentWidget()));
        if (textless) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }
    EXPECT_EQ(Frame.cboDateFormat->accessibleName(), "Date Format");
    EXPECT_EQ(Frame.spnMainsDelay->accessibleName(), "Mains Fault Delay");
    EXPECT_EQ(Frame.cboGsmQtyFault->accessibleName(), "Fault");
}

// The controls are made on first use; until then a refresh only marks the
// frame, and the first showing fills it from the configuration bound then.
TEST(PanelSetupOptionsLazy, FirstShowingCreatesAndFillsFromTheBoundConfiguration)
{
    TPX10ConfigData first(false, false, true, false), second(false, false, true, false);
    first.GeneralPanelSetup->SetSiteName("FIRST");
    second.GeneralPanelSetup->SetSiteName("SECOND");
    second.GeneralPanelSetup->SetMainsDelay(42);
    second.GeneralPanelSetup->SetRS485QtyRepeaters(40);
    TfrmPanelSetupOptions frame;
    frame.SetConfiguration(&first);
    EXPECT_FALSE(frame.ControlsCreated());
    EXPECT_EQ(frame.txtSiteName, nullptr);
    frame.RefreshFromConfig();
    EXPECT_FALSE(frame.ControlsCreated());
    frame.SetConfiguration(&second); // replaced before the frame was ever shown
    frame.RefreshFromConfig();
    EXPECT_EQ(second.GeneralPanelSetup->GetRS485QtyRepeaters(), 16); // stored as it will show
    frame.show();
    ASSERT_TRUE(frame.ControlsCreated());
    EXPECT_EQ(frame.txtSiteName->text(), "SECOND");
    EXPECT_EQ(frame.spnMainsDelay->GetValue(), 42);
    EXPECT_TRUE(frame.cboPanelTypeSelection->isVisible()); // shown with the frame, not later
    const int children = int(frame.findChildren<QWidget*>().size());
    // Once made, a refresh fills at once and makes nothing new.
    frame.SetConfiguration(&first);
    frame.RefreshFromConfig();
    EXPECT_EQ(frame.txtSiteName->text(), "FIRST");
    frame.hide();
    frame.show();
    EXPECT_EQ(int(frame.findChildren<QWidget*>().size()), children);
    // An edit after the lazy creation still writes through.
    frame.txtSiteName->setText("EDITED");
    emit frame.txtSiteName->textEdited("EDITED");
    EXPECT_EQ(first.GeneralPanelSetup->GetSiteName(), "EDITED");
    frame.SetConfiguration(nullptr);
}

TEST(PanelSetupOptionsLazy, ShowingWithoutARefreshLeavesTheControlsAsMade)
{
    TPX10ConfigData config(false, false, true, false);
    config.GeneralPanelSetup->SetSiteName("STORED");
    TfrmPanelSetupOptions frame;
    frame.SetConfiguration(&config);
    frame.show(); // nobody asked for a load: nothing is read, nothing written
    ASSERT_TRUE(frame.ControlsCreated());
    EXPECT_EQ(frame.txtSiteName->text(), "");
    EXPECT_EQ(config.GeneralPanelSetup->GetSiteName(), "STORED");
}

// Leaving a day mode time for another control checks the times once, after
// the focus has moved; switching to another application or opening a menu
// does not leave the field and asks nothing.
TEST_F(FrameFixture, DayModeTimesAreCheckedWhenTheFieldIsLeftOnly)
{
    G().SetDayModeStartTime(22 * 60);
    G().SetDayModeEndTime(6 * 60);
    Frame.LoadFromConfig();
    for (Qt::FocusReason reason : { Qt::ActiveWindowFocusReason, Qt::PopupFocusReason }) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(Frame.medDayModeStartTime, &out);
        QApplication::processEvents();
    }
    EXPECT_TRUE(Prompts.Log.empty());
    Prompts.Answer(mrOk);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Frame.medDayModeEndTime, &out);
    EXPECT_TRUE(Prompts.Log.empty()); // not inside the focus change
    QApplication::processEvents();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Type, MsgDlgType::mtWarning);
    EXPECT_EQ(Prompts.Log[0].Text,
        "Invalid start or end time entered.\r\n\r\nTo activate day mode, the start time\r\nmust be less "
        "than the end time.");
}

// Each spin control stops at its limits, and the stored value with it.
TEST_F(FrameFixture, SpinControlsStopAtTheirLimits)
{
    using G_ = TPX10ConfigGeneralPanelSetup;
    const struct {
        TSpinControl* Spin;
        int Min, Max;
        int (G_::*Stored)() const;
    } spins[] = {
        { Frame.spnMainsDelay, 0, 60, &G_::GetMainsDelay },
        { Frame.spnExtSystemDelay, 10, 180, &G_::GetExtSystemDelay },
        { Frame.spnExtSystemSoakTime, 0, 999, &G_::GetExtSystemSoakTime },
        { Frame.spnRS232ThirdPartySuspendCommsLimit, 0, 300, &G_::GetRS232ThirdPartySuspendCommsLimit },
        { Frame.spnRS485QtyRepeaters, 0, 16, &G_::GetRS485QtyRepeaters },
        { Frame.spnRS485ThirdPartySuspendCommsLimit, 0, 300, &G_::GetRS485ThirdPartySuspendCommsLimit },
        { Frame.spnPrimaryDelay, 0, 300, &G_::GetPrimaryDelay },
        { Frame.spnExtendDelay, 0, 10, &G_::GetExtendDelay },
    };
    for (const auto& s : spins) {
        const std::string name = s.Spin->objectName().toStdString();
        s.Spin->SetValue(s.Max + 1);
        EXPECT_EQ(s.Spin->GetValue(), s.Max) << name;
        EXPECT_EQ((G().*s.Stored)(), s.Max) << name;
        s.Spin->SetValue(s.Min - 1);
        EXPECT_EQ(s.Spin->GetValue(), s.Min) << name;
        EXPECT_EQ((G().*s.Stored)(), s.Min) << name;
    }
}

// A click into the day of the service date and digits typed: the day is
// replaced, as after Tab into it.
TEST_F(FrameFixture, DigitsTypedIntoAClickedPartOfTheServiceDateEditIt)
{
    Frame.show();
    QApplication::setActiveWindow(&Frame);
    Frame.pclSetupOptions->setCurrentIndex(1); // Site Details
    Frame.cbxServiceDueEnabled->click();
    Frame.dtpServiceDue->setDate(QDate(2030, 6, 7));
    QApplication::processEvents();
    auto* line = Frame.dtpServiceDue->findChild<QLineEdit*>();
    ASSERT_TRUE(line && line->isVisible());
    const QPoint inDay(line->fontMetrics().horizontalAdvance("0") + 2, line->height() / 2);
    QTest::mouseClick(line, Qt::LeftButton, {}, inDay);
    QTest::keyClicks(Frame.dtpServiceDue, "15");
    EXPECT_EQ(G().GetServiceDueDate(), QDate(2030, 6, 15));
    // The year after a click into it.
    const QPoint inYear(line->fontMetrics().horizontalAdvance("15/06/20") + 2, line->height() / 2);
    QTest::mouseClick(line, Qt::LeftButton, {}, inYear);
    QTest::keyClicks(Frame.dtpServiceDue, "2041");
    EXPECT_EQ(G().GetServiceDueDate(), QDate(2041, 6, 15));
}

// Every option's control, edited, stores a value that the frame shows again
// after loading, and no other option changes with it.
TEST(PanelSetupOptionsTable, EachOptionsControlEditsItsOwnOptionOnly)
{
    TPX10ConfigData config(false, false, true, false);
    TfrmPanelSetupOptions frame;
    frame.IsRegionalOptionEnabled2 = [] { return true; }; // the control key 3 mode shows what is stored
    frame.SetConfiguration(&config);
    frame.LoadFromConfig();
    auto shown = [&frame] {
        std::map<std::string, int> values;
        for (const TPanelOption& row : PanelOptions) {
            QWidget* w = frame.findChild<QWidget*>(row.Name);
            if (auto* r = qobject_cast<RadioGroup*>(w))
                values[row.Name] = r->ItemIndex();
            else if (auto* s = qobject_cast<TSpinControl*>(w))
                values[row.Name] = s->GetValue();
            else if (auto* c = qobject_cast<QCheckBox*>(w))
                values[row.Name] = c->isChecked();
            else if (auto* b = qobject_cast<QComboBox*>(w))
                values[row.Name] = b->currentIndex();
            else
                ADD_FAILURE() << "no control " << row.Name;
        }
        return values;
    };
    for (const TPanelOption& row : PanelOptions) {
        std::map<std::string, int> expected = shown();
        QWidget* w = frame.findChild<QWidget*>(row.Name);
        w->setEnabled(true); // as where the rules allow it
        int& value = expected[row.Name];
        if (auto* r = qobject_cast<RadioGroup*>(w)) {
            value = value == 0 ? 1 : 0;
            r->findChildren<QRadioButton*>().at(value)->click();
        } else if (auto* s = qobject_cast<TSpinControl*>(w)) {
            value = value < s->GetMax() ? value + 1 : value - 1;
            s->SetValue(value);
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            value = !value;
            c->click();
        } else if (auto* b = qobject_cast<QComboBox*>(w)) {
            value = value == 0 ? 1 : 0;
            b->setCurrentIndex(value);
            emit b->activated(value);
        }
        frame.LoadFromConfig();
        for (const auto& [name, now] : shown())
            EXPECT_EQ(now, expected[name]) << name << " after editing " << row.Name;
    }
    frame.SetConfiguration(nullptr);
}
