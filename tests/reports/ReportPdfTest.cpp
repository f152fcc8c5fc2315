// All six reports printed to PDF and read back as text, as a user reads a
// printout: titles in the job order, a footer on every page, every line.
#include "Exception.h"
#include "LongTexts.h"
#include "ReportJob.h"
#include "ShippedLanguages.h"
#include "support/FullConfiguration.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace report;

namespace {

// What pdftotext writes for the PDF at `path` with `option`.
QString PdfToText(const QString& path, const QString& option)
{
    QProcess p;
    p.start("pdftotext", { option, path, "-" });
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed: " << p.errorString().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page of a PDF.
QStringList PdfPages(const QString& path)
{
    QStringList pages = PdfToText(path, "-layout").split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

int CountLinesStartingWith(const QStringList& pages, const QString& pattern)
{
    int n = 0;
    const QRegularExpression re(pattern);
    for (const QString& page : pages)
        for (const QString& line : page.split('\n'))
            n += re.match(line).hasMatch();
    return n;
}

TEST(ReportPdf, AllSixReportsReadBackInOrderWithFootersAndEveryLine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto config = MakeFullConfiguration();
    TReportForms forms;
    TReportContext context;
    context.FileName = "/srv/sites/Main Street.UDF";
    const auto pages = BuildComposite(forms.Chosen({ true, true, true, true, true, true }), *config, context);

    const QString path = dir.filePath("all.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setTitle(QString::fromStdString(JobTitle()));
        RenderPages(pdf, pages);
    }
    const QStringList text = PdfPages(path);
    if (qEnvironmentVariableIsSet("PX10_KEEP_PDF"))
        QFile::copy(path, qEnvironmentVariable("PX10_KEEP_PDF"));
    ASSERT_EQ(text.size(), qsizetype(pages.size()));
    ASSERT_EQ(text.size(), 12);

    // Titles on the first page of each report, in the job order.
    const std::pair<int, QString> titles[] = { { 0, "Panel Setup Options" }, { 2, "Zone Text" },
        { 3, "Onboard Output Settings" }, { 4, "CBE Rules" }, { 6, "Sensors" }, { 8, "Modules" } };
    for (const auto& [page, title] : titles)
        EXPECT_EQ(text[page].trimmed().section('\n', 0, 0).trimmed(), title) << page;
    for (const QString& page : text)
        EXPECT_TRUE(page.trimmed().endsWith("/srv/sites/Main Street.UDF"));

    EXPECT_EQ(CountLinesStartingWith(text, "^\\s*\\d\\d\\s+Sensor \\d+\\s"), 99);
    EXPECT_EQ(CountLinesStartingWith(text, "^\\s*\\d\\d\\s+Module \\d+\\s"), 99);
    EXPECT_EQ(CountLinesStartingWith(text, "^\\s*\\d\\d\\s+Zone text \\d+\\s*$"), 32);
    EXPECT_EQ(CountLinesStartingWith(text, "^\\s*\\(B0[1-6]\\) - "), 6);
    EXPECT_EQ(CountLinesStartingWith(text,
                  "^\\s*\\d\\d\\s+(Fire|Device Input|General Fault|General Pre-Alarm|"
                  "Plant Warning|Fire Output/Transfer|Reset|Day Mode|Extinguishing "
                  "System|General Disablement|Thermal|E.S. System Fault)"),
        64);
    EXPECT_TRUE(text[0].contains("Phone No.:"));
    EXPECT_TRUE(text[1].contains("Delays Active Indication:"));
}

// A word of a PDF as pdftotext places it, in millimetres from the paper's
// top left corner.
struct Word {
    int Page;
    QRectF Box;
    QString Text;
};

std::vector<Word> PdfWords(const QString& path)
{
    const QString html = PdfToText(path, "-bbox-layout");
    const QRegularExpression re("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                "yMax=\"([\\d.]+)\">([^<]*)</word>");
    std::vector<Word> words;
    int page = -1;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        const double mm = 25.4 / 72;
        QString text = m.captured(5);
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
        text.replace("&amp;", "&");
        words.push_back({ page,
            QRectF(QPointF(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm),
                QPointF(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm)),
            text });
    }
    return words;
}

// The words the pages place, each where its line puts it: what the PDF must
// show, word for word.
std::vector<Word> LaidWords(const std::vector<TPage>& pages)
{
    std::vector<Word> words;
    for (std::size_t p = 0; p < pages.size(); ++p)
        for (const TPlacedText& t : pages[p].Texts) {
            const double left = LineLeft(t);
            for (qsizetype i = 0; i < t.Text.size();) {
                if (t.Text.at(i) == ' ') {
                    ++i;
                    continue;
                }
                qsizetype end = t.Text.indexOf(' ', i);
                if (end < 0)
                    end = t.Text.size();
                // Measured as the line was, its start included.
                const double x = left + TextWidth(t.Text.left(i), t.Font);
                words.push_back({ int(p), QRectF(x, t.Rect.top(), 0, 0), t.Text.mid(i, end - i) });
                i = end;
            }
        }
    return words;
}

void ExpectAllReportsWholeInTheirColumns(const std::string& language)
{
    SCOPED_TRACE(language);
    auto config = MakeLongTextConfiguration();
    TReportForms forms;
    TReportContext context;
    context.FileName = "/srv/sites/Main Street.UDF";
    const auto all = forms.Chosen({ true, true, true, true, true, true });
    QTemporaryDir dir;
    const QString path = dir.filePath("all.pdf");
    const auto pages = BuildComposite(all, *config, context);
    {
        QPdfWriter pdf(path);
        RenderPages(pdf, pages);
    }
    const std::vector<Word> words = PdfWords(path);
    ASSERT_FALSE(words.empty());

    // Inside the printable area, and no word over another.
    for (const Word& w : words)
        EXPECT_TRUE(QRectF(Margin, Margin, PageWidth - 2 * Margin, PageHeight - 2 * Margin)
                        .adjusted(-0.2, -0.2, 0.2, 0.2)
                        .contains(w.Box))
            << w.Text.toStdString() << " on page " << w.Page;
    for (std::size_t i = 0; i < words.size(); ++i)
        for (std::size_t j = i + 1; j < words.size() && words[j].Page == words[i].Page; ++j)
            EXPECT_FALSE(words[i].Box.adjusted(0.2, 0.2, -0.2, -0.2).intersects(words[j].Box))
                << words[i].Text.toStdString() << " over " << words[j].Text.toStdString();

    // Every word where the layout put it, and no other: the layout's own
    // tests show each text whole in its column.
    std::multimap<std::pair<int, QString>, QRectF> printed;
    for (const Word& w : words)
        printed.emplace(std::pair(w.Page, w.Text), w.Box);
    for (const Word& w : LaidWords(pages)) {
        auto [from, to] = printed.equal_range({ w.Page, w.Text });
        const auto at = std::find_if(from, to, [&](const auto& p) {
            // Kerning after a blank ("Auto", "Year") moves a word by up to
            // two tenths of a millimetre; a word's box starts a little below
            // its line's top.
            return std::abs(p.second.left() - w.Box.left()) < 0.4
                && std::abs(p.second.top() - w.Box.top()) < 2;
        });
        if (at == to) {
            ADD_FAILURE() << w.Text.toStdString() << " not printed on page " << w.Page << " at "
                          << w.Box.left();
            continue;
        }
        printed.erase(at);
    }
    for (const auto& [word, box] : printed)
        ADD_FAILURE() << word.second.toStdString() << " printed on page " << word.first << " at "
                      << box.left();

    // What the columns hold, written out here: every GSM condition and
    // every rule of a list.
    std::string gsm;
    for (const char* c : { "Alarm", "Fault", "Pre-alarm" })
        gsm += Translate(c) + "(" + Translate("ALL") + "), ";
    for (const char* c :
        { "Controls", "General Disable", "Zone Disable", "Device Disable", "System Disable" })
        gsm += Translate(c) + (std::string(c) == "System Disable" ? "" : ", ");
    for (int item = 1; item <= 5; ++item)
        EXPECT_EQ(forms.Of(TReportKind::Panel).RowTexts(*config, context, 54 + 3 * item).at(1), gsm);
    EXPECT_EQ(forms.Of(TReportKind::Sensors).RowTexts(*config, context, 3).at(7),
        Translate("CBE:") + LongRuleList());
    EXPECT_EQ(forms.Of(TReportKind::Modules).RowTexts(*config, context, 1).at(4), Translate("ABORT SWITCH"));
    EXPECT_EQ(forms.Of(TReportKind::Modules).RowTexts(*config, context, 1).at(5), LongRuleList());
}

TEST(ReportPdf, LongTextsPrintWholeInsideTheirColumnsInEveryLanguage)
{
    ForEachShippedLanguage(ExpectAllReportsWholeInTheirColumns);
}

TEST(ReportPdf, AnEmptyJobIsStillOneValidPageAndABadDeviceIsAnError)
{
    QTemporaryDir dir;
    TPX10ConfigData config(false, false, true, false);
    TReportForms forms;
    const QString path = dir.filePath("zones.pdf");
    {
        QPdfWriter pdf(path);
        RenderPages(pdf, forms.Of(TReportKind::Zones).BuildPages(config, {}));
    }
    const QStringList text = PdfPages(path);
    ASSERT_EQ(text.size(), 1);
    EXPECT_TRUE(text[0].contains("NEW FILE"));
    // A file that cannot be written: the painter does not start.
    QPdfWriter bad(dir.filePath("missing/folder/x.pdf"));
    EXPECT_THROW(RenderPages(bad, forms.Of(TReportKind::Zones).BuildPages(config, {})), Exception);
}

#if defined(PX10_REPORT_PDF_TOOL) && defined(PX10_DICTIONARY_FILE)

// It prints what the program prints, in German, a spin option out of range at its control's
// nearer limit; what it cannot print it refuses, leaving every file as it was.
TEST(ReportPdfTool, PrintsWhatTheProgramPrintsAndRefusesWhatItCannot)
{
    // Its exit code and messages, run as a user runs it, without a display.
    const auto run = [](const QStringList& arguments) {
        QProcess p;
        p.setEnvironment(QProcess::systemEnvironment().filter(
            QRegularExpression("^(?!(DISPLAY|WAYLAND_DISPLAY|QT_QPA_PLATFORM)=)")));
        p.start(PX10_REPORT_PDF_TOOL, arguments);
        EXPECT_TRUE(p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit);
        return std::pair { p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError()) };
    };
    QTemporaryDir dir;
    const QString out = dir.filePath("out.pdf"), udf = dir.filePath("site.UDF"), mld = dir.filePath("c.mld");
    auto config = MakeFullConfiguration();
    config->GeneralPanelSetup->SetMainsDelay(255);
    config->SaveToFile(udf.toStdString());
    config->GeneralPanelSetup->SetMainsDelay(60);
    const auto print = [&](const std::string&) {
        QPdfWriter pdf(dir.filePath("expected.pdf"));
        RenderPages(pdf,
            BuildComposite(TReportForms().Chosen({ true, true, true, true, true, true }), *config,
                { udf.toStdString(), true }));
    };
    ForEachShippedLanguage(print, 5, 5);
    const auto [code, errors] = run({ PX10_DICTIONARY_FILE, "5", out, udf });
    EXPECT_EQ(code, 0) << errors.toStdString();
    EXPECT_EQ(PdfToText(out, "-layout").toStdString(),
        PdfToText(dir.filePath("expected.pdf"), "-layout").toStdString());
    ASSERT_TRUE(QFile::copy(PX10_DICTIONARY_FILE, mld) && QFile::link(udf, dir.filePath("link.pdf")));
    ASSERT_EQ(::mkfifo(dir.filePath("pipe.pdf").toLocal8Bit(), 0600), 0);
    // The arguments, and the part of them the message names.
    const std::pair<QStringList, QString> refused[] = {
        { { PX10_DICTIONARY_FILE, "abc", out }, "abc" },
        { { PX10_DICTIONARY_FILE, "1", out, dir.filePath("missing.UDF") }, "missing.UDF" },
        { { PX10_DICTIONARY_FILE, "1", udf, udf }, "same file as the input" },
        { { PX10_DICTIONARY_FILE, "1", dir.filePath("link.pdf"), udf }, "same file as the input" },
        { { mld, "1", mld, udf }, "same file as the input" },
        { { PX10_DICTIONARY_FILE, "1", dir.filePath("pipe.pdf") }, "must be a file" },
        { { PX10_DICTIONARY_FILE, "1", "/dev/stdout" }, "must be a file" },
    };
    // Each entry's name, link target and time (a pipe is not opened).
    const auto folder = [&] {
        QString state;
        for (const QFileInfo& e :
            QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            state += e.fileName() + e.symLinkTarget() + e.lastModified().toString(Qt::ISODateWithMs) + "\n";
        return state.toStdString();
    };
    for (const auto& [arguments, named] : refused) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const std::string before = folder();
        const auto [code, errors] = run(arguments);
        EXPECT_EQ(code, 1);
        EXPECT_TRUE(errors.contains(named)) << errors.toStdString();
        EXPECT_EQ(folder(), before);
    }
}

#endif

} // namespace

namespace {

// A report of the layer alone: `rows` lines and a summary band.
class TestReport : public TReport {
public:
    TestReport(unsigned rows, double summaryHeight)
        : TReport("test", rows)
    {
        Title.Height = 10;
        AddStandardBands(*this, "Test");
        Detail.Height = 10;
        AddColumn("Line", 0, 0, TAlign::Left, [](const TPrintRun& run, std::string& value, TFontSpec&) {
            value = "line " + std::to_string(run.RecNo);
        });
        Summary.Height = summaryHeight;
        TLabel total;
        total.OnPrint = [](const TPrintRun& run, std::string& value, TFontSpec&) {
            value = "total " + std::to_string(run.RecNo);
        };
        Summary.Labels.push_back(total);
    }
};

TEST(ReportLayer, EmptyReportsPrintOnePageAndTheSummaryFollowsTheLastRow)
{
    TPX10ConfigData config(false, false, true, false);
    const auto none = TestReport(0, 10).BuildPages(config, {});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(PageLines(none[0]), (std::vector<QString> { "Test", "total 0", "NEW FILE" }));

    // 26 lines fill the first page (10 mm title, 6 mm footer, 277 mm in
    // all): a summary of 10 mm no longer fits and starts the next page.
    const auto full = TestReport(26, 10).BuildPages(config, {});
    ASSERT_EQ(full.size(), 2u);
    EXPECT_EQ(PageLines(full[0]).at(26), "line 26");
    EXPECT_EQ(PageLines(full[1]), (std::vector<QString> { "total 26", "NEW FILE" }));
    EXPECT_EQ(TestReport(25, 10).BuildPages(config, {}).size(), 1u);
}

TEST(ReportLayer, TextsBreakAtBlanksAfterCommasSlashesHyphensPeriodsAndInsideAWordTooLong)
{
    const TFontSpec f;
    auto wrap
        = [&](const char* text, const char* fits) { return WrapText(text, f, TextWidth(fits, f) + 0.01); };
    EXPECT_EQ(wrap("1,3,5,7", "1,3,5,"), (std::vector<QString> { "1,3,5,", "7" }));
    // A word is cut only where none of these offers a break.
    EXPECT_EQ(wrap("Zone 1,Zone 22,Zone 333", "Zone 1,Zone 22,Zo"),
        (std::vector<QString> { "Zone 1,Zone 22,", "Zone 333" }));
    EXPECT_EQ(wrap("Fire Output/Transfer", "Fire Output/Trans"),
        (std::vector<QString> { "Fire Output/", "Transfer" }));
    EXPECT_EQ(wrap("Two-Zone.Alarm", "Two-Zone.Al"), (std::vector<QString> { "Two-Zone.", "Alarm" }));
    // A French colon, a lone dash: kept with the word before them.
    EXPECT_EQ(wrap("Limite des communications tiers :", "Limite des communications tiers"),
        (std::vector<QString> { "Limite des communications", "tiers :" }));
    EXPECT_EQ(wrap("(B01) - Fixed", "(B01) -"), (std::vector<QString> { "(B01) -", "Fixed" }));
    EXPECT_EQ(wrap("Zone Disable, Device Disable", "Zone Disable, Device"),
        (std::vector<QString> { "Zone Disable, Device", "Disable" }));
    EXPECT_EQ(wrap("CBE:(1) 1,3", "CBE:(1)"), (std::vector<QString> { "CBE:(1)", "1,3" }));
    EXPECT_EQ(wrap("WWWWW ab", "WW"), (std::vector<QString> { "WW", "WW", "W", "ab" }));
    EXPECT_EQ(wrap("short", "short"), (std::vector<QString> { "short" }));
}

// Rows of 10 mm with a centred column 30 mm wide whose every third text takes
// three lines.
class WrappingReport : public TReport {
public:
    WrappingReport()
        : TReport("wrapping", 45)
    {
        Title.Height = 10;
        AddStandardBands(*this, "Test");
        Detail.Height = 10;
        AddColumn("Text", 0, 30, TAlign::Center, [](const TPrintRun& run, std::string& value, TFontSpec&) {
            value = run.RecNo % 3 ? "row" : "Alarm(ALL), Fault(ALL), Controls";
        });
        AddColumn("Number", 100, 0, TAlign::Left,
            [](const TPrintRun& run, std::string& value, TFontSpec&) { value = std::to_string(run.RecNo); });
    }
};

TEST(ReportLayer, ARowGrowsToItsTallestCellAndPagesBreakBetweenRows)
{
    TPX10ConfigData config(false, false, true, false);
    const auto pages = WrappingReport().BuildPages(config, {});
    // Unwrapped, 45 rows of 10 mm fill two pages (261 mm below the title,
    // 271 mm on the next). Rows 3, 6, ... grow by two lines (8.13 mm): the
    // first page ends with row 20, as row 21 no longer fits whole, and the
    // 25 rows left need a third page.
    EXPECT_EQ(pages.size(), 3u);
    const auto firstPage = PageLines(pages.at(0));
    EXPECT_EQ(firstPage.at(firstPage.size() - 2).toStdString(), "row 20");
    const double line = LineHeight({});
    int rows = 0;
    for (const TPage& page : pages) {
        double expectedTop = -1;
        for (std::size_t i = 0; i < page.Texts.size(); ++i) {
            const TPlacedText& t = page.Texts[i];
            if (t.Rect.left() != Margin + 100)
                continue;
            // A row's number, then the lines of its text on the same page.
            ++rows;
            if (expectedTop >= 0) {
                EXPECT_NEAR(t.Rect.top(), expectedTop, 1e-6) << t.Text.toStdString();
            }
            const bool wrapped = t.Text.toInt() % 3 == 0;
            expectedTop = t.Rect.top() + 10 + (wrapped ? 2 * line : 0);
            EXPECT_LE(expectedTop, PageHeight - Margin - 6 + 1e-6);
            QString text;
            for (std::size_t j = 0; j < page.Texts.size(); ++j)
                if (page.Texts[j].Rect.left() == Margin && page.Texts[j].Rect.top() >= t.Rect.top() - 1e-6
                    && page.Texts[j].Rect.top() < expectedTop - 1e-6)
                    text += page.Texts[j].Text + "|";
            EXPECT_EQ(text.toStdString(), wrapped ? "Alarm(ALL),|Fault(ALL),|Controls|" : "row|");
        }
    }
    EXPECT_EQ(rows, 45);
}

} // namespace
