#include "ReportLayer.h"

#include "Ivdictio.h"
#include "Printtabledataset.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>

namespace report {

TReport::TReport(std::string name, unsigned rowCount)
    : FName(std::move(name))
    , FDataSet(std::make_unique<TPrintTableDataSet>(rowCount))
{
    // Open for the life of the report.
    FDataSet->Open();
}

TReport::~TReport() = default;

int TReport::RowCount() const
{
    return FDataSet->GetRecordCount();
}

void TReport::AddHeading(const std::string& text, double left, double width, TAlign align)
{
    TLabel l;
    l.Name = text;
    l.Left = left;
    l.Width = width;
    l.Top = Title.Height - 6.0; // the headings stand on the band's last line
    l.Align = align;
    l.Font.Bold = true;
    l.Text = text;
    Title.Labels.push_back(std::move(l));
}

void TReport::AddColumn(
    const std::string& name, double left, double width, TAlign align, TPrintHandler onPrint)
{
    TLabel l;
    l.Name = name;
    l.Left = left;
    l.Width = width;
    l.Align = align;
    l.OnPrint = std::move(onPrint);
    Detail.Labels.push_back(std::move(l));
}

void AddStandardBands(TReport& report, const std::string& title)
{
    TLabel t;
    t.Name = "QRTitleLabel";
    t.Align = TAlign::Center;
    t.Font = { 14, true, true };
    t.Text = title;
    report.Title.Labels.insert(report.Title.Labels.begin(), std::move(t));

    report.PageFooter.Height = 6.0;
    TLabel f;
    f.Name = "FileLabel";
    f.Top = 1.0;
    f.Align = TAlign::Center;
    f.OnPrint = [](const TPrintRun& run, std::string& value, TFontSpec&) {
        value = run.Context.FileName.empty() ? Translate("NEW FILE") : run.Context.FileName;
    };
    report.PageFooter.Labels.push_back(std::move(f));
}

namespace {

constexpr double BandWidth = PageWidth - 2 * Margin;

// The text and font of one label as its handler prints it.
std::pair<std::string, TFontSpec> PrintLabel(const TLabel& l, const TPrintRun& run, bool translateDesign)
{
    std::string value = translateDesign ? Translate(l.Text) : l.Text;
    TFontSpec font = l.Font;
    if (l.OnPrint)
        l.OnPrint(run, value, font);
    return { value, font };
}

class PageBuilder {
public:
    PageBuilder(const TReport& report, const TPX10ConfigData& config, const TReportContext& context,
        std::vector<TPage>& pages)
        : FReport(report)
        , FConfig(config)
        , FContext(context)
        , FPages(pages)
    {
    }

    void Run()
    {
        const double footerTop = PageHeight - Margin - FReport.PageFooter.Height;
        FPages.emplace_back();
        FY = Margin;
        Place(FReport.Title, 0, true);
        TPrintTableDataSet& rows = FReport.DataSet();
        if (rows.GetRecordCount() > 0) {
            rows.First();
            while (!rows.Eof()) {
                if (FY + FReport.Detail.Height > footerTop + 1e-6)
                    NewPage(footerTop);
                Place(FReport.Detail, rows.GetRecNo(), false);
                rows.Next();
            }
        }
        const TBand& summary = FReport.Summary;
        if (summary.Height > 0 || !summary.Labels.empty()) {
            if (FY + summary.Height > footerTop + 1e-6)
                NewPage(footerTop);
            Place(summary, rows.GetRecordCount(), false);
        }
        FY = footerTop;
        Place(FReport.PageFooter, 0, false);
    }

private:
    void NewPage(double footerTop)
    {
        FY = footerTop;
        Place(FReport.PageFooter, 0, false);
        FPages.emplace_back();
        FY = Margin;
    }

    void Place(const TBand& band, int recNo, bool translateDesign)
    {
        const TPrintRun run { FConfig, FContext, recNo };
        for (const TLabel& l : band.Labels) {
            auto [text, font] = PrintLabel(l, run, translateDesign);
            if (text.empty())
                continue;
            const double width = l.Width > 0 ? l.Width : BandWidth - l.Left;
            const double height = std::max(band.Height - l.Top, 1.0);
            FPages.back().Texts.push_back({ QRectF(Margin + l.Left, FY + l.Top, width, height),
                QString::fromStdString(text), font, l.Align });
        }
        FY += band.Height;
    }

    const TReport& FReport;
    const TPX10ConfigData& FConfig;
    const TReportContext& FContext;
    std::vector<TPage>& FPages;
    double FY = Margin;
};

} // namespace

std::vector<TPage> TReport::BuildPages(const TPX10ConfigData& config, const TReportContext& context) const
{
    std::vector<TPage> pages;
    PageBuilder(*this, config, context, pages).Run();
    return pages;
}

std::vector<std::string> TReport::RowTexts(
    const TPX10ConfigData& config, const TReportContext& context, int recNo) const
{
    std::vector<std::string> out;
    const TPrintRun run { config, context, recNo };
    for (const TLabel& l : Detail.Labels)
        out.push_back(PrintLabel(l, run, false).first);
    return out;
}

TFontSpec TReport::RowFont(const TPX10ConfigData& config, const TReportContext& context, int recNo) const
{
    if (Detail.Labels.empty())
        return {};
    return PrintLabel(Detail.Labels.front(), { config, context, recNo }, false).second;
}

std::vector<TPage> BuildComposite(
    const std::vector<const TReport*>& reports, const TPX10ConfigData& config, const TReportContext& context)
{
    std::vector<TPage> pages;
    for (const TReport* r : reports) {
        auto more = r->BuildPages(config, context);
        pages.insert(pages.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    return pages;
}

void DrawPage(QPainter& painter, const TPage& page, const QRectF& target)
{
    // Drawn in device units with fonts sized for the scale: a scaled painter
    // or a laid-out text rectangle would cost a print far more.
    const double perMm = target.width() / PageWidth;
    painter.save();
    painter.setPen(Qt::black);
    // A page has few fonts: each is made once and set only when it changes.
    struct Font {
        TFontSpec Spec;
        QFont Font;
        QFontMetricsF Metrics;
    };
    std::vector<Font> fonts;
    const Font* current = nullptr;
    for (const TPlacedText& t : page.Texts) {
        if (!current || !(current->Spec == t.Font)) {
            auto it
                = std::find_if(fonts.begin(), fonts.end(), [&](const Font& f) { return f.Spec == t.Font; });
            if (it == fonts.end()) {
                QFont f("Arial");
                f.setStyleHint(QFont::SansSerif);
                f.setPixelSize(std::max(1, int(std::lround(t.Font.PointSize * 25.4 / 72.0 * perMm))));
                f.setBold(t.Font.Bold);
                f.setUnderline(t.Font.Underline);
                fonts.push_back({ t.Font, f, QFontMetricsF(f, painter.device()) });
                it = fonts.end() - 1;
            }
            current = &*it;
            painter.setFont(current->Font);
        }
        const double left = target.left() + t.Rect.left() * perMm;
        const double width = t.Rect.width() * perMm;
        double x = left;
        if (t.Align != TAlign::Left) {
            // Nothing of a text is cut off: a long text runs past its column.
            const double advance = current->Metrics.horizontalAdvance(t.Text);
            x = t.Align == TAlign::Center ? left + (width - advance) / 2 : left + width - advance;
        }
        painter.drawText(QPointF(x, target.top() + t.Rect.top() * perMm + current->Metrics.ascent()), t.Text);
    }
    painter.restore();
}

bool DrawPages(QPainter& painter, QPagedPaintDevice& device, const std::vector<TPage>& pages)
{
    const QPageLayout layout = device.pageLayout();
    const int dpi = device.logicalDpiX();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    // The painter's origin is the paint rectangle's corner; the pages are
    // laid out from the paper's.
    const QRectF paper(full.left() - paint.left(), full.top() - paint.top(), full.width(), full.height());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        DrawPage(painter, pages[i], paper);
    }
    return true;
}

std::vector<QString> PageLines(const TPage& page)
{
    std::map<long, std::vector<const TPlacedText*>> rows;
    for (const TPlacedText& t : page.Texts)
        rows[std::lround(t.Rect.top() * 100)].push_back(&t);
    std::vector<QString> lines;
    for (auto& [y, texts] : rows) {
        std::sort(texts.begin(), texts.end(),
            [](const TPlacedText* a, const TPlacedText* b) { return a->Rect.left() < b->Rect.left(); });
        QStringList parts;
        for (const TPlacedText* t : texts)
            parts << t->Text;
        lines.push_back(parts.join(' '));
    }
    return lines;
}

} // namespace report
