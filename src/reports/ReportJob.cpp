#include "ReportJob.h"

#include "Exception.h"
#include "Ivdictio.h"
#include "PrintService.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace report {

namespace {

Exception Refused(const QString& printer, const std::string& reason)
{
    return Exception("The print system refused the job. Nothing was printed.",
        reason.empty() ? printer.toStdString() : printer.toStdString() + "\n" + Translate(reason));
}

} // namespace

std::string JobTitle()
{
    return Translate("PX1x/2x Configuration Data");
}

void RenderPages(QPagedPaintDevice& device, const std::vector<TPage>& pages)
{
    // Our pages carry their own margins.
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device))
        throw Exception("Printing could not be started");
    const bool drawn = DrawPages(painter, device, pages);
    if (!painter.end() || !drawn)
        throw Exception("Printing failed");
}

void PrintOnPrinter(const std::vector<TPage>& pages, const TPrintSettings& settings)
{
    const QString name
        = settings.PrinterName.isEmpty() ? QuerySystemPrinters().Current() : settings.PrinterName;
    // A service that is down lists no printers, which must not read as none
    // installed.
    const platform::TPrinterStatus status = platform::AskPrinter(name.toStdString());
    if (!status.ServiceAnswers)
        throw Exception(
            "The print service cannot be reached. Start the print service (CUPS), then print again.",
            status.Server);
    if (name.isEmpty())
        throw Exception("No printer is installed. Add a printer in the system's settings, then print again.");
    if (!status.AcceptsJobs)
        throw Refused(name, status.Reason);
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        throw Exception("The printer is not available", name.toStdString());
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setCopyCount(settings.Copies);
    printer.setDocName(settings.Title);
    if (!printer.isValid())
        throw Exception("The printer is not available", name.toStdString());
    try {
        RenderPages(printer, pages);
    } catch (const Exception& e) {
        throw e.WithDetail(name.toStdString());
    }
    // Qt hands the job over as the last request of the print and keeps the
    // service's answer to itself.
    if (const std::string refusal = platform::LastRequestRefusal(); !refusal.empty())
        throw Refused(name, refusal);
}

QString TSystemPrinters::Current() const
{
    if (!DefaultName.isEmpty())
        return DefaultName;
    return Names.isEmpty() ? QString() : Names.front();
}

TSystemPrinters QuerySystemPrinters()
{
    return { QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName() };
}

QStringList SystemPrinterNames()
{
    return QuerySystemPrinters().Names;
}

} // namespace report
