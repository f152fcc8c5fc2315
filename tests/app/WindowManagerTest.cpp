// The program's windows on an 800x600 screen with a window manager that
// frames them (run by UnderWindowManager.sh, not on the offscreen platform,
// which draws no frames): in every full language each window, frame and
// title bar included, lies wholly on the screen once it is framed.
#include "DeviceEditFrameBase.h"
#include "LanguageFixture.h"
#include "PX10ConfigCBERuleConfiguration.h"
#include "PX10ConfigDeviceConfiguration.h"
#include "WindowChecks.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// The window with the frame its window manager has put round it.
QRect Framed(const QWidget& window)
{
    return window.geometry().marginsAdded(window.windowHandle()->frameMargins());
}

// Waits for the window manager to frame `window` and the program to fit it;
// fails when the framed window is not wholly on the screen within seconds.
void ExpectSettlesOnScreen(QWidget& window, const std::string& where)
{
    const QRect room = window.screen()->availableGeometry();
    const bool settled = QTest::qWaitFor(
        [&] {
            return window.windowHandle() && window.windowHandle()->frameMargins().top() > 0
                && room.contains(Framed(window));
        },
        5000);
    // Qt may miss the frame of a dialog shown again at once (it reads the
    // frame while the window manager has not yet taken the window back):
    // the window then lies where its fit put it, and openbox's frame is known.
    const QRect at = window.geometry().marginsAdded(OpenboxFrame);
    EXPECT_TRUE(settled || room.contains(at))
        << where << " " << window.objectName().toStdString() << " at " << at.x() << "," << at.y() << " "
        << at.width() << "x" << at.height() << " with its frame";
}

} // namespace

TEST_F(LanguageFixture, EveryWindowWithItsTitleBarLiesOnAnEightHundredBySixHundredScreen)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb")
        << "needs a window manager: run by UnderWindowManager.sh";
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(800, 600));
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    // The range entry as wide as it grows: every rule type among the rules
    // it shows, and the last module's loop-powered output.
    for (int rule = 1; rule <= 24; ++rule)
        ConfigData->CBERules->SetRuleType(rule, (rule - 1) % 12);
    ConfigData->Modules->SetType(99, 3);
    for (int language = 1; language <= FullLanguages; ++language) {
        Choose(language);
        const std::string where = "language " + std::to_string(language) + ":";
        ExpectSettlesOnScreen(main, where);
        for (QWidget* window : TopWindows()) {
            if (window == &main)
                continue;
            window->show();
            ExpectSettlesOnScreen(*window, where);
            window->hide();
        }
        // The range entry from the last module's and the last sensor's rule cell.
        for (DeviceEditFrame* frame : { main.ModuleFrame(), main.SensorFrame() }) {
            auto& grid = dynamic_cast<TDeviceEditFrameBase&>(*frame);
            CheckModal([&] { grid.OnEditCBERange(frame == main.ModuleFrame() ? 199 : 99); },
                [&](QDialog& dialog) { ExpectSettlesOnScreen(dialog, where); });
        }
    }
}
