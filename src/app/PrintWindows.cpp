#include "PrintWindows.h"

#include "Printersetup.h"
#include "Printpreviewform.h"
#include "Printselectionform.h"

#include <QAction>

TPrintWindows::TPrintWindows(QWidget* parent, report::TReportSource source)
    : FParent(parent)
    , FSource(std::move(source))
{
}

TPrintWindows::~TPrintWindows() = default;

TfrmPrintSelection& TPrintWindows::PrintSelection()
{
    if (!FForms)
        FForms = std::make_unique<report::TReportForms>();
    if (!FSelection)
        FSelection = std::make_unique<TfrmPrintSelection>(*FForms, FSource, FParent);
    return *FSelection;
}

TfrmPrintSetup& TPrintWindows::PrintSetup()
{
    if (!FSetup)
        FSetup = std::make_unique<TfrmPrintSetup>(PrintSelection(), FParent);
    return *FSetup;
}

TfrmPrintPreview& TPrintWindows::PrintPreview()
{
    if (!FForms)
        FForms = std::make_unique<report::TReportForms>();
    if (!FPreview)
        FPreview = std::make_unique<TfrmPrintPreview>(*FForms, FSource, FParent);
    return *FPreview;
}

void TPrintWindows::FilePrintExecute()
{
    PrintSelection().exec();
}

void TPrintWindows::FilePrintPreviewExecute()
{
    PrintPreview().exec();
}

void TPrintWindows::FilePrinterSetupExecute()
{
    PrintSetup().exec();
}

void TPrintWindows::UpdateActions(const QList<QAction*>& actions) const
{
    const bool any = PrinterNames && !PrinterNames().isEmpty();
    for (QAction* a : actions)
        a->setEnabled(any);
}
