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
    QAction* Items[2] = {};
    int Next = 0;
    TIvTargetProperties Targets = IvWindowTargets();
    Program()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
        QFile::copy(PX10_DICTIONARY_FILE, Dir.filePath("PX10Tool.mld"));
        QDir::setCurrent(Dir.path());
        Windows = std::make_unique<ProgramWindows>();
        Items[0] = Item(German);
        Items[1] = Item(French);
    }
    QAction* Item(int language) const
    {
        for (QAction* item : Windows->Main->LanguageItems())
            if (item->data().toInt() == language)
                return item;
        return nullptr;
    }
};

void Register(Program& p)
{
    benchfloor::Register({ "ChooseLanguage",
        [&p] {
            QAction* item = p.Items[p.Next];
            p.Next = 1 - p.Next;
            item->trigger();
            QCoreApplication::processEvents(); // the grids' headings
        },
        [&p] {
            std::size_t n = 0;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (!top->parent())
                    n += benchwidgets::WalkTargets(top, p.Targets);
            benchmark::DoNotOptimize(n);
        },
        1, 100, 0, 100e6, "walk without translating" });
}

} // namespace

int main(int argc, char** argv)
{
    benchwidgets::RunComparisons<Program>(argc, argv, Register);
    return 0;
}
