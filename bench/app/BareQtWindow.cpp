// The yardstick of the start-up benchmark: a bare Qt program that shows one
// main window and reports under PX10_STARTUP_PROBE exactly as PX10Tool does,
// once the main window has been painted.
#include "StartupProbe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(942, 710);
    platform::InstallStartupProbe(&window);
    window.show();
    return app.exec();
}
