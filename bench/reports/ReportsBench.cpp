// All six reports of a configuration of long texts (wrapped in their
// columns) printed to PDF, against a plain QPdfWriter that draws the same
// lines at the same places on the same number of pages with no report logic.
// All run in one program, their repetitions interleaved; the last lines are
// the ratios of the medians.
#include "ReportJob.h"
#include "reports/LongTexts.h"

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace report;

namespace {

struct Fixture {
    std::unique_ptr<TPX10ConfigData> Config = MakeLongTextConfiguration();
    TReportForms Forms;
    TReportContext Context { "/srv/sites/Main Street.UDF", false, ':' };
    std::vector<const TReport*> All = Forms.Chosen({ true, true, true, true, true, true });
    // The floor's input: every page's texts with their places, made once.
    std::vector<TPage> Pages = BuildComposite(All, *Config, Context);
};

// A PDF written to memory.
struct PdfInMemory {
    QByteArray Bytes;
    QBuffer Out { &Bytes };
    std::unique_ptr<QPdfWriter> Pdf;
    PdfInMemory()
    {
        Out.open(QIODevice::WriteOnly);
        Pdf = std::make_unique<QPdfWriter>(&Out);
    }
};

Fixture& F()
{
    static Fixture f;
    return f;
}

void BM_SixReportsToPdf(benchmark::State& state)
{
    Fixture& f = F();
    for (auto _ : state) {
        PdfInMemory out;
        RenderPages(*out.Pdf, BuildComposite(f.All, *f.Config, f.Context));
        benchmark::DoNotOptimize(out.Bytes.size());
    }
    state.counters["pages"] = double(f.Pages.size());
}

// The pages alone: every handler of the six reports and the layout with its
// wrapping.
void BM_BuildPagesOnly(benchmark::State& state)
{
    Fixture& f = F();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildComposite(f.All, *f.Config, f.Context).size());
}

// The same on a new thread each time: with no text measured yet, as the
// first preview of a program run builds its pages.
void BM_BuildPagesFirstTime(benchmark::State& state)
{
    Fixture& f = F();
    for (auto _ : state)
        std::thread([&] {
            benchmark::DoNotOptimize(BuildComposite(f.All, *f.Config, f.Context).size());
        }).join();
}

// The floor: the same lines at the same places, in one font or, with
// `ownFonts`, each in its own (the headings' bold font is then embedded too).
void PlainPdfWriter(benchmark::State& state, bool ownFonts)
{
    Fixture& f = F();
    for (auto _ : state) {
        PdfInMemory out;
        QPdfWriter& pdf = *out.Pdf;
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        const double perMm = pdf.logicalDpiX() / 25.4;
        TFontSpec current;
        auto setFont = [&](const TFontSpec& spec) {
            QFont font("Arial");
            font.setPixelSize(int(spec.PointSize * 25.4 / 72 * perMm));
            font.setBold(spec.Bold);
            font.setUnderline(spec.Underline);
            painter.setFont(font);
            current = spec;
        };
        setFont(current);
        for (std::size_t i = 0; i < f.Pages.size(); ++i) {
            if (i > 0)
                pdf.newPage();
            for (const TPlacedText& t : f.Pages[i].Texts) {
                if (ownFonts && !(t.Font == current))
                    setFont(t.Font);
                painter.drawText(QPointF(t.Rect.left() * perMm, t.Rect.bottom() * perMm), t.Text);
            }
        }
        painter.end();
        benchmark::DoNotOptimize(out.Bytes.size());
    }
    state.counters["pages"] = double(f.Pages.size());
}

void BM_PlainPdfWriter(benchmark::State& state)
{
    PlainPdfWriter(state, false);
}

void BM_PlainPdfWriterInTheirFonts(benchmark::State& state)
{
    PlainPdfWriter(state, true);
}

// Keeps the medians for the closing ratio.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                Medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Medians;
};

} // namespace

BENCHMARK(BM_SixReportsToPdf)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildPagesOnly)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildPagesFirstTime)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainPdfWriter)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainPdfWriterInTheirFonts)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The two alternate, so that both see the same machine.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.push_back(interleave.data());
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double reports = reporter.Medians["BM_SixReportsToPdf"];
    const double plain = reporter.Medians["BM_PlainPdfWriter"];
    std::printf("pages: %zu\n", F().Pages.size());
    const double ownFonts = reporter.Medians["BM_PlainPdfWriterInTheirFonts"];
    if (reports > 0 && plain > 0)
        std::printf("ratio six reports / plain PDF writer (medians %.2f ms / %.2f ms): %.2f\n", reports,
            plain, reports / plain);
    if (reports > 0 && ownFonts > 0)
        std::printf(
            "ratio six reports / plain PDF writer in the texts' fonts (medians %.2f ms / %.2f ms): %.2f\n",
            reports, ownFonts, reports / ownFonts);
    return 0;
}
