#pragma once
// What the benchmarks of windows share: the run inside a widget application,
// and the floor of a language change, the translator's walk without translating.
#include "FloorComparison.h"

#include <QObject>

#include <cstddef>

class TIvTargetProperties;

namespace benchwidgets {

// Initialises and runs the registered benchmarks inside a QApplication,
// offscreen unless a platform is named; `prepare` runs once the application
// exists, `finish` after the benchmarks, while it still exists.
void RunInApplication(int& argc, char** argv, void (*prepare)() = nullptr, void (*finish)() = nullptr);

// Runs the comparisons `registerOn` registers over a fixture made once the
// application exists (after `prepare`), prints their summary and deletes the
// fixture while the application still exists.
template <class Fixture>
void RunComparisons(int& argc, char** argv, void (*registerOn)(Fixture&), void (*prepare)() = nullptr)
{
    static Fixture* fixture = nullptr;
    static void (*registerFn)(Fixture&) = registerOn;
    static void (*prepareFn)() = prepare;
    RunInApplication(
        argc, argv,
        [] {
            if (prepareFn)
                prepareFn();
            fixture = new Fixture;
            registerFn(*fixture);
        },
        [] {
            benchfloor::PrintSummary();
            delete fixture;
            fixture = nullptr;
        });
}

// Visits the objects a language change visits (data controls are left alone)
// and reads every target property, translating nothing; returns the characters read.
std::size_t WalkTargets(QObject* o, const TIvTargetProperties& targets);

} // namespace benchwidgets
