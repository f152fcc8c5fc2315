// The yardstick of the start-up benchmark: a bare Qt program that shows one
// main window, announces it and ends, exactly as PX10Tool does under
// PX10_STARTUP_PROBE: both report once
// the main window has been painted.
#include <QApplication>
#include <QMainWindow>
#include <QEvent>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(942, 710);
    // Shown means painted: report after the window's first paint.
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint && !Done) {
                Done = true;
                QTimer::singleShot(0, [] {
                    std::printf("main window shown\n");
                    std::fflush(stdout);
                    QApplication::exit(0);
                });
            }
            return false;
        }
        bool Done = false;
    } probe;
    window.installEventFilter(&probe);
    window.show();
    return app.exec();
}
