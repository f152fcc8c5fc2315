// All six reports printed to PDF and read back as text, as a user reads a
// printout: titles in the job order, a footer on every page, every line.
#include "Exception.h"
#include "ReportJob.h"
#include "support/FullConfiguration.h"

#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace report;

namespace {

// The text of each page of a PDF, by pdftotext.
QStringList PdfPages(const QString& path)
{
    QProcess p;
    p.start("pdftotext", { "-layout", path, "-" });
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed: " << p.errorString().toStdString();
        return {};
    }
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
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

TEST(ReportPdf, AnEmptyJobIsStillOneValidPageAndABadDeviceIsAnError)
{
    QTemporaryDir dir;
    TPX10ConfigData config(false, false, true, false);
    TReportForms forms;
    const QString path = dir.filePath("zones.pdf");
    {
        QPdfWriter pdf(path);
        RenderPages(pdf, forms.frmReportZoneText.BuildPages(config, {}));
    }
    const QStringList text = PdfPages(path);
    ASSERT_EQ(text.size(), 1);
    EXPECT_TRUE(text[0].contains("NEW FILE"));
    // A file that cannot be written: the painter does not start.
    QPdfWriter bad(dir.filePath("missing/folder/x.pdf"));
    EXPECT_THROW(RenderPages(bad, forms.frmReportZoneText.BuildPages(config, {})), Exception);
}

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

TEST(ReportLayer, AMissingPrinterIsAnErrorNamingIt)
{
    try {
        PrintOnPrinter({ TPage {} }, { "No Such Printer 4711", 1, "x" });
        FAIL() << "printed";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "The printer is not available");
        EXPECT_EQ(e.Detail(), "No Such Printer 4711");
    }
}

} // namespace
