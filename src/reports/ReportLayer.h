#pragma once
// Our small banded-report layer: an A4 portrait page laid out in millimetres,
// a title band at the top of the first page, a detail band printed once per
// row of the report's row data set, a page footer on every page and a summary
// band after the last row. Every printed text comes from a label's print
// handler, run on the GUI thread from the configuration the run is given.
// Pages are built first (texts with their places) and then drawn on any
// paged device, so a preview and a print show the same pages.
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class TPX10ConfigData;
class TPrintTableDataSet;

namespace report {

constexpr double PageWidth = 210.0; // A4 portrait, millimetres
constexpr double PageHeight = 297.0;
constexpr double Margin = 10.0; // on all four sides

struct TFontSpec {
    double PointSize = 10; // Arial 10, the report font
    bool Bold = false;
    bool Underline = false;
    bool operator==(const TFontSpec&) const = default;
};

enum class TAlign { Left, Center, Right };

// What the handlers of a run read besides the configuration.
struct TReportContext {
    std::string FileName; // full path, UTF-8; empty for a configuration never saved
    bool VdSCompatibility = false;
    char TimeSeparator = ':';
};

// One run's view for the handlers: the configuration, the context and the
// number of the row being printed (1 for the first row).
struct TPrintRun {
    const TPX10ConfigData& Config;
    const TReportContext& Context;
    int RecNo = 0;
};

// A label's print handler: Value starts as the label's design text (already
// translated for the title band), Font as the label's font.
using TPrintHandler = std::function<void(const TPrintRun& Run, std::string& Value, TFontSpec& Font)>;

// A label's text stays inside its column: the label's width when it has
// one, else up to the next label's left edge on its line (the band's right
// edge for the last). A text wider than that wraps onto further lines and its
// band grows to hold them; a word wider than its column is not cut (see
// FitText).
struct TLabel {
    std::string Name;
    double Left = 0; // from the band's left edge (the left margin)
    double Width = 0; // 0: to the next label on its line, or the band's right edge
    double Top = 0; // from the band's top
    TAlign Align = TAlign::Left;
    TFontSpec Font;
    std::string Text; // design text; a title band label shows it translated
    TPrintHandler OnPrint;
};

struct TBand {
    double Height = 0;
    std::vector<TLabel> Labels;
};

// One line of text placed on a page, in millimetres from the paper's top left
// corner. It is aligned in Rect and never drawn past Limit (Rect's right edge
// when not set), where its column ends.
struct TPlacedText {
    QRectF Rect;
    QString Text;
    TFontSpec Font;
    TAlign Align = TAlign::Left;
    double Limit = 0;
    double Width = 0; // as measured for the layout; 0: not measured
};

// Where a placed line starts, in millimetres from the paper's left edge.
double LineLeft(const TPlacedText& text);

struct TPage {
    std::vector<TPlacedText> Texts;
};

// A text fitted to a column `column` millimetres wide, with `room`
// millimetres free on its line (up to the next text): wrapped at its break
// points in the column; when one of its words is wider than the column, in
// the room beside it, and when that is not enough either, smaller, just
// small enough for its widest word. Only below SmallestPointSize does a word
// break inside.
struct TFittedText {
    std::vector<QString> Lines;
    TFontSpec Font;
    double Width = 0; // what the lines were fitted in: the column or the room
};
constexpr double SmallestPointSize = 6;
TFittedText FitText(const QString& text, const TFontSpec& font, double column, double room);

// One label's text as its band lays it out (labels with no text have none).
struct TLaidCell {
    std::string Name;
    QString Text; // as its handler gave it
    std::vector<QString> Lines;
    TFontSpec Font;
};

class TReport {
public:
    TReport(std::string name, unsigned rowCount);
    virtual ~TReport();
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    const std::string& Name() const { return FName; }
    TPrintTableDataSet& DataSet() const { return *FDataSet; }
    int RowCount() const;

    TBand Title; // printed once, at the top of the first page
    TBand Detail; // once per row
    TBand PageFooter; // on every page
    TBand Summary; // after the last row
    // Whether a detail row prints on the same page as the row after it (a
    // heading with its first row); null: every row stands alone.
    std::function<bool(const TPrintRun& Run)> KeepWithNext;

    // Runs the handlers row by row and lays out the pages. The configuration
    // is only read, and only during the call.
    std::vector<TPage> BuildPages(const TPX10ConfigData& config, const TReportContext& context) const;
    // The texts of the detail labels of row `recNo`, in label order (blank
    // labels give empty texts): what a printed line shows.
    std::vector<std::string> RowTexts(
        const TPX10ConfigData& config, const TReportContext& context, int recNo) const;
    // The labels' texts of the title band and of the detail band of row
    // `recNo`, as laid out on a page.
    std::vector<TLaidCell> TitleCells(const TPX10ConfigData& config, const TReportContext& context) const;
    std::vector<TLaidCell> RowCells(
        const TPX10ConfigData& config, const TReportContext& context, int recNo) const;
    // The font the first detail label prints row `recNo` in.
    TFontSpec RowFont(const TPX10ConfigData& config, const TReportContext& context, int recNo) const;

protected:
    // Helpers for the forms: a heading of the title band and a detail label.
    void AddHeading(const std::string& text, double left, double width, TAlign align);
    void AddColumn(const std::string& name, double left, double width, TAlign align, TPrintHandler onPrint);

private:
    std::string FName;
    std::unique_ptr<TPrintTableDataSet> FDataSet;
};

// The title label ("QRTitleLabel") and the footer label ("FileLabel") that
// every report of the program has: its title centred in Arial 14 bold and
// underlined; the file name or "NEW FILE" centred in the footer.
void AddStandardBands(TReport& report, const std::string& title);

// Several reports printed one after another as one job; each starts on a new
// page.
std::vector<TPage> BuildComposite(
    const std::vector<const TReport*>& reports, const TPX10ConfigData& config, const TReportContext& context);

// Draws one page scaled so that its paper fills `target` (device coordinates).
void DrawPage(QPainter& painter, const TPage& page, const QRectF& target);
// Draws the pages on a paged device (printer or PDF writer) whose painter is
// already active, a new page before every page but the first. False when the
// device refused a new page.
bool DrawPages(QPainter& painter, QPagedPaintDevice& device, const std::vector<TPage>& pages);

// The lines a text takes in a column `width` millimetres wide: broken at
// blanks and after ",", "/", "-" and ".", never before punctuation alone; a
// word longer than the column wherever it must.
std::vector<QString> WrapText(const QString& text, const TFontSpec& font, double width);
// The width of a one-line text in millimetres, and the distance between lines.
double TextWidth(const QString& text, const TFontSpec& font);
double LineHeight(const TFontSpec& font);

// The text of a placed page's lines, top to bottom, for tests and benchmarks.
std::vector<QString> PageLines(const TPage& page);

} // namespace report
