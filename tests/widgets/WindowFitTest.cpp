// Windows fitted to a small screen.
#include "WindowFit.h"

#include <QLabel>
#include <QScreen>
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
