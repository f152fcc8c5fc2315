#include "Sliderbuttoncontrolform.h"
#include "Spincontrol.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

void Key(QWidget* w, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}
void Type(QWidget* w, const QString& digits)
{
    for (QChar c : digits)
        Key(w, Qt::Key(Qt::Key_0 + (c.unicode() - '0')), QString(c));
}
// Runs the commit pause to its end without waiting.
void FinishPause(TSpinControl& s)
{
    while (s.IsCommitPending())
        s.TimerEvent();
}

struct SpinFixture : ::testing::Test {
    TSpinControl Spin;
    int Changes = 0;
    TSpinControl* LastSender = nullptr;
    void SetUp() override
    {
        Spin.resize(80, 24);
        Spin.OnChange = [this](TSpinControl* s) {
            ++Changes;
            LastSender = s;
        };
    }
};

} // namespace

TEST_F(SpinFixture, TypedDigitsCommitOnceAfterThePause)
{
    Spin.SetMax(9999);
    Spin.selectAll();
    Type(&Spin, "123");
    EXPECT_EQ(Changes, 0);
    EXPECT_TRUE(Spin.IsCommitPending());
    EXPECT_EQ(Spin.GetValue(), 0);
    Spin.TimerEvent(); // 100 ms: the long wait starts
    EXPECT_TRUE(Spin.IsCommitPending());
    EXPECT_EQ(Spin.TimerInterval(), 1400);
    EXPECT_EQ(Changes, 0);
    Type(&Spin, "4"); // a key during the long wait starts it again
    EXPECT_EQ(Spin.TimerInterval(), 100);
    FinishPause(Spin);
    EXPECT_EQ(Spin.GetValue(), 1234);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(LastSender, &Spin);
}

TEST_F(SpinFixture, EmptiedTextCommitsMinAndFiresOnChange)
{
    Spin.SetMin(5);
    Spin.SetMax(50);
    Spin.SetValue(20);
    Changes = 0;
    Spin.setCursorPosition(2);
    Key(&Spin, Qt::Key_Backspace, "\b");
    Key(&Spin, Qt::Key_Backspace, "\b");
    EXPECT_EQ(Spin.text(), "");
    EXPECT_EQ(Changes, 0);
    FinishPause(Spin);
    EXPECT_EQ(Spin.GetValue(), 5);
    EXPECT_EQ(Spin.text(), "5");
    EXPECT_EQ(Changes, 1);
}

TEST_F(SpinFixture, DeleteAndCaretKeysEditLikeAnyField)
{
    Spin.SetMax(999);
    Spin.SetValue(123);
    Changes = 0;
    Spin.setCursorPosition(0);
    Key(&Spin, Qt::Key_Right);
    Key(&Spin, Qt::Key_Delete, QString(QChar(0x7F))); // Delete arrives with U+007F
    EXPECT_EQ(Spin.text(), "13");
    EXPECT_TRUE(Spin.IsCommitPending());
    FinishPause(Spin);
    EXPECT_EQ(Spin.GetValue(), 13);
    EXPECT_EQ(Changes, 1);
    Key(&Spin, Qt::Key_End);
    Key(&Spin, Qt::Key_Delete, QString(QChar(0x7F))); // nothing after the caret: no edit, no commit
    EXPECT_EQ(Spin.text(), "13");
    EXPECT_FALSE(Spin.IsCommitPending());
}

TEST_F(SpinFixture, DigitBeyondTheWidthOfMaxIsRefusedUnlessTextSelected)
{
    Spin.SetMax(16);
    Spin.SetValue(12);
    Spin.deselect();
    Spin.setCursorPosition(2);
    Type(&Spin, "3");
    EXPECT_EQ(Spin.text(), "12");
    EXPECT_FALSE(Spin.IsCommitPending());
    Spin.selectAll();
    Type(&Spin, "9");
    EXPECT_EQ(Spin.text(), "9");
    FinishPause(Spin);
    EXPECT_EQ(Spin.GetValue(), 9);
}

TEST_F(SpinFixture, TypedValueAboveMaxIsClampedOnCommit)
{
    Spin.SetMax(60);
    Spin.selectAll();
    Type(&Spin, "99");
    FinishPause(Spin);
    EXPECT_EQ(Spin.GetValue(), 60);
    EXPECT_EQ(Spin.text(), "60");
}

TEST_F(SpinFixture, PlusMinusAndArrowsStayWithinLimits)
{
    Spin.SetMax(10);
    Spin.SetIncrement(4);
    Spin.SetValue(8);
    Key(&Spin, Qt::Key_Plus, "+");
    EXPECT_EQ(Spin.GetValue(), 10);
    Key(&Spin, Qt::Key_Plus, "+");
    EXPECT_EQ(Spin.GetValue(), 10);
    EXPECT_EQ(Spin.text(), "10");
    Key(&Spin, Qt::Key_Down);
    EXPECT_EQ(Spin.GetValue(), 6);
    Key(&Spin, Qt::Key_Minus, "-");
    Key(&Spin, Qt::Key_Minus, "-");
    EXPECT_EQ(Spin.GetValue(), 0);
}

TEST_F(SpinFixture, ConsumedKeyCommitsPendingTypingAtOnce)
{
    Spin.SetMax(999);
    Spin.selectAll();
    Type(&Spin, "42");
    Key(&Spin, Qt::Key_Plus, "+"); // steps from the typed number
    EXPECT_FALSE(Spin.IsCommitPending());
    EXPECT_EQ(Spin.GetValue(), 43);
    EXPECT_GE(Changes, 1);
}

TEST_F(SpinFixture, OtherCharactersBeepAndChangeNothing)
{
    Spin.SetValue(7);
    Changes = 0;
    Key(&Spin, Qt::Key_A, "a");
    EXPECT_EQ(Spin.text(), "7");
    EXPECT_EQ(Changes, 0);
}

TEST_F(SpinFixture, TextThatIsNotANumberFallsBackToMinWithoutOnChange)
{
    Spin.SetMin(3);
    Spin.SetValue(9);
    Changes = 0;
    Spin.setCursorPosition(1);
    Key(&Spin, Qt::Key_Period, ".");
    EXPECT_EQ(Spin.text(), "9.");
    FinishPause(Spin);
    EXPECT_EQ(Spin.GetValue(), 3);
    EXPECT_EQ(Changes, 0);
}

TEST_F(SpinFixture, ProgrammaticChangeOfTheShownValueFiresOnChange)
{
    Spin.SetValue(5);
    EXPECT_EQ(Changes, 1);
    Spin.SetValue(5); // same text: nothing to report
    EXPECT_EQ(Changes, 1);
}

TEST_F(SpinFixture, FocusOutCommitsPendingText)
{
    QWidget window;
    auto* spin = new TSpinControl(&window);
    auto* other = new QLineEdit(&window);
    int changes = 0;
    spin->OnChange = [&](TSpinControl*) { ++changes; };
    window.show();
    spin->setFocus();
    spin->selectAll();
    Type(spin, "33");
    ASSERT_TRUE(spin->IsCommitPending());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(spin, &out);
    (void)other;
    EXPECT_FALSE(spin->IsCommitPending());
    EXPECT_EQ(spin->GetValue(), 33);
    EXPECT_EQ(changes, 1);
}

TEST(SpinControlLimits, MinAboveMaxMakesBothEqual)
{
    TSpinControl s;
    s.SetMax(20);
    s.SetMin(30);
    EXPECT_EQ(s.GetMin(), 30);
    EXPECT_EQ(s.GetMax(), 30);
    EXPECT_EQ(s.GetValue(), 30);
    s.SetMax(10);
    EXPECT_EQ(s.GetMin(), 10);
    EXPECT_EQ(s.GetMax(), 10);
}

TEST(SpinControlLimits, LimitsAreSigned16Bit)
{
    TSpinControl s;
    s.SetMin(-40000); // kept as the 16-bit field keeps it
    EXPECT_EQ(s.GetMin(), 25536);
    EXPECT_EQ(s.GetMax(), 25536);
    TSpinControl t;
    t.SetMax(32767);
    t.SetMin(-32768);
    t.SetValue(40000);
    EXPECT_EQ(t.GetValue(), 32767);
}

TEST(SpinControlParts, EqualLimitsDisableSliderAndEmptyTheBar)
{
    TSpinControl s(nullptr, TControlParts::All());
    s.resize(120, 30);
    s.SetMax(0);
    EXPECT_EQ(s.ValueShapeWidth(), 0);
    EXPECT_FALSE(s.SliderButtonEnabled());
    s.ShowSliderButtonForm();
    EXPECT_EQ(s.Popup(), nullptr);
}

TEST(SpinControlParts, TrackBarWidthIsClamped)
{
    TSpinControl s;
    s.SetTrackBarWidth(10);
    EXPECT_EQ(s.GetTrackBarWidth(), 50);
    s.SetTrackBarWidth(5000);
    EXPECT_EQ(s.GetTrackBarWidth(), 2000);
}

TEST(SpinControlParts, QuickSelectBarPicksInProportion)
{
    TSpinControl s(nullptr, TControlParts::All());
    s.resize(104, 30);
    s.SetMax(100);
    int w = s.QuickSelectBar()->width();
    ASSERT_GT(w, 0);
    s.QuickSelectMouseDown(w / 2);
    EXPECT_NEAR(s.GetValue(), 50, 2);
    s.QuickSelectMouseMove(w);
    EXPECT_EQ(s.GetValue(), 100);
    s.QuickSelectMouseUp(0);
    EXPECT_LE(s.GetValue(), 2);
    s.QuickSelectMouseMove(w); // no longer dragging
    EXPECT_LE(s.GetValue(), 2);
    EXPECT_EQ(s.ValueShapeWidth(), s.GetValue() * w / 100);
}

TEST(SpinControlParts, SliderPopupFollowsTheMouseAndGoesOnRelease)
{
    TSpinControl s(nullptr, TControlParts::All());
    s.resize(120, 30);
    s.show();
    s.SetMax(10);
    s.ShowSliderButtonForm();
    ASSERT_NE(s.Popup(), nullptr);
    EXPECT_EQ(s.Popup()->width(), 134);
    s.Popup()->FormMouseMove(s.Popup()->width(), 0);
    EXPECT_EQ(s.GetValue(), 10);
    s.HideSliderButtonForm();
    EXPECT_EQ(s.Popup(), nullptr);
}

TEST(SliderPopup, PositionFromMouse)
{
    // track bar at 2, 130 wide: usable 112 pixels from x 11
    EXPECT_EQ(TfrmSliderControl::PositionFor(11, 2, 130, 0, 100), 0);
    EXPECT_EQ(TfrmSliderControl::PositionFor(123, 2, 130, 0, 100), 100);
    EXPECT_EQ(TfrmSliderControl::PositionFor(500, 2, 130, 0, 100), 100);
    EXPECT_EQ(TfrmSliderControl::PositionFor(-50, 2, 130, 0, 100), 0);
}

TEST(SliderPopup, PlacedUnderTheButtonAndKeptOnScreen)
{
    QRect screen(0, 0, 1280, 1024);
    QSize size(134, 34);
    QPoint p = TfrmSliderControl::PlaceFor({ 600, 300 }, size, 130, 0, 0, 100, screen);
    EXPECT_EQ(p, QPoint(589, 307));
    // near the right edge the popup ends at the edge
    p = TfrmSliderControl::PlaceFor({ 1275, 300 }, size, 130, 0, 0, 100, screen);
    EXPECT_EQ(p.x() + size.width(), 1280);
    // near the bottom it moves up
    p = TfrmSliderControl::PlaceFor({ 600, 1020 }, size, 130, 50, 0, 100, screen);
    EXPECT_EQ(p.y() + size.height(), 1024);
    p = TfrmSliderControl::PlaceFor({ 2, 300 }, size, 130, 100, 0, 100, screen);
    EXPECT_EQ(p.x(), 0);
}
