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

// Where a window goes beside a panel at the top of an 800x600 screen, inside
// openbox's frame (1 pixel at the sides, a title bar of 20, 5 at the bottom).
TEST(WindowFit, AFramedWindowIsMovedAndShrunkOntoTheScreen)
{
    const auto fitted = [](const QRect& wanted, QSize least = QSize(0, 0)) {
        return FittedGeometry(QRect(0, 30, 800, 570), QMargins(1, 20, 1, 5), wanted, least);
    };
    EXPECT_EQ(fitted(QRect(100, 100, 300, 200)), QRect(100, 100, 300, 200)); // inside already
    EXPECT_EQ(fitted(QRect(600, 500, 300, 200)), QRect(499, 395, 300, 200)); // past the right and the bottom
    // Too large at its least: cut at the right and the bottom, never at the title bar.
    EXPECT_EQ(fitted(QRect(-10, -10, 900, 700), QSize(850, 650)), QRect(1, 50, 850, 650));
}

// A dialog is fitted after its showing has placed it over its parent; once settled,
// a window the user moves partly off the screen stays there until it grows.
TEST(WindowFit, AWindowIsFittedWhenShownAndWhenItGrowsNotWhenTheUserMovesIt)
{
    QWidget parent;
    parent.setGeometry(150, 120, 500, 360);
    QDialog dialog(&parent);
    KeepOnScreenWhenShownOrGrown(&dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !SettlingOnScreen(&dialog); }));
    EXPECT_LE((dialog.geometry().center() - parent.geometry().center()).manhattanLength(), 2);
    const QRect room = dialog.screen()->availableGeometry();
    dialog.move(room.right() - 50, room.top() + 100);
    QApplication::processEvents();
    EXPECT_EQ(dialog.x(), room.right() - 50);
    dialog.resize(dialog.width() + 20, dialog.height());
    QApplication::processEvents();
    EXPECT_TRUE(room.contains(dialog.frameGeometry()));
}

// An error naming a long device path wraps it, inside the name too, on the
// screen; what the user copies is the text itself.
TEST(WindowFit, AnErrorBoxWrapsALongDevicePathOnTheScreen)
{
    const std::string text = "Unable to open communications port\n/dev/serial/by-id/" + std::string(230, 'x');
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        const auto* shown = box->findChild<QTextEdit*>();
        EXPECT_TRUE(shown && shown->document()->idealWidth() <= shown->viewport()->width()
            && shown->toPlainText().toStdString() == text);
        EXPECT_LE(box->frameGeometry().width(), box->screen()->availableGeometry().width());
        box->close();
    });
    platform::QtPrompts("PX1x/2x").MessageDlg(text, platform::MsgDlgType::mtError, platform::mbOK);
}
