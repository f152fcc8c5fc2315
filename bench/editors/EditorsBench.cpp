// The sensor grid with all 99 sensors fitted, tall enough that every row is
// painted: a type change that resets the sensitivities (the cascade) and the
// repaint of all 99 rows that follows, against the same repaint with nothing
// changed; and showing the sensor view, from a new frame to its first paint,
// against a plain Qt table of the same texts. Prints the medians and, last,
// the ratios.
#include "PX10ConfigData.h"
#include "RecordGrid.h"
#include "SensorEditFrame.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include "FloorComparison.h"
#include "WidgetBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
std::map<std::string, std::vector<double>> Samples; // microseconds per run

std::unique_ptr<TPX10ConfigData> FullSensors()
{
    auto c = std::make_unique<TPX10ConfigData>(false, false, true, false);
    c->FileHeader->SetPanelType(2);
    const int types[] = { 1, 2, 3, 4, 5, 6, 7, 9, 10, 11 };
    for (int a = 1; a <= 99; ++a) {
        c->Sensors->SetType(a, types[a % 10]);
        c->Sensors->SetZone(a, 1 + a % 16);
        c->Sensors->SetDescription(a, "Sensor " + std::to_string(a));
    }
    return c;
}

void ShowAllRows(QWidget& w)
{
    w.resize(1000, 3200); // all 99 rows on screen
    w.show();
    QApplication::processEvents();
}

template <class F> void Timed(benchmark::State& state, const char* name, F body)
{
    for (auto _ : state) {
        const auto start = Clock::now();
        body();
        Samples[name].push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
}

void BM_RefreshAfterCascade(benchmark::State& state)
{
    auto config = FullSensors();
    TfrmSensorEdit frame;
    frame.SetConfig(config.get());
    frame.LoadFromConfig();
    ShowAllRows(frame);
    TSensorDataSet* set = frame.SensorDataSet();
    bool flip = false;
    Timed(state, "cascade", [&] {
        flip = !flip;
        set->WriteField(sfType, 50, flip ? QString("MLT") : QString("OPX"));
        frame.Grid()->viewport()->repaint();
    });
}

void BM_RefreshUnchanged(benchmark::State& state)
{
    auto config = FullSensors();
    TfrmSensorEdit frame;
    frame.SetConfig(config.get());
    frame.LoadFromConfig();
    ShowAllRows(frame);
    Timed(state, "unchanged", [&] {
        frame.SensorDataSet()->Refresh();
        frame.Grid()->viewport()->repaint();
    });
}

void BM_ShowSensorView(benchmark::State& state)
{
    auto config = FullSensors();
    Timed(state, "show", [&] {
        TfrmSensorEdit frame;
        frame.SetConfig(config.get());
        frame.LoadFromConfig();
        frame.resize(733, 630);
        frame.show();
        frame.repaint();
    });
}

// The floor of showing: a plain Qt table holding the same 99 x 13 texts.
void BM_ShowPlainTable(benchmark::State& state)
{
    auto config = FullSensors();
    TfrmSensorEdit source;
    source.SetConfig(config.get());
    source.LoadFromConfig();
    TSensorDataSet* set = source.SensorDataSet();
    Timed(state, "plain", [&] {
        QStandardItemModel model(99, 13);
        for (int r = 0; r < 99; ++r)
            for (int c = 0; c < 13; ++c)
                model.setItem(r, c, new QStandardItem(set->ReadField(c + 1, r + 1).toString()));
        QTableView view;
        view.setModel(&model);
        view.resize(733, 630);
        view.show();
        view.repaint();
    });
}

} // namespace

BENCHMARK(BM_RefreshUnchanged)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_RefreshAfterCascade)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_ShowPlainTable)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ShowSensorView)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    benchwidgets::RunInApplication(argc, argv);
    const double unchanged = benchfloor::Median(Samples["unchanged"]),
                 cascade = benchfloor::Median(Samples["cascade"]);
    const double plain = benchfloor::Median(Samples["plain"]), show = benchfloor::Median(Samples["show"]);
    std::printf("median refresh of 99 rows, unchanged: %.1f us; after a type change with defaults: %.1f us\n",
        unchanged, cascade);
    std::printf(
        "median showing the sensor view with 99 sensors: %.2f ms; a plain Qt table of the same texts: "
        "%.2f ms\n",
        show / 1000, plain / 1000);
    if (unchanged > 0 && plain > 0)
        std::printf("ratio: cascade / unchanged refresh %.2f; sensor view / plain table %.2f\n",
            cascade / unchanged, show / plain);
    return 0;
}
