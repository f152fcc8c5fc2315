// Windows fitted to a small screen.
#include "QtPrompts.h"
#include "WindowFit.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

// A window whose texts need more than the screen's height keeps its title
// bar on the screen however it stood, above the room or low in it, and
// shows as much of itself as the room holds.
TEST(WindowFit, AWindowGrownTallerThanTheScreenKeepsItsTitleBarOnIt)
{
    for (int top : { -150, 0, 400 }) {
        SCOPED_TRACE(top);
        QWidget window;
        auto* text = new QLabel(QString("A line that wraps. ").repeated(400), &window);
        text->setWordWrap(true);
        (new QVBoxLayout(&window))->addWidget(text);
        window.resize(300, 100);
        window.move(50, top);
        window.show();
        const QRect room = window.screen()->availableGeometry();
        ASSERT_GT(text->heightForWidth(280), room.height());
        GrowToContents(&window);
        EXPECT_GE(window.frameGeometry().top(), room.top());
        EXPECT_LE(window.frameGeometry().bottom(), room.bottom());
        EXPECT_GT(window.height(), room.height() / 2);
    }
}

// Where a window goes on an 800x600 screen inside openbox's frame: 1 pixel
// at the sides, a title bar of 20, 5 at the bottom.
TEST(WindowFit, AFramedWindowIsMovedAndShrunkOntoTheScreen)
{
    const QRect screen(0, 0, 800, 600);
    const QMargins openbox(1, 20, 1, 5);
    struct Case {
        const char* What;
        QRect Room, Wanted;
        QSize Least;
        QRect Fitted;
    };
    const Case cases[] = {
        { "filling the screen, frame not counted", screen, QRect(0, 0, 800, 576), {},
            QRect(1, 20, 798, 575) },
        { "grown past the right edge", screen, QRect(107, 100, 718, 400), {}, QRect(81, 100, 718, 400) },
        { "bottom on the screen's edge", screen, QRect(64, 24, 692, 576), {}, QRect(64, 20, 692, 575) },
        { "inside already", screen, QRect(100, 100, 300, 200), {}, QRect(100, 100, 300, 200) },
        { "past the left and the bottom", screen, QRect(-50, 500, 300, 200), {}, QRect(1, 395, 300, 200) },
        { "beside a panel at the top", QRect(0, 30, 800, 570), QRect(0, 0, 800, 600), {},
            QRect(1, 50, 798, 545) },
        // Cut at the right and the bottom, never at the title bar.
        { "larger than the room at its least", screen, QRect(-10, -10, 900, 700), QSize(850, 650),
            QRect(1, 20, 850, 650) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(FittedGeometry(c.Room, openbox, c.Wanted, c.Least), c.Fitted);
    }
}

// Shown, a window is fitted after its own showing has placed it (a dialog
// over its parent); once it has settled, a window the user moves partly off
// the screen stays there until it grows.
TEST(WindowFit, AWindowIsFittedWhenShownAndWhenItGrowsNotWhenTheUserMovesIt)
{
    QWidget parent;
    parent.setGeometry(150, 120, 500, 360);
    parent.show();
    QDialog dialog(&parent);
    dialog.resize(200, 100);
    KeepOnScreenWhenShownOrGrown(&dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !SettlingOnScreen(&dialog); }));
    EXPECT_LE((dialog.geometry().center() - parent.geometry().center()).manhattanLength(), 2);

    const QRect room = dialog.screen()->availableGeometry();
    const QPoint dragged(room.right() - 50, room.top() + 100);
    dialog.move(dragged);
    QApplication::processEvents();
    EXPECT_EQ(dialog.pos(), dragged);
    dialog.resize(dialog.width() + 20, dialog.height());
    QApplication::processEvents();
    EXPECT_TRUE(room.contains(dialog.frameGeometry()));
}

// An error naming a long device path wraps it, inside a name that has no
// break in it too, on the screen; what the user copies is the text itself.
TEST(WindowFit, AnErrorBoxWrapsALongDevicePathOnTheScreen)
{
    const std::string text = "Unable to open communications port\n/dev/serial/by-id/" + std::string(230, 'x');
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        const auto* shown = box->findChild<QTextEdit*>();
        EXPECT_TRUE(shown && shown->isVisible()
            && shown->document()->idealWidth() <= shown->viewport()->width()
            && shown->toPlainText().toStdString() == text);
        EXPECT_LE(box->frameGeometry().width(), box->screen()->availableGeometry().width());
        box->close();
    });
    platform::QtPrompts("PX1x/2x").MessageDlg(text, platform::MsgDlgType::mtError, platform::mbOK);
}
