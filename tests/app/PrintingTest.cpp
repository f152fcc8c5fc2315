// The main window's printing actions: enabled with a printer, and the reports
// built from the current configuration and its file.
#include "MainWindowFixture.h"
#include "Printselectionform.h"

#include <QAction>
#include <QPushButton>

namespace {

using Printing = MainWindowFixture;

TEST_F(Printing, ActionsFollowTheSystemsPrinters)
{
    Show();
    const QList<QAction*> actions { Main->FilePrintPreview, Main->FilePrint, Main->FilePrinterSetup };
    Main->PrinterNames = [] { return QStringList(); };
    Main->UpdatePrintActions();
    for (QAction* a : actions)
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    Main->PrinterNames = [] { return QStringList { "PDF" }; };
    Main->UpdatePrintActions();
    for (QAction* a : actions)
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(Printing, ReportsReadTheCurrentConfigurationAndItsFile)
{
    Show();
    const std::string file = Path("site.UDF");
    ConfigData->ZoneTexts->SetZoneText(1, "Reception");
    ConfigData->SaveToFile(file);
    Main->OpenConfigFile(file);
    TfrmPrintSelection& dlg = Main->Windows().PrintSelection();
    std::vector<report::TPage> printed;
    dlg.PrintPages
        = [&](const std::vector<report::TPage>& pages, const report::TPrintSettings&) { printed = pages; };
    dlg.show();
    dlg.btnOK->click();
    ASSERT_EQ(printed.size(), 12u);
    EXPECT_EQ(printed.front().Texts.back().Text.toStdString(), file);
    bool found = false;
    for (const auto& t : printed[2].Texts)
        found = found || t.Text == "Reception";
    EXPECT_TRUE(found);
}

} // namespace
