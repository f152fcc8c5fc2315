#pragma once
// What the benchmarks of windows share: the run inside a widget application,
// and the floor of a language change, the translator's walk without translating.
#include <QObject>

#include <cstddef>

class TIvTargetProperties;

namespace benchwidgets {

// Initialises and runs the registered benchmarks inside a QApplication,
// offscreen unless a platform is named; `prepare` runs once the application
// exists, `finish` after the benchmarks, while it still exists.
void RunInApplication(int& argc, char** argv, void (*prepare)() = nullptr, void (*finish)() = nullptr);

// Visits the objects a language change visits (data controls are left alone)
// and reads every target property, translating nothing; returns the characters read.
std::size_t WalkTargets(QObject* o, const TIvTargetProperties& targets);

} // namespace benchwidgets
