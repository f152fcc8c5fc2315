#pragma once
// The print selection: which of the six reports to print, as one job, with
// the printer and copies that the printer setup chooses.
#include "ReportJob.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

class TfrmPrintSelection : public QDialog {
    Q_OBJECT
public:
    TfrmPrintSelection(
        const report::TReportForms& forms, report::TReportSource source, QWidget* parent = nullptr);

    // The check box of a report.
    QCheckBox* Box(report::TReportKind kind) const { return FBoxes[std::size_t(kind)]; }
    QPushButton *btnOK, *btnCancel;

    // The job's copies and printer; the printer is kept by name, so printers
    // added or removed meanwhile do not shift the choice. Until the printer
    // setup chooses one, the job prints on the system's current printer.
    void SetCopies(int copies);
    int GetCopies() const { return FCopies; }
    void SetPrinterName(const QString& name) { FPrinterName = name; }
    QString GetPrinterName() const;

    // The checked reports in the job order.
    std::vector<const report::TReport*> ChosenReports() const;
    // Builds the chosen reports from the configuration and prints them as
    // one job; no job when none is chosen. Raises Exception on failure.
    void PrintChosen();

    // Where the pages go, and the printers there are (the system's unless a
    // test says otherwise); the printer setup lists the same.
    report::TPrintPages PrintPages = report::PrintOnPrinter;
    report::TPrinterQuery Printers = report::QuerySystemPrinters;
    // The printers' names as Printers gives them (none without it).
    QStringList PrinterNames() const { return Printers ? Printers().Names : QStringList(); }

private:
    void btnOKClick();

    const report::TReportForms& FForms;
    report::TReportSource FSource;
    std::array<QCheckBox*, report::ReportKindCount> FBoxes {};
    int FCopies = 1;
    QString FPrinterName; // empty: none chosen
};
