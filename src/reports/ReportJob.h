#pragma once
// Printing the pages of the program's reports as one job.
#include "ReportCatalogue.h"

#include <QString>

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

// The names of the system's printers and its current (default) printer.
QStringList SystemPrinterNames();
QString SystemDefaultPrinterName();

} // namespace report
