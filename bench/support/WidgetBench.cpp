#include "WidgetBench.h"

#include "Ivmulti.h"
#include "Ivpropinfo.h"
#include "Ivtarget.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace benchwidgets {

void RunInApplication(int& argc, char** argv, void (*prepare)(), void (*finish)())
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (prepare)
        prepare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (finish)
        finish();
}

std::size_t WalkTargets(QObject* o, const TIvTargetProperties& targets)
{
    if (IvIsDataControl(o))
        return 0;
    std::size_t n = 0;
    for (QObject* child : o->children())
        n += WalkTargets(child, targets);
    TIvPropInfoList props(o);
    const char* className = o->metaObject()->className();
    for (int i = 0; i < props.GetCount(); ++i) {
        const TIvPropInfo& p = props.Get(i);
        if (targets.IsPropertyInTargets(className, p.Name))
            n += p.Kind == ivpkString ? p.GetString(o).size() : p.GetStrings(o).size();
    }
    return n;
}

} // namespace benchwidgets
