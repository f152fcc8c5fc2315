#include "ReportJob.h"

#include "Exception.h"
#include "Ivdictio.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace report {

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
    if (name.isEmpty())
        throw Exception("No printer is installed. Add a printer in the system's settings, then print again.");
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
