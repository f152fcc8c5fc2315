#pragma once
// The print preview: six page pictures choose the report; its pages are
// built from the configuration when it is chosen and shown beside them.
#include "ReportJob.h"

#include <QDialog>

class QHBoxLayout;
class QLabel;
class TfrmPageSelection;
class TfrmPreviewPage;

class TfrmPrintPreview : public QDialog {
    Q_OBJECT
public:
    TfrmPrintPreview(
        const report::TReportForms& forms, report::TReportSource source, QWidget* parent = nullptr);

    QWidget* pnlPages;
    QLabel* pnlPreviewTitle;
    TfrmPageSelection* PageSelect;
    // The preview page shown, null when none.
    TfrmPreviewPage* PreviewPage() const { return frmPreviewPage; }

    // Where Print sends the report's pages, and the printers there are: it
    // prints on the system's current one, not the print selection's.
    report::TPrintPages PrintPages = report::PrintOnPrinter;
    report::TPrinterQuery Printers = report::QuerySystemPrinters;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Preview(int tag);
    void ClosePreviewPage();
    void PrintShown();

    const report::TReportForms& FForms;
    report::TReportSource FSource;
    QHBoxLayout* FLayout;
    TfrmPreviewPage* frmPreviewPage = nullptr;
};
