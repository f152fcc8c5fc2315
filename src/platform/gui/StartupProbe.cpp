#include "StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, std::function<void()> then)
        : QObject(window)
        , FWindow(window)
        , FThen(std::move(then))
    {
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && FThen) {
            QTimer::singleShot(0, FWindow, std::move(FThen));
            FThen = nullptr;
            deleteLater();
        }
        return false;
    }

private:
    QWidget* FWindow;
    std::function<void()> FThen;
};

} // namespace

void AfterFirstPaint(QWidget* window, std::function<void()> then)
{
    window->installEventFilter(new FirstPaint(window, std::move(then)));
}

bool StartupProbeRequested()
{
    return std::getenv("PX10_STARTUP_PROBE") != nullptr;
}

bool InstallStartupProbe(QWidget* window)
{
    if (!StartupProbeRequested())
        return false;
    AfterFirstPaint(window, [] {
        std::printf("main window shown\n");
        std::fflush(stdout);
        QApplication::exit(0);
    });
    return true;
}

} // namespace platform
