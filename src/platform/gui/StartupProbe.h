#pragma once
// For the start-up benchmark: under PX10_STARTUP_PROBE a program reports
// "main window shown" once its main window has been painted, and ends at once
// without touching the settings. The program and the benchmark's yardstick
// share it, so both are measured to the same point.
#include <functional>

class QWidget;

namespace platform {

// Runs `then` once, soon after `window` has been painted for the first time:
// for start-up work the user need not wait for before seeing the window.
void AfterFirstPaint(QWidget* window, std::function<void()> then);

// True when the probe is asked for; then `window`'s first paint ends the program.
bool InstallStartupProbe(QWidget* window);
bool StartupProbeRequested();

} // namespace platform
