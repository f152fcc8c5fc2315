#include "WindowFit.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QResizeEvent>
#include <QGridLayout>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

QRect FittedGeometry(const QRect& Room, const QMargins& Frame, const QRect& Wanted, QSize Least)
{
    const QRect inside = Room.marginsRemoved(Frame); // where the window within its frame may lie
    const QSize size = Wanted.size().boundedTo(inside.size()).expandedTo(Least);
    const int x = std::max(inside.left(), std::min(Wanted.left(), inside.right() + 1 - size.width()));
    const int y = std::max(inside.top(), std::min(Wanted.top(), inside.bottom() + 1 - size.height()));
    return QRect(QPoint(x, y), size);
}

namespace {

// The frame the window manager has put round `Window`, once it has. Before,
// Qt may find the window in a parent of its own size: no frame yet.
std::optional<QMargins> KnownFrame(const QWidget* Window)
{
    const QWindow* handle = Window->windowHandle();
    if (!handle || !Window->isVisible())
        return std::nullopt;
    const QMargins frame = handle->frameMargins();
    if (frame.isNull() || std::min({ frame.left(), frame.top(), frame.right(), frame.bottom() }) < 0)
        return std::nullopt;
    return frame;
}

// The frame last seen round one of the program's windows: the window
// manager puts the same round the next one it frames.
QMargins LastFrame;

} // namespace

QMargins FrameMargins(const QWidget* Window)
{
    if (const std::optional<QMargins> frame = KnownFrame(Window)) {
        LastFrame = *frame;
        return *frame;
    }
    if (!LastFrame.isNull())
        return LastFrame;
    return QMargins(0, Window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
}

QSize BoundedToScreen(const QWidget* Window, QSize Size)
{
    QScreen* screen = Window->screen();
    if (!screen)
        return Size;
    return Size.boundedTo(screen->availableGeometry().marginsRemoved(FrameMargins(Window)).size());
}

void KeepOnScreen(QWidget* Window)
{
    QScreen* screen = Window->screen();
    if (!screen)
        return;
    const QRect fitted = FittedGeometry(
        screen->availableGeometry(), FrameMargins(Window), Window->geometry(), Window->minimumSize());
    if (fitted != Window->geometry())
        Window->setGeometry(fitted);
}

void GrowToContents(QWidget* Window)
{
    QLayout* layout = Window->layout();
    if (!layout)
        return;
    layout->activate();
    int height = layout->minimumSize().height();
    if (layout->hasHeightForWidth())
        height = std::max(height, layout->totalHeightForWidth(Window->width()));
    if (height > Window->height()) {
        Window->resize(BoundedToScreen(Window, QSize(Window->width(), height)));
        KeepOnScreen(Window);
    }
}

void KeepWideAsEntries(QComboBox* Box)
{
    Box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto fit = [Box] { Box->setMinimumWidth(Box->sizeHint().width()); };
    QAbstractItemModel* model = Box->model();
    QObject::connect(model, &QAbstractItemModel::dataChanged, Box, fit);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, Box, fit);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, Box, fit);
    QObject::connect(model, &QAbstractItemModel::modelReset, Box, fit);
    fit();
}

namespace {

// What a title bar takes beside its title: icon, buttons and margins.
constexpr int TitleBarButtons = 150;

class TitleWidth : public QObject {
public:
    explicit TitleWidth(QWidget* window)
        : QObject(window)
        , FWindow(window)
        , FOwnWidth(window->minimumWidth())
        , FFixed(window->layout() ? window->layout()->sizeConstraint() == QLayout::SetFixedSize
                                  : window->minimumWidth() == window->maximumWidth())
    {
        window->installEventFilter(this);
        Fit();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        // A hidden window's layout asks once and is then laid out only as
        // the window shows: what changed since is taken in then.
        switch (event->type()) {
        case QEvent::WindowTitleChange:
        case QEvent::LanguageChange:
        case QEvent::LayoutRequest:
        case QEvent::Show:
            Fit();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Fit()
    {
        const QString title = FWindow->windowTitle();
        const int needed = title.isEmpty()
            ? 0
            : QFontMetrics(QApplication::font()).horizontalAdvance(title) + TitleBarButtons;
        const int titleWidth = BoundedToScreen(FWindow, QSize(needed, 0)).width();
        QLayout* layout = FWindow->layout();
        if (FFixed) {
            // A window of a fixed size keeps it, only wider where the title
            // needs it. Its layout fixes the size again when activated, which
            // it would be after this filter: so it is activated first.
            if (layout)
                layout->activate();
            const int width = std::max(titleWidth, layout ? layout->totalSizeHint().width() : FOwnWidth);
            if (FWindow->minimumWidth() != width || FWindow->maximumWidth() != width)
                FWindow->setFixedWidth(width);
            return;
        }
        // A least width set here stands for the layout's own too.
        const int least = std::max(titleWidth, layout ? layout->totalMinimumSize().width() : FOwnWidth);
        if (FWindow->minimumWidth() != least)
            FWindow->setMinimumWidth(least);
    }
    QWidget* FWindow;
    int FOwnWidth; // the least width of a window without a layout
    bool FFixed;
};

// How often, and for how long at most, a window just shown is looked at
// until the window manager has framed and placed it: Qt tells nobody when
// the frame arrives, and the manager may still move the window a moment
// after it is framed.
constexpr int SettleLook = 100; // ms
constexpr int SettleLooks = 30;
// Looks without a move or a resize, the frame known, that end the settling.
constexpr int QuietLooks = 2;

class ScreenFit : public QObject {
public:
    explicit ScreenFit(QWidget* window)
        : QObject(window)
        , FWindow(window)
    {
        window->installEventFilter(this);
        FLook.setInterval(SettleLook);
        connect(&FLook, &QTimer::timeout, this, [this] {
            // Without a frame the window lies where it was fitted when shown.
            if (KnownFrame(FWindow)) {
                Fit();
                ++FQuiet;
            }
            if (FQuiet >= QuietLooks || --FLooksLeft <= 0)
                FLook.stop();
        });
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != FWindow) {
            // The window's first drawing: framed by now, or soon.
            if (event->type() == QEvent::Expose && FAwaitingExpose) {
                FAwaitingExpose = false;
                FitSoon();
            }
            return false;
        }
        switch (event->type()) {
        case QEvent::Show:
            if (QWindow* handle = FWindow->windowHandle(); handle && handle != FHandle) {
                FHandle = handle;
                handle->installEventFilter(this);
            }
            FitSoon();
            FAwaitingExpose = true;
            FQuiet = 0;
            FLooksLeft = SettleLooks;
            FLook.start();
            break;
        case QEvent::Hide:
            FLook.stop();
            break;
        case QEvent::Move:
            FQuiet = 0;
            break;
        case QEvent::Resize: {
            FQuiet = 0;
            // Grown, by its texts or by the program. Once the window has
            // settled, a move is the user's, and so is where it lies.
            const auto* resize = static_cast<QResizeEvent*>(event);
            if (resize->size().width() > resize->oldSize().width()
                || resize->size().height() > resize->oldSize().height())
                FitSoon();
            break;
        }
        default:
            break;
        }
        return false;
    }
    bool Settling() const { return FLook.isActive(); }

private:
    // Fitted once the events in hand are over: a window grows as it shows,
    // and a dialog's own showing, which places it over its parent, comes
    // after this filter.
    void FitSoon()
    {
        if (FPending)
            return;
        FPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                FPending = false;
                Fit();
            },
            Qt::QueuedConnection);
    }
    void Fit()
    {
        // A maximised window is the window manager's to place.
        if (!FWindow->isVisible() || (FWindow->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            return;
        KeepOnScreen(FWindow);
    }
    QWidget* FWindow;
    QPointer<QWindow> FHandle;
    QTimer FLook;
    int FLooksLeft = 0;
    int FQuiet = 0;
    bool FAwaitingExpose = false;
    bool FPending = false;
};

class ColumnFlow : public QObject {
public:
    ColumnFlow(QGridLayout* grid, QWidget* room, std::vector<QWidget*> cells, int most)
        : QObject(room)
        , FGrid(grid)
        , FRoom(room)
        , FCells(std::move(cells))
        , FMost(most)
    {
        room->installEventFilter(this);
        grid->parentWidget()->installEventFilter(this);
    }
    // The margins between the room's edges and the grid's cells.
    int Margins() const
    {
        auto across = [](const QMargins& m) { return m.left() + m.right(); };
        int sum = across(FGrid->contentsMargins());
        // The layouts the grid sits in inside its widget.
        for (QObject* p = FGrid->parent(); qobject_cast<QLayout*>(p); p = p->parent())
            sum += across(static_cast<QLayout*>(p)->contentsMargins());
        // The widgets between it and the room (a group's frame and title), with their layouts.
        for (QWidget* w = FGrid->parentWidget(); w && w != FRoom; w = w->parentWidget()) {
            sum += across(w->contentsMargins());
            if (w != FGrid->parentWidget() && w->layout())
                sum += across(w->layout()->contentsMargins());
        }
        return sum;
    }
    int Columns() const
    {
        const int margins = Margins();
        const int spacing = std::max(0, FGrid->horizontalSpacing());
        for (int n = FMost; n > 1; --n) {
            std::vector<int> widths(size_t(n), 0);
            for (size_t i = 0; i < FCells.size(); ++i)
                if (!FCells[i]->isHidden())
                    widths[i % size_t(n)] = std::max({ widths[i % size_t(n)], FCells[i]->sizeHint().width(),
                        FCells[i]->minimumSizeHint().width() });
            int total = margins + (n - 1) * spacing;
            for (int w : widths)
                total += w;
            if (total <= FRoom->width())
                return n;
        }
        return 1;
    }
    void Flow()
    {
        const int n = Columns();
        if (n == FPlaced)
            return;
        FPlaced = n;
        for (QWidget* cell : FCells)
            FGrid->removeWidget(cell);
        for (int c = 0; c < FMost; ++c)
            FGrid->setColumnStretch(c, c < n ? 1 : 0);
        for (size_t i = 0; i < FCells.size(); ++i)
            FGrid->addWidget(FCells[i], int(i) / n, int(i) % n);
        FGrid->setRowStretch(FGrid->rowCount(), 1);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The page deletes its grid before the events of its own going are over.
        if (!FGrid)
            return false;
        if (watched == FRoom && event->type() == QEvent::Resize)
            Flow();
        // A caption changed (another language): the cells' widths with it.
        else if (watched == FGrid->parentWidget() && event->type() == QEvent::LayoutRequest && !FPending) {
            FPending = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    FPending = false;
                    Flow();
                },
                Qt::QueuedConnection);
        }
        return false;
    }
    int FPlaced = 0;

private:
    QPointer<QGridLayout> FGrid;
    QWidget* FRoom;
    std::vector<QWidget*> FCells;
    int FMost;
    bool FPending = false;
};
} // namespace

void KeepOnScreenWhenShownOrGrown(QWidget* Window)
{
    new ScreenFit(Window);
}

bool SettlingOnScreen(const QWidget* Window)
{
    for (QObject* child : Window->children())
        if (auto* fit = dynamic_cast<ScreenFit*>(child); fit && fit->Settling())
            return true;
    return false;
}

void KeepWideAsTitle(QWidget* Window)
{
    new TitleWidth(Window);
}

int FlowIntoColumns(QGridLayout* Grid, QWidget* Room, const std::vector<QWidget*>& Cells, int MostColumns)
{
    auto* flow = new ColumnFlow(Grid, Room, Cells, MostColumns);
    flow->Flow();
    return flow->FPlaced;
}

TWrappingTabBar::TWrappingTabBar(QWidget* Parent)
    : QTabBar(Parent)
{
    setElideMode(Qt::ElideNone);
}

QString TWrappingTabBar::BrokenCaption(const QString& Text)
{
    // The break whose longer line is shortest: at a blank (which goes), or
    // after a "-" or "/" that a letter follows (which stays on the first line).
    int best = -1, bestLonger = 0;
    bool bestAfter = false;
    for (int i = 0; i + 1 < Text.size(); ++i) {
        const bool blank = Text[i] == u' ';
        const bool after = (Text[i] == u'-' || Text[i] == u'/') && Text[i + 1].isLetterOrNumber();
        if (!blank && !after)
            continue;
        const int first = after ? i + 1 : i;
        const int longer = std::max(first, int(Text.size()) - i - 1);
        if (best < 0 || longer < bestLonger)
            best = i, bestLonger = longer, bestAfter = after;
    }
    if (best < 0)
        return Text;
    QString broken = Text;
    if (bestAfter)
        broken.insert(best + 1, u'\n');
    else
        broken[best] = u'\n';
    return broken;
}

QSize TWrappingTabBar::tabSizeHint(int Index) const
{
    QSize size = QTabBar::tabSizeHint(Index);
    const QString text = tabText(Index);
    const QFontMetrics fm = fontMetrics();
    const QSize one = fm.size(Qt::TextShowMnemonic, text);
    if (FTwoLines) {
        const QSize two = fm.size(Qt::TextShowMnemonic, BrokenCaption(text));
        size = QSize(size.width() - one.width() + two.width(), size.height() - one.height() + two.height());
    }
    size.rwidth() -= MarginCut(Index);
    return size;
}

int TWrappingTabBar::MarginCut(int Index) const
{
    if (FCut == 0)
        return 0;
    // A caption keeps a third of its margins.
    const int margins = QTabBar::tabSizeHint(Index).width()
        - fontMetrics().size(Qt::TextShowMnemonic, tabText(Index)).width();
    return std::clamp(FCut, 0, margins * 2 / 3);
}

QSize TWrappingTabBar::minimumTabSizeHint(int Index) const
{
    return tabSizeHint(Index);
}

void TWrappingTabBar::Rewrap(int Width)
{
    if (FRewrapping || count() == 0)
        return;
    FRewrapping = true;
    const bool wasTwo = FTwoLines;
    const int wasCut = FCut;
    auto total = [this] {
        int sum = 0;
        for (int i = 0; i < count(); ++i)
            sum += tabSizeHint(i).width();
        return sum;
    };
    FTwoLines = false;
    FCut = 0;
    FTwoLines = total() > Width;
    // Where even two lines take too much room, every tab gives up an equal
    // part of its margins rather than hide a tab.
    if (FTwoLines && total() > Width)
        FCut = (total() - Width + count() - 1) / count();
    if (FTwoLines != wasTwo || FCut != wasCut) {
        setElideMode(elideMode()); // lays the tabs out again with their new size
        updateGeometry();
    }
    FRewrapping = false;
}

void TWrappingTabBar::tabLayoutChange()
{
    QTabBar::tabLayoutChange();
    // A caption changed (another language): one line may no longer do, or do again.
    if (parentWidget())
        Rewrap(parentWidget()->width());
}

void TWrappingTabBar::paintEvent(QPaintEvent* Event)
{
    if (!FTwoLines) {
        QTabBar::paintEvent(Event);
        return;
    }
    QStylePainter painter(this);
    auto draw = [&](int i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.text = BrokenCaption(tabText(i));
        const int cut = MarginCut(i);
        if (cut == 0) {
            painter.drawControl(QStyle::CE_TabBarTab, option);
            return;
        }
        // The caption is laid out in the tab as wide as the style makes
        // it, so it reaches into the narrowed margins instead of being cut.
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        option.rect.adjust(-cut / 2, 0, cut - cut / 2, 0);
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
    };
    // The current tab last: it overlaps its neighbours.
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex())
            draw(i);
    if (currentIndex() >= 0)
        draw(currentIndex());
}

TWrappingTabWidget::TWrappingTabWidget(QWidget* Parent)
    : QTabWidget(Parent)
    , FBar(new TWrappingTabBar(this))
{
    setTabBar(FBar);
}

void TWrappingTabWidget::resizeEvent(QResizeEvent* Event)
{
    FBar->Rewrap(width());
    QTabWidget::resizeEvent(Event);
}
