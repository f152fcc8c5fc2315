#pragma once
// The six report forms of the program and printing their pages as one job.
#include "Reportcberules.h"
#include "Reportmodule.h"
#include "Reportonboardosettings.h"
#include "Reportpanel.h"
#include "Reportsensor.h"
#include "Reportzonedescriptions.h"

#include <QString>

#include <array>
#include <functional>

class QPagedPaintDevice;

namespace report {

// The reports in the fixed order of a print job (which is not the order of
// the check boxes on the print selection).
enum class TReportKind { Panel, Zones, OnboardOutputs, CBERules, Sensors, Modules };
constexpr int ReportKindCount = 6;

class TReportForms {
public:
    TfrmReportPanel frmReportPanel;
    TfrmReportZoneText frmReportZoneText;
    TfrmReportOnboardOutputs frmReportOnboardOutputs;
    TfrmReportCBERules frmReportCBERules;
    TfrmReportSensors frmReportSensors;
    TfrmReportModules frmReportModules;

    const TReport& Of(TReportKind kind) const;
    // The chosen reports (indexed by TReportKind) in the job order.
    std::vector<const TReport*> Chosen(const std::array<bool, ReportKindCount>& chosen) const;
};

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
