#pragma once
// Windows that fit the screen they are on, whatever language their texts are in.
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QTabBar>
#include <QTabWidget>

#include <vector>

class QComboBox;
class QGridLayout;
class QWidget;

// Where a window goes to lie, with a frame of `Frame` around it, wholly
// within `Room`: `Wanted` (the window without its frame) moved as little as
// it must and made no larger than the room leaves, though never smaller than
// `Least`. A window still too large for the room keeps its left edge and its
// top, where the title bar is, on it: it is cut at the right and the bottom.
QRect FittedGeometry(
    const QRect& Room, const QMargins& Frame, const QRect& Wanted, QSize Least = QSize(0, 0));

// The frame the window manager has put around `Window`. While none is known
// (not shown yet, or no window manager) the frame last seen round another
// window, or before any, room for a title bar above it.
QMargins FrameMargins(const QWidget* Window);

// `Size` made no larger than the room the window's screen leaves it (its
// frame and title bar kept on the screen), so every control stays reachable.
QSize BoundedToScreen(const QWidget* Window, QSize Size);

// Moves `Window` as little as needed, and makes it smaller where it must, to
// lie within the room its screen leaves it, frame and title bar included.
void KeepOnScreen(QWidget* Window);

// Keeps `Window` on its screen as KeepOnScreen does, each time it is shown
// and whenever it grows, but not against the user's own moves. A window
// manager's frame is known only some time after the window is mapped, and
// Qt gives no notice of it: the window is fitted again once it is first
// drawn and, while it settles, until it has its frame and keeps still.
void KeepOnScreenWhenShownOrGrown(QWidget* Window);

// Whether `Window`, just shown, is still awaiting its frame and being fitted.
bool SettlingOnScreen(const QWidget* Window);

// Gives `Window` the size its texts need at its present width (a wrapped
// caption takes more lines in a longer language), within the screen, and
// keeps it on the screen.
void GrowToContents(QWidget* Window);

// Keeps `Window` at least as wide as its title needs in the title bar (the
// title in the application font and room for the bar's buttons), as far as
// the screen allows: again whenever the title, the language or the window's
// layout changes. A window of a fixed size keeps its height.
void KeepWideAsTitle(QWidget* Window);

// Keeps `Box` as wide as its longest entry, whatever language its entries
// are in and however its list changes, even where its window is at its
// least size (Qt's own adjustment leaves the least width as first shown).
void KeepWideAsEntries(QComboBox* Box);

// Lays `Cells` out in `Grid`, row by row, in as many columns (at most
// `MostColumns`) as the width of `Room` shows side by side; again whenever
// `Room` is resized or the language changes. Returns the columns used now.
int FlowIntoColumns(QGridLayout* Grid, QWidget* Room, const std::vector<QWidget*>& Cells, int MostColumns);

// A tab bar whose captions break onto two lines when the tabs would not
// all show on one, and then give up part of their margins, instead of
// hiding tabs behind scroll arrows.
class TWrappingTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit TWrappingTabBar(QWidget* Parent = nullptr);
    // Chooses one or two lines for the room `Width` gives the bar.
    void Rewrap(int Width);
    bool TwoLines() const { return FTwoLines; }
    // `Text` on two lines as even as its breaks allow: at a blank, or after
    // a "-" or "/" (unchanged without either).
    static QString BrokenCaption(const QString& Text);

protected:
    QSize tabSizeHint(int Index) const override;
    QSize minimumTabSizeHint(int Index) const override;
    void tabLayoutChange() override;
    void paintEvent(QPaintEvent* Event) override;

private:
    int MarginCut(int Index) const; // the width a tab gives up of its margins
    bool FTwoLines = false;
    int FCut = 0; // the width each tab is to give up
    bool FRewrapping = false;
};

// A tab widget with a TWrappingTabBar.
class TWrappingTabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit TWrappingTabWidget(QWidget* Parent = nullptr);
    TWrappingTabBar* WrappingTabBar() const { return FBar; }

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    TWrappingTabBar* FBar;
};
