#include "ReportLayer.h"

#include "Ivdictio.h"
#include "Printtabledataset.h"

#include <QFont>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHash>
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
// Texts are measured at the resolution of a PDF or a high-resolution print.
constexpr double MeasurePerMm = 1200 / 25.4;
constexpr double ColumnGap = 0.8; // millimetres

int PixelSize(const TFontSpec& font, double perMm)
{
    return std::max(1, int(std::lround(font.PointSize * 25.4 / 72.0 * perMm)));
}

QFont FontOf(const TFontSpec& spec, double perMm)
{
    QFont f("Arial");
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(PixelSize(spec, perMm));
    f.setBold(spec.Bold);
    f.setUnderline(spec.Underline);
    return f;
}

// A report has few fonts and repeats most of its texts ("01", "Y", a type):
// each font is measured with metrics made once, each text once. Pages are
// built on one thread at a time, but a preview may build on another.
struct TMeasure {
    TFontSpec Spec;
    QFontMetricsF Metrics;
    QHash<QString, double> Widths; // millimetres
};

std::vector<std::unique_ptr<TMeasure>>& MeasureCache()
{
    thread_local std::vector<std::unique_ptr<TMeasure>> cache;
    return cache;
}

TMeasure& Measure(const TFontSpec& spec)
{
    auto& cache = MeasureCache();
    for (const auto& m : cache)
        if (m->Spec == spec)
            return *m;
    // Fonts must not outlive the application: the GUI thread's are dropped
    // with it, a worker's when the worker ends.
    static const bool dropped = [] {
        qAddPostRoutine([] { MeasureCache().clear(); });
        return true;
    }();
    (void)dropped;
    cache.push_back(
        std::make_unique<TMeasure>(TMeasure { spec, QFontMetricsF(FontOf(spec, MeasurePerMm)), {} }));
    return *cache.back();
}

double Ascent(const TFontSpec& font)
{
    return Measure(font).Metrics.ascent() / MeasurePerMm;
}

QString TrimmedEnd(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == ' ')
        --n;
    return s.left(n);
}

bool BreaksAfter(QChar c)
{
    return c == ',' || c == '/' || c == '-' || c == '.';
}

bool HasLetterOrDigit(const QString& s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// The pieces a line may end after: each ends with a run of blanks or with a
// ",", "/", "-" or "." (and the blanks after it). A piece of punctuation
// alone (a French " :", a " - ") stays with the piece before it, so that no
// line holds only punctuation.
std::vector<QString> BreakPieces(const QString& text)
{
    std::vector<QString> pieces;
    auto add = [&](QString piece) {
        if (!pieces.empty() && !HasLetterOrDigit(piece))
            pieces.back() += piece;
        else
            pieces.push_back(std::move(piece));
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != ' ' && !BreaksAfter(c))
            continue;
        while (i + 1 < text.size() && text.at(i + 1) == ' ')
            ++i;
        add(text.mid(start, i + 1 - start));
        start = i + 1;
    }
    if (start < text.size())
        add(text.mid(start));
    return pieces;
}

// The length of the longest start of `word` that fits, at least one
// character (never half of a surrogate pair).
qsizetype FittingPrefix(const QString& word, double width, const TFontSpec& font)
{
    qsizetype lo = 1, hi = word.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (TextWidth(word.left(mid), font) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo < word.size() && word.at(lo - 1).isHighSurrogate())
        lo = lo > 1 ? lo - 1 : lo + 1;
    return lo;
}

// The text and font of one label as its handler prints it.
std::pair<std::string, TFontSpec> PrintLabel(const TLabel& l, const TPrintRun& run, bool translateDesign)
{
    std::string value = translateDesign ? Translate(l.Text) : l.Text;
    TFontSpec font = l.Font;
    if (l.OnPrint)
        l.OnPrint(run, value, font);
    return { value, font };
}

std::vector<std::pair<QString, double>> WrapLines(const QString& text, const TFontSpec& font, double width);

// A text fitted to its column, with the widths of its lines.
struct TFit {
    std::vector<std::pair<QString, double>> Lines;
    TFontSpec Font;
    double Width = 0;
};
TFit Fit(const QString& text, const TFontSpec& font, double column, double room);

// The right edge of a label's column: a little before the next label on its
// line (texts of two columns never touch), or the band's right edge.
double ColumnEdge(const TBand& band, const TLabel& l)
{
    double edge = BandWidth;
    for (const TLabel& o : band.Labels)
        if (std::abs(o.Top - l.Top) < 1e-6 && o.Left > l.Left + 1e-6)
            edge = std::min(edge, o.Left - ColumnGap);
    return edge;
}

// Where a line `width` wide starts: aligned in [left, left + box] and moved
// left, not past `left`, to end by `limit`.
double LineStart(TAlign align, double left, double box, double limit, double width)
{
    const double x = align == TAlign::Left ? left
        : align == TAlign::Center          ? left + (box - width) / 2
                                           : left + box - width;
    return std::max(left, std::min(x, limit - width));
}

// A band's texts laid out from its top, and its height once grown.
struct TLaidBand {
    std::vector<TPlacedText> Texts;
    double Height = 0;
};

// With `cells`, also each label's laid-out text, in label order (for tests:
// pages do not need them).
TLaidBand LayBand(
    const TBand& band, const TPrintRun& run, bool translateDesign, std::vector<TLaidCell>* cells = nullptr)
{
    struct Column {
        const TLabel* Label;
        QString Text;
        TFontSpec Font;
        std::vector<std::pair<QString, double>> Lines; // with their widths
        double Box = 0; // the width it is aligned in
        double Limit = 0; // where its text ends at the latest
        double Extra = 0; // height beyond the band's first line
    };
    std::vector<Column> columns;
    for (const TLabel& l : band.Labels) {
        auto [text, font] = PrintLabel(l, run, translateDesign);
        if (!text.empty())
            columns.push_back({ &l, QString::fromStdString(text), font, {} });
    }
    // Right to left along each line, every text clear of the text to its
    // right. A left-aligned text may also run up to the next column; a
    // centred one stays in its label's width (the widths of neighbouring
    // centred columns overlap a little, their texts rarely do). A word wider
    // than that takes the room up to the next text on the line.
    std::vector<Column*> order;
    for (Column& c : columns)
        order.push_back(&c);
    std::sort(order.begin(), order.end(), [](const Column* a, const Column* b) {
        return std::pair(a->Label->Top, -a->Label->Left) < std::pair(b->Label->Top, -b->Label->Left);
    });
    double nextStart = 0, lineTop = -1;
    for (Column* c : order) {
        const TLabel& l = *c->Label;
        if (std::abs(l.Top - lineTop) > 1e-6) {
            lineTop = l.Top;
            nextStart = BandWidth + ColumnGap;
        }
        const double edge = ColumnEdge(band, l);
        const double own = l.Width > 0 ? l.Left + l.Width : edge;
        const double free = nextStart - ColumnGap;
        c->Box = own - l.Left;
        const double column = std::min(free, l.Align == TAlign::Left ? std::max(own, edge) : own);
        TFit fit = Fit(c->Text, c->Font, column - l.Left, free - l.Left);
        c->Lines = std::move(fit.Lines);
        c->Font = fit.Font;
        c->Limit = l.Left + fit.Width;
        for (const auto& [line, width] : c->Lines)
            nextStart = std::min(nextStart, LineStart(l.Align, l.Left, c->Box, c->Limit, width));
        c->Extra = double(c->Lines.size() - 1) * LineHeight(c->Font);
    }
    // A label that grows pushes down the labels below its line.
    auto shiftAt = [&](double top) {
        std::map<long, double> extraByLine;
        for (const Column& c : columns)
            if (c.Label->Top < top - 1e-6) {
                double& e = extraByLine[std::lround(c.Label->Top * 1000)];
                e = std::max(e, c.Extra);
            }
        double shift = 0;
        for (const auto& [line, e] : extraByLine)
            shift += e;
        return shift;
    };
    TLaidBand laid;
    laid.Height = band.Height + shiftAt(1e9);
    for (const Column& c : columns) {
        const TLabel& l = *c.Label;
        if (cells) {
            TLaidCell cell { l.Name, c.Text, {}, c.Font };
            for (const auto& [line, width] : c.Lines)
                cell.Lines.push_back(line);
            cells->push_back(std::move(cell));
        }
        const double step = LineHeight(c.Font);
        const double lineHeight = c.Lines.size() > 1 ? step : std::max(band.Height - l.Top, 1.0);
        // A text smaller than the report's font stands on its line's baseline.
        TFontSpec reportFont = c.Font;
        reportFont.PointSize = TFontSpec {}.PointSize;
        const double baseline = std::max(0.0, Ascent(reportFont) - Ascent(c.Font));
        double y = l.Top + shiftAt(l.Top) + baseline;
        for (const auto& [line, width] : c.Lines) {
            laid.Texts.push_back({ QRectF(Margin + l.Left, y, c.Box, lineHeight), line, c.Font, l.Align,
                Margin + c.Limit, width });
            y += step;
        }
    }
    return laid;
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
        // The footer is the same on every page; a long one grows upwards.
        FFooter = LayBand(FReport.PageFooter, Run(0), false);
        FFooterTop = PageHeight - Margin - FFooter.Height;
        FPages.emplace_back();
        FY = Margin;
        Put(LayBand(FReport.Title, Run(0), true));
        TPrintTableDataSet& rows = FReport.DataSet();
        if (rows.GetRecordCount() > 0) {
            rows.First();
            while (!rows.Eof()) {
                const TPrintRun run = Run(rows.GetRecNo());
                PutRow(
                    LayBand(FReport.Detail, run, false), FReport.KeepWithNext && FReport.KeepWithNext(run));
                rows.Next();
            }
        }
        const TBand& summary = FReport.Summary;
        if (summary.Height > 0 || !summary.Labels.empty())
            PutRow(LayBand(summary, Run(rows.GetRecordCount()), false), false);
        PutHeld();
        FY = FFooterTop;
        Put(FFooter);
    }

private:
    TPrintRun Run(int recNo) const { return { FConfig, FContext, recNo }; }

    // A row that keeps with the next is held until the next comes, and the
    // rows held start a new page together when they do not fit whole on
    // this one (unless together they are taller than a page).
    void PutRow(TLaidBand row, bool keepWithNext)
    {
        FHeld.push_back(std::move(row));
        if (!keepWithNext)
            PutHeld();
    }

    void PutHeld()
    {
        double height = 0;
        for (const TLaidBand& row : FHeld)
            height += row.Height;
        if (FHeld.size() > 1 && height <= FFooterTop - Margin && !Fits(height))
            NewPage();
        for (const TLaidBand& row : FHeld)
            PutOne(row);
        FHeld.clear();
    }

    bool Fits(double height) const { return FY + height <= FFooterTop + 1e-6; }

    void NewPage()
    {
        FY = FFooterTop;
        Put(FFooter);
        FPages.emplace_back();
        FY = Margin;
        FRowsOnPage = 0;
    }

    // A row starts a new page when it does not fit whole on this one (a
    // page already holding rows: a row taller than a page stays on one).
    void PutOne(const TLaidBand& row)
    {
        if (!Fits(row.Height) && FRowsOnPage > 0)
            NewPage();
        Put(row);
        ++FRowsOnPage;
    }

    void Put(const TLaidBand& band)
    {
        for (TPlacedText t : band.Texts) {
            t.Rect.translate(0, FY);
            FPages.back().Texts.push_back(std::move(t));
        }
        FY += band.Height;
    }

    const TReport& FReport;
    const TPX10ConfigData& FConfig;
    const TReportContext& FContext;
    std::vector<TPage>& FPages;
    TLaidBand FFooter;
    double FFooterTop = PageHeight - Margin;
    double FY = Margin;
    int FRowsOnPage = 0;
    std::vector<TLaidBand> FHeld; // rows kept with the next, not placed yet
};

} // namespace

double TextWidth(const QString& text, const TFontSpec& font)
{
    TMeasure& m = Measure(font);
    if (const auto it = m.Widths.constFind(text); it != m.Widths.constEnd())
        return *it;
    if (m.Widths.size() > 20000) // texts of many configurations
        m.Widths.clear();
    return m.Widths[text] = m.Metrics.horizontalAdvance(text) / MeasurePerMm;
}

double LineHeight(const TFontSpec& font)
{
    return Measure(font).Metrics.lineSpacing() / MeasurePerMm;
}

namespace {

// The lines of a text with their widths. A line's width is the sum of its
// pieces' (each measured once), which the text shaped whole matches but for
// kerning between two pieces, a small fraction of a millimetre.
std::vector<std::pair<QString, double>> WrapLines(const QString& text, const TFontSpec& font, double width)
{
    const double whole = TextWidth(text, font);
    if (whole <= width)
        return { { text, whole } };
    std::vector<std::pair<QString, double>> lines;
    QString line;
    double advance = 0, trimmedAdvance = 0;
    auto flush = [&] {
        if (!TrimmedEnd(line).isEmpty())
            lines.emplace_back(TrimmedEnd(line), trimmedAdvance);
        line.clear();
        advance = trimmedAdvance = 0;
    };
    for (const QString& piece : BreakPieces(text)) {
        const QString trimmed = TrimmedEnd(piece);
        const double w = TextWidth(trimmed, font);
        if (line.isEmpty() || advance + w > width) {
            flush();
            // A word longer than the column breaks where it must.
            QString rest = trimmed;
            while (TextWidth(rest, font) > width) {
                const qsizetype n = FittingPrefix(rest, width, font);
                lines.emplace_back(rest.left(n), TextWidth(rest.left(n), font));
                rest.remove(0, n);
            }
            line = rest;
            advance = trimmedAdvance = TextWidth(rest, font);
            line += piece.mid(trimmed.size());
            advance += TextWidth(piece.mid(trimmed.size()), font);
            continue;
        }
        line += piece;
        trimmedAdvance = advance + w;
        advance += TextWidth(piece, font);
    }
    flush();
    return lines;
}

double WidestPiece(const std::vector<QString>& pieces, const TFontSpec& font)
{
    double widest = 0;
    for (const QString& piece : pieces)
        widest = std::max(widest, TextWidth(TrimmedEnd(piece), font));
    return widest;
}

TFit Fit(const QString& text, const TFontSpec& font, double column, double room)
{
    room = std::max(room, column);
    const double whole = TextWidth(text, font);
    if (whole <= column)
        return { { { text, whole } }, font, column };
    const std::vector<QString> pieces = BreakPieces(text);
    const double widest = WidestPiece(pieces, font);
    if (widest <= column)
        return { WrapLines(text, font, column), font, column };
    if (widest <= room)
        return { WrapLines(text, font, room), font, room };
    // Smaller, in quarter points, until the widest word fits the room.
    TFontSpec small = font;
    small.PointSize = std::max(SmallestPointSize, std::floor(font.PointSize * room / widest * 4) / 4);
    while (small.PointSize > SmallestPointSize && WidestPiece(pieces, small) > room)
        small.PointSize = std::max(SmallestPointSize, small.PointSize - 0.25);
    return { WrapLines(text, small, room), small, room };
}

} // namespace

TFittedText FitText(const QString& text, const TFontSpec& font, double column, double room)
{
    TFit fit = Fit(text, font, column, room);
    TFittedText out { {}, fit.Font, fit.Width };
    for (auto& [line, width] : fit.Lines)
        out.Lines.push_back(std::move(line));
    return out;
}

std::vector<QString> WrapText(const QString& text, const TFontSpec& font, double width)
{
    std::vector<QString> out;
    for (auto& [line, w] : WrapLines(text, font, width))
        out.push_back(std::move(line));
    return out;
}

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

std::vector<TLaidCell> TReport::TitleCells(const TPX10ConfigData& config, const TReportContext& context) const
{
    std::vector<TLaidCell> cells;
    LayBand(Title, { config, context, 0 }, true, &cells);
    return cells;
}

std::vector<TLaidCell> TReport::RowCells(
    const TPX10ConfigData& config, const TReportContext& context, int recNo) const
{
    std::vector<TLaidCell> cells;
    LayBand(Detail, { config, context, recNo }, false, &cells);
    return cells;
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

namespace {

// The fonts of the pages drawn at one scale: each is made once.
struct TDeviceFont {
    TFontSpec Spec;
    QFont Font;
    QFontMetricsF Metrics;
};

void DrawPageIn(QPainter& painter, const TPage& page, const QRectF& target, std::vector<TDeviceFont>& fonts)
{
    // Drawn in device units with fonts sized for the scale: a scaled painter
    // or a laid-out text rectangle would cost a print far more.
    const double perMm = target.width() / PageWidth;
    const bool fine = perMm >= MeasurePerMm / 2;
    painter.save();
    painter.setPen(Qt::black);
    // A font is set only when it changes.
    const TDeviceFont* current = nullptr;
    for (const TPlacedText& t : page.Texts) {
        if (!current || !(current->Spec == t.Font)) {
            auto it = std::find_if(
                fonts.begin(), fonts.end(), [&](const TDeviceFont& f) { return f.Spec == t.Font; });
            if (it == fonts.end()) {
                const QFont f = FontOf(t.Font, perMm);
                fonts.push_back({ t.Font, f, QFontMetricsF(f, painter.device()) });
                it = fonts.end() - 1;
            }
            current = &*it;
            painter.setFont(current->Font);
        }
        const double left = target.left() + t.Rect.left() * perMm;
        const double width = t.Rect.width() * perMm;
        const double limit = target.left() + (t.Limit > 0 ? t.Limit : t.Rect.right()) * perMm;
        // On a fine device (a PDF, a print) a line is placed without shaping
        // it again: its width measured for the layout, scaled to the device's
        // font size. A screen's hinted fonts are measured as they are.
        const double advance = t.Width > 0 && fine
            ? t.Width * MeasurePerMm * current->Font.pixelSize() / PixelSize(t.Font, MeasurePerMm)
            : current->Metrics.horizontalAdvance(t.Text);
        // The lines were measured for a fine resolution: on a coarse device
        // a line may come out a little wider, and still stays in its column.
        const double x = LineStart(t.Align, left, width, limit, advance);
        const QPointF at(x, target.top() + t.Rect.top() * perMm + current->Metrics.ascent());
        if (advance > limit - left + 0.5) {
            painter.save();
            painter.translate(at);
            painter.scale((limit - left) / advance, 1);
            painter.drawText(QPointF(0, 0), t.Text);
            painter.restore();
        } else
            painter.drawText(at, t.Text);
    }
    painter.restore();
}

} // namespace

void DrawPage(QPainter& painter, const TPage& page, const QRectF& target)
{
    std::vector<TDeviceFont> fonts;
    DrawPageIn(painter, page, target, fonts);
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
    std::vector<TDeviceFont> fonts;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        DrawPageIn(painter, pages[i], paper, fonts);
    }
    return true;
}

double LineLeft(const TPlacedText& t)
{
    return LineStart(t.Align, t.Rect.left(), t.Rect.width(), t.Limit > 0 ? t.Limit : t.Rect.right(),
        t.Width > 0 ? t.Width : TextWidth(t.Text, t.Font));
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
