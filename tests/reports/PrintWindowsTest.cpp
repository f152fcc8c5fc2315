// The print selection, printer setup and print preview windows, printing
// through a recorder instead of a printer.
#include "Exception.h"
#include "LayoutFault.h"
#include "PX10ConfigData.h"
#include "Pageselectionframe.h"
#include "Previewpageframe.h"
#include "Printersetup.h"
#include "Printpreviewform.h"
#include "Printselectionform.h"
#include "ShippedLanguages.h"
#include "Spincontrol.h"
#include "support/FakePrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <csignal>

using namespace report;

namespace {

struct PrintWindows : ::testing::Test {
    TPX10ConfigData Config { false, false, true, false };
    TReportForms Forms;
    TReportSource Source = [this] { return TReportInput { &Config, {} }; };
    struct Job {
        std::vector<TPage> Pages;
        TPrintSettings Settings;
    };
    std::vector<Job> Jobs;
    TPrintPages Recorder = [this](const std::vector<TPage>& p, const TPrintSettings& s) {
        Jobs.push_back({ p, s });
    };
    QStringList Printers { "Alpha", "Beta", "Gamma" };
};

TEST_F(PrintWindows, SelectionPrintsTheCheckedReportsAsOneJob)
{
    TfrmPrintSelection dlg(Forms, Source);
    dlg.PrintPages = Recorder;
    dlg.SetPrinterName("Beta");
    dlg.SetCopies(3);
    dlg.show();
    QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
    ASSERT_EQ(Jobs.size(), 1u);
    EXPECT_EQ(Jobs[0].Pages.size(), 12u);
    EXPECT_EQ(Jobs[0].Settings.PrinterName, "Beta");
    EXPECT_EQ(Jobs[0].Settings.Copies, 3);
    EXPECT_EQ(Jobs[0].Settings.Title, "PX1x/2x Configuration Data");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.isEnabled());

    // Sensors and modules only: the job holds them in that order.
    for (TReportKind k :
        { TReportKind::Panel, TReportKind::Zones, TReportKind::OnboardOutputs, TReportKind::CBERules })
        dlg.Box(k)->setChecked(false);
    const auto chosen = dlg.ChosenReports();
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0]->Name(), "frmReportSensors");
    EXPECT_EQ(chosen[1]->Name(), "frmReportModules");

    // Until a printer is chosen, the system's current one: without a default,
    // the first it lists; without printers, none.
    TfrmPrintSelection fresh(Forms, Source);
    fresh.PrintPages = Recorder;
    fresh.Printers = [this] { return TSystemPrinters { Printers, "" }; };
    fresh.PrintChosen();
    EXPECT_EQ(Jobs.back().Settings.PrinterName, "Alpha");
    EXPECT_EQ(TSystemPrinters {}.Current(), "");
}

TEST_F(PrintWindows, EveryBoxAndPictureChoosesItsOwnReport)
{
    TfrmPrintSelection dlg(Forms, Source);
    dlg.show();
    // Two columns, read down the left one first, in tab order.
    QWidget* w = dlg.Box(TReportKind::Panel);
    QStringList shown;
    for (int i = 0; i < ReportKindCount; ++i, w = w->nextInFocusChain())
        shown << static_cast<QCheckBox*>(w)->text();
    EXPECT_EQ(shown,
        QStringList({ "Panel Setup Options", "Zone Descriptions", "Loop Sensors", "Loop Modules",
            "Onboard Output Settings", "CBE Rules" }));
    EXPECT_EQ(dlg.Box(TReportKind::Sensors)->x(), dlg.Box(TReportKind::Panel)->x());
    EXPECT_GT(dlg.Box(TReportKind::Modules)->x(), dlg.Box(TReportKind::Sensors)->x());

    TfrmPrintPreview preview(Forms, Source);
    preview.show();
    for (int k = 0; k < ReportKindCount; ++k) {
        const TReport& report = Forms.Of(TReportKind(k));
        for (QCheckBox* c : dlg.findChildren<QCheckBox*>())
            c->setChecked(c == dlg.Box(TReportKind(k)));
        EXPECT_EQ(dlg.ChosenReports(), std::vector<const TReport*> { &report }) << k;
        if (k != 0)
            QTest::mouseClick(preview.PageSelect->Picture(k), Qt::LeftButton, {}, QPoint(10, 10));
        const auto& pages = preview.PreviewPage()->qrpPageDisplay->Pages();
        ASSERT_FALSE(pages.empty()) << k;
        EXPECT_EQ(PageLines(pages.front()), PageLines(report.BuildPages(Config, {}).front())) << k;
    }
}

TEST_F(PrintWindows, NoReportChosenStartsNoJob)
{
    TfrmPrintSelection dlg(Forms, Source);
    dlg.PrintPages = Recorder;
    for (QCheckBox* c : dlg.findChildren<QCheckBox*>())
        c->setChecked(false);
    dlg.show();
    QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
    EXPECT_TRUE(Jobs.empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}

// Points libcups, and Qt's printing through it, at `server` for the scope.
struct UsePrintServer {
    explicit UsePrintServer(const QString& server) { cupsSetServer(server.toLocal8Bit()); }
    ~UsePrintServer() { cupsSetServer(nullptr); }
};

TEST_F(PrintWindows, AFailedPrintShowsTheErrorAndLeavesTheDialogUsable)
{
    FakePrompts prompts;
    prompts.Answer(platform::mrOk);
    TfrmPrintSelection dlg(Forms, Source);
    dlg.PrintPages = [](const std::vector<TPage>&, const TPrintSettings&) {
        throw Exception("Printing could not be started", "Gone");
    };
    dlg.show();
    QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
    ASSERT_EQ(prompts.Log.size(), 1u);
    EXPECT_NE(prompts.Log[0].Text.find("Printing could not be started."), std::string::npos);
    EXPECT_NE(prompts.Log[0].Text.find("Gone"), std::string::npos);
    EXPECT_TRUE(dlg.isEnabled());
    EXPECT_TRUE(dlg.isVisible());
    // A print service that is down is not taken for no printer.
    UsePrintServer down("/nonexistent/cups.sock");
    dlg.PrintPages = PrintOnPrinter;
    QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
    ASSERT_EQ(prompts.Log.size(), 2u);
    EXPECT_EQ(prompts.Log[1].Text.rfind("The print service cannot be reached.", 0), 0u);
    EXPECT_NE(prompts.Log[1].Text.find("/nonexistent/cups.sock"), std::string::npos);
    dlg.PrintPages = Recorder;
    QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
    EXPECT_EQ(Jobs.size(), 1u);
}

// A print service of the test's own in a temporary folder ("@"): "Office"
// takes jobs, "Closed" rejects them, "Locked" refuses them once handed over.
const char* const PrintServiceFiles[][2] = {
    { "cupsd.conf", "Listen @/cups.sock\n" },
    { "cups-files.conf",
        "ServerRoot @\nRequestRoot @/spool\nCacheDir @\nStateDir @\n"
        "ErrorLog stderr\nAccessLog @/log\nPageLog @/log\n" },
    { "printers.conf",
        "<Printer Office>\n</Printer>\n<Printer Locked>\nAllowUser nobody-here\n</Printer>\n"
        "<Printer Closed>\nAccepting No\nStateMessage Out of paper\n</Printer>\n" },
};

// cupsd run for a test; it dies with the test, also when the test crashes.
struct PrivatePrintService {
    QTemporaryDir Dir;
    QProcess Daemon; // killed when it goes, before Dir
    std::string Unavailable; // why it does not listen; empty once it does

    PrivatePrintService()
    {
        for (const auto& [name, text] : PrintServiceFiles) {
            QFile f(Dir.filePath(name));
            if (f.open(QIODevice::WriteOnly))
                f.write(QByteArray(text).replace("@", Dir.path().toLocal8Bit()));
        }
        Daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        Daemon.start("/usr/sbin/cupsd",
            { "-f", "-c", Dir.filePath("cupsd.conf"), "-s", Dir.filePath("cups-files.conf") });
        for (int tries = 250; tries > 0 && !QFile::exists(Server()); --tries)
            Daemon.waitForFinished(20);
        if (!QFile::exists(Server()))
            Unavailable = "cupsd (Debian's cups-daemon) did not start: "
                + (Daemon.errorString() + "\n" + Daemon.readAllStandardError()).toStdString();
    }
    QString Server() const { return Dir.filePath("cups.sock"); }
    // The jobs whose document it took.
    int Jobs() const { return int(QDir(Dir.filePath("spool")).entryList({ "d*" }).size()); }
};

TEST_F(PrintWindows, APrintTheServiceRefusesSaysWhyAndLeavesNoJob)
{
    PrivatePrintService service;
    if (!service.Unavailable.empty())
        GTEST_SKIP() << service.Unavailable;
    UsePrintServer server(service.Server());
    // The printer, and how the message starts (none: printed).
    const std::pair<const char*, std::string> cases[] = {
        { "Closed", "The print system refused the job. Nothing was printed.\nClosed\nOut of paper" },
        { "Locked", "The print system refused the job. Nothing was printed.\nLocked\n" },
        { "No Such Printer 4711", "The printer is not available.\nNo Such Printer 4711" },
        { "Office", "" },
    };
    for (const auto& [printer, message] : cases) {
        SCOPED_TRACE(printer);
        FakePrompts prompts;
        prompts.Answer(platform::mrOk);
        TfrmPrintSelection dlg(Forms, Source);
        dlg.SetPrinterName(printer);
        dlg.show();
        QTest::mouseClick(dlg.btnOK, Qt::LeftButton);
        EXPECT_EQ(service.Jobs(), message.empty() ? 1 : 0);
        ASSERT_EQ(prompts.Log.size(), message.empty() ? 0u : 1u);
        for (const auto& shown : prompts.Log)
            EXPECT_EQ(shown.Text.substr(0, message.size()), message);
    }
}

TEST_F(PrintWindows, PrinterSetupKeepsThePrinterByNameAndCopiesInRange)
{
    TfrmPrintSelection selection(Forms, Source);
    selection.SetPrinterName("Alpha");
    selection.Printers = [this] { return TSystemPrinters { Printers, "Gamma" }; };
    TfrmPrintSetup setup(selection);
    setup.show();
    EXPECT_EQ(setup.cboPrinterSelect->count(), 3);
    EXPECT_EQ(setup.cboPrinterSelect->currentText(), "Alpha");
    EXPECT_EQ(setup.cseCopies->GetValue(), 1);
    setup.cboPrinterSelect->setCurrentIndex(1);
    setup.cseCopies->SetValue(3);
    QTest::mouseClick(setup.btnOK, Qt::LeftButton);
    EXPECT_EQ(selection.GetPrinterName(), "Beta");
    EXPECT_EQ(selection.GetCopies(), 3);

    // A printer added before it does not shift the choice.
    Printers.prepend("Aardvark");
    setup.show();
    EXPECT_EQ(setup.cboPrinterSelect->currentText(), "Beta");
    EXPECT_EQ(setup.cseCopies->GetValue(), 3);
    // A typed name that is no printer keeps the previous one.
    setup.cboPrinterSelect->setEditText("Nowhere");
    QTest::mouseClick(setup.btnOK, Qt::LeftButton);
    EXPECT_EQ(selection.GetPrinterName(), "Beta");

    // Cancel and Esc change nothing.
    setup.show();
    setup.cboPrinterSelect->setCurrentIndex(0);
    setup.cseCopies->SetValue(9);
    QTest::mouseClick(setup.btnCancel, Qt::LeftButton);
    setup.show();
    setup.cboPrinterSelect->setCurrentIndex(3);
    QTest::keyClick(&setup, Qt::Key_Escape);
    EXPECT_EQ(selection.GetPrinterName(), "Beta");
    EXPECT_EQ(selection.GetCopies(), 3);

    // Copies 1 to 999 only.
    setup.show();
    setup.cseCopies->SetValue(5000);
    EXPECT_EQ(setup.cseCopies->GetValue(), 999);
    setup.cseCopies->SetValue(0);
    EXPECT_EQ(setup.cseCopies->GetValue(), 1);
    selection.SetCopies(0);
    EXPECT_EQ(selection.GetCopies(), 1);
    EXPECT_EQ(setup.cboPrinterSelect->accessibleName(), "Printer");
}

TEST_F(PrintWindows, PreviewChoosesReportsAndClampsThePage)
{
    TfrmPrintPreview preview(Forms, Source);
    preview.PrintPages = Recorder;
    preview.Printers = [] { return TSystemPrinters { { "Other", "System" }, "System" }; };
    preview.show();
    TfrmPageSelection* pages = preview.PageSelect;
    EXPECT_EQ(pages->Tag, 0);
    TfrmPreviewPage* page = preview.PreviewPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->qrpPageDisplay->PageCount(), 2);
    EXPECT_EQ(page->qrpPageDisplay->Zoom(), TPageDisplay::TZoom::ToWidth);

    // Typing 500 into the page control of a two-page report.
    page->PageSpinEdit->SetValue(500);
    page->PageSpinEditChange();
    EXPECT_EQ(page->qrpPageDisplay->PageNumber(), 1);
    EXPECT_EQ(page->PageSpinEdit->GetValue(), 1);
    page->PageSpinEdit->SetValue(2);
    page->PageSpinEditChange();
    EXPECT_EQ(page->qrpPageDisplay->PageNumber(), 2);
    QTest::mouseClick(page->btnZoomToFit, Qt::LeftButton);
    EXPECT_EQ(page->qrpPageDisplay->Zoom(), TPageDisplay::TZoom::ToFit);

    // The same picture again, a right click, a release outside: nothing.
    pages->PageSelectClick(0, Qt::LeftButton, { 5, 5 });
    pages->PageSelectClick(5, Qt::RightButton, { 5, 5 });
    pages->PageSelectClick(5, Qt::LeftButton, { 5, 500 });
    EXPECT_EQ(preview.PreviewPage(), page);
    // Another picture: the modules, from page 1, zoomed to width.
    QTest::mouseClick(pages->Picture(5), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(pages->Tag, 5);
    page = preview.PreviewPage();
    EXPECT_EQ(page->qrpPageDisplay->PageCount(), 4);
    EXPECT_EQ(page->qrpPageDisplay->PageNumber(), 1);
    EXPECT_EQ(page->qrpPageDisplay->Zoom(), TPageDisplay::TZoom::ToWidth);

    // Print: the whole report on the system's printer.
    QTest::mouseClick(page->btnPrint, Qt::LeftButton);
    ASSERT_EQ(Jobs.size(), 1u);
    EXPECT_EQ(Jobs[0].Pages.size(), 4u);
    EXPECT_EQ(Jobs[0].Settings.PrinterName, "System");
    // Without a default, the first printer the system lists.
    preview.Printers = [] { return TSystemPrinters { { "Other", "System" }, "" }; };
    QTest::mouseClick(page->btnPrint, Qt::LeftButton);
    EXPECT_EQ(Jobs.back().Settings.PrinterName, "Other");

    QTest::mouseClick(page->btnClose, Qt::LeftButton);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(preview.PreviewPage(), nullptr);
    EXPECT_EQ(pages->Tag, -1);
    // Opened again: the panel setup options afresh.
    preview.show();
    EXPECT_EQ(pages->Tag, 0);
    EXPECT_EQ(preview.PreviewPage()->qrpPageDisplay->PageCount(), 2);
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_EQ(preview.PreviewPage(), nullptr);
}

// Whether any pixel of the rectangle stands out from the background.
bool Ink(const QImage& image, const QRect& r, QColor background)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (std::abs(qGray(image.pixel(x, y)) - qGray(background.rgb())) > 60)
                return true;
    return false;
}

// No word cut: every line ends at a blank or after a hyphen or slash.
void ExpectNoWordCut(const QString& caption, const QStringList& lines)
{
    EXPECT_EQ(LayoutFault(caption, { lines.begin(), lines.end() }), "") << caption.toStdString();
}

TEST(PageSelection, CaptionsReadWholeInTheLongestTranslations)
{
    TfrmPageSelection frame;
    frame.resize(frame.minimumSize());
    const QList<QLabel*> labels = frame.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), TfrmPageSelection::PictureCount);
    const QString captions[] = { QString::fromUtf8("Zentraleneinstellungen"),
        QString::fromUtf8("Options de configuration de la centrale"),
        QString::fromUtf8("Einstellungen der Zentralenausgänge") };
    for (const QString& caption : captions) {
        QLabel* label = labels.front();
        label->setText(caption);
        QImage image(label->size(), QImage::Format_RGB32);
        const QColor background = frame.palette().color(frame.backgroundRole());
        image.fill(background);
        label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const int w = image.width(), h = image.height();
        // Text, and none of it cut at the left, right or bottom edge.
        EXPECT_TRUE(Ink(image, image.rect(), background)) << caption.toStdString();
        EXPECT_FALSE(Ink(image, QRect(0, 0, 1, h), background)) << caption.toStdString();
        EXPECT_FALSE(Ink(image, QRect(w - 1, 0, 1, h), background)) << caption.toStdString();
        EXPECT_FALSE(Ink(image, QRect(0, h - 1, w, 1), background)) << caption.toStdString();
        ExpectNoWordCut(caption, LayCaption(caption, label->font(), label->size()).Lines);
    }
}

// Each caption of the preview's page column laid out whole, at the captions'
// own size (no smaller font), with no word cut; the column's width.
int ExpectCaptionsAtTheirSize(TfrmPrintPreview& preview)
{
    QApplication::processEvents();
    const QList<QLabel*> labels = preview.PageSelect->findChildren<QLabel*>();
    EXPECT_EQ(labels.size(), TfrmPageSelection::PictureCount);
    for (const QLabel* label : labels) {
        const TCaptionLayout laid = LayCaption(label->text(), label->font(), label->size());
        EXPECT_EQ(laid.Font.pointSizeF(), label->font().pointSizeF()) << label->text().toStdString();
        ExpectNoWordCut(label->text(), laid.Lines);
    }
    return preview.pnlPages->width();
}

TEST_F(PrintWindows, PageCaptionsReadAtTheirSizeInEveryLanguage)
{
    ForEachShippedLanguage([&](const std::string& language) {
        SCOPED_TRACE(language);
        TfrmPrintPreview preview(Forms, Source);
        preview.show();
        EXPECT_GE(ExpectCaptionsAtTheirSize(preview), 113);
        EXPECT_LE(preview.minimumSizeHint().width(), 800);
    });
}

#ifdef PX10_DICTIONARY_FILE
TEST_F(PrintWindows, PageColumnFollowsTheLanguage)
{
    TIvBinaryDictionary dictionary;
    dictionary.SetFileName(PX10_DICTIONARY_FILE);
    dictionary.SetLanguage(1);
    dictionary.Open();
    TIvLanguage english, german;
    dictionary.GetLanguageData(1, english);
    dictionary.GetLanguageData(5, german);
    ASSERT_EQ(english.EnglishName, "English");
    ASSERT_EQ(german.EnglishName, "German");
    TfrmPrintPreview preview(Forms, Source);
    preview.show();
    EXPECT_EQ(ExpectCaptionsAtTheirSize(preview), 113);
    dictionary.SetLanguage(5);
    EXPECT_GT(ExpectCaptionsAtTheirSize(preview), 113);
    dictionary.SetLanguage(1);
    EXPECT_EQ(ExpectCaptionsAtTheirSize(preview), 113);
}
#endif

} // namespace
