// Choosing a language in Tools, Language with every window of the program
// made, until every window shows it, against walking the same windows and
// reading the same properties without translating, in alternation; the last
// line gives the ratio.
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

#include <memory>

namespace {

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

void Register()
{
    Program& p = TheProgram();
    static QAction* items[] = { p.Item(5), p.Item(2) }; // German, French
    static int next = 0;
    static const TIvTargetProperties targets = IvWindowTargets();
    benchfloor::Register({ "ChooseLanguage",
        [] {
            QAction* item = items[next];
            next = 1 - next;
            item->trigger();
            QCoreApplication::processEvents(); // the grids' headings
        },
        [] {
            std::size_t n = 0;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (!top->parent())
                    n += benchwidgets::WalkTargets(top, targets);
            benchmark::DoNotOptimize(n);
        },
        1, 100, 0, 100e6, "walk without translating" });
}

} // namespace

int main(int argc, char** argv)
{
    // The windows go while the application still exists.
    benchwidgets::RunInApplication(argc, argv, Register, [] {
        benchfloor::PrintSummary();
        TheProgram().Windows.reset();
    });
    return 0;
}
