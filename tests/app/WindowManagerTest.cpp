// Every window in every full language, framed by openbox, lies on an 800x600 screen (UnderWindowManager.sh).
#include "LanguageFixture.h"
#include "WindowChecks.h"
#include "WindowFit.h"

#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

TEST_F(LanguageFixture, EveryWindowWithItsTitleBarLiesOnAnEightHundredBySixHundredScreen)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run by UnderWindowManager.sh";
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(800, 600));
    Windows = std::make_unique<ProgramWindows>();
    for (int language = 1; language <= FullLanguages; ++language) {
        Choose(language);
        for (QWidget* window : TopWindows()) {
            window->show();
            // Openbox's frame is known; Qt may miss that of a dialog shown again at once.
            const auto settledOnScreen = [&] {
                const QRect framed = window->geometry().marginsAdded(OpenboxFrame);
                return !SettlingOnScreen(window) && window->screen()->availableGeometry().contains(framed);
            };
            EXPECT_TRUE(QTest::qWaitFor(settledOnScreen))
                << "language " << language << ": " << window->objectName().toStdString();
            if (window != Windows->Main.get())
                window->hide();
        }
    }
}
