#pragma once
// The main window's printing: File, Print Preview, Print and Printer Setup,
// with their windows made when first used.
#include "ReportJob.h"

#include <QList>

#include <memory>

class QAction;
class QWidget;
class TfrmPrintSelection;
class TfrmPrintSetup;
class TfrmPrintPreview;

class TPrintWindows {
public:
    TPrintWindows(QWidget* parent, report::TReportSource source);
    ~TPrintWindows();

    void FilePrintExecute();
    void FilePrintPreviewExecute();
    void FilePrinterSetupExecute();
    // The printing actions are enabled only while the system has a printer.
    void UpdateActions(const QList<QAction*>& actions) const;

    // The system's printers; tests name their own.
    std::function<QStringList()> PrinterNames = report::SystemPrinterNames;

    TfrmPrintSelection& PrintSelection();
    TfrmPrintSetup& PrintSetup();
    TfrmPrintPreview& PrintPreview();

private:
    QWidget* FParent;
    report::TReportSource FSource;
    std::unique_ptr<report::TReportForms> FForms;
    std::unique_ptr<TfrmPrintSelection> FSelection;
    std::unique_ptr<TfrmPrintSetup> FSetup;
    std::unique_ptr<TfrmPrintPreview> FPreview;
};
