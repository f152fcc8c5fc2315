#pragma once
// Printing the pages of the program's reports as one job.
#include "ReportCatalogue.h"

#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;

namespace report {

// What a report run reads: the configuration (null: none) and the context.
struct TReportInput {
    const TPX10ConfigData* Config = nullptr;
    TReportContext Context;
};
using TReportSource = std::function<TReportInput()>;

// The job title of every print.
std::string JobTitle();

struct TPrintSettings {
    QString PrinterName;
    int Copies = 1;
    QString Title;
};

// Lays out A4 portrait pages without margins on the device and draws them.
// Raises Exception when the device does not start printing.
void RenderPages(QPagedPaintDevice& device, const std::vector<TPage>& pages);
// Prints the pages on a printer of the system.
void PrintOnPrinter(const std::vector<TPage>& pages, const TPrintSettings& settings);
// Where the print windows send their pages: the system's printers, or a
// test's PDF writer.
using TPrintPages = std::function<void(const std::vector<TPage>&, const TPrintSettings&)>;

// What the system tells of its printers: their names in its order, and its
// default's name (empty when none is set, which a system with printers may be).
struct TSystemPrinters {
    QStringList Names;
    QString DefaultName;
    // The printer the system prints on: its default, or without one the
    // first it lists; empty when it has no printer.
    QString Current() const;
};
// Asked of the system's print service every time. The print windows ask
// through a TPrinterQuery, which tests answer without one.
TSystemPrinters QuerySystemPrinters();
using TPrinterQuery = std::function<TSystemPrinters()>;
QStringList SystemPrinterNames();

} // namespace report
