// Choosing a language in Tools, Language with every window of the program
// made, until every window shows it, against walking the same windows and
// reading the same properties without translating.
#include "Ivpropinfo.h"
#include "Ivwindows.h"
#include "ProgramWindows.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "FloorComparison.h"
#include "WidgetBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

std::vector<double> gChooseMs, gWalkMs;

// The program's windows in a folder of their own, with the shipped dictionary.
struct Program {
    QTemporaryDir Dir;
    std::unique_ptr<ProgramWindows> Windows;
    Program()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
        QFile::copy(PX10_DICTIONARY_FILE, Dir.filePath("PX10Tool.mld"));
        QDir::setCurrent(Dir.path());
        Windows = std::make_unique<ProgramWindows>();
    }
    QAction* Item(int language) const
    {
        for (QAction* item : Windows->Main->LanguageItems())
            if (item->data().toInt() == language)
                return item;
        return nullptr;
    }
};

Program& TheProgram()
{
    static Program p;
    return p;
}

void BM_ChooseLanguage(benchmark::State& state)
{
    Program& p = TheProgram();
    QAction* items[] = { p.Item(5), p.Item(2) }; // German, French
    int next = 0;
    for (auto _ : state) {
        QAction* item = items[next];
        next = 1 - next;
        auto start = std::chrono::steady_clock::now();
        item->trigger();
        QCoreApplication::processEvents(); // the grids' headings
        gChooseMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_ChooseLanguage)->Unit(benchmark::kMillisecond);

void BM_WalkWithoutTranslating(benchmark::State& state)
{
    TheProgram();
    const TIvTargetProperties targets = IvWindowTargets();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        size_t n = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (!top->parent())
                n += benchwidgets::WalkTargets(top, targets);
        benchmark::DoNotOptimize(n);
        gWalkMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_WalkWithoutTranslating)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The windows go while the application still exists.
    benchwidgets::RunInApplication(argc, argv, nullptr, [] { TheProgram().Windows.reset(); });
    const double choose = benchfloor::Median(gChooseMs), walk = benchfloor::Median(gWalkMs);
    std::printf("\nmedian language chosen to every window translated %.2f ms (goal < 100 ms), "
                "walk without translating %.2f ms\n",
        choose, walk);
    std::printf("ratio choose / walk %.2f\n", walk > 0 ? choose / walk : 0.0);
    return 0;
}
