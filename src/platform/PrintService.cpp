#include "PrintService.h"

#include <cups/cups.h>

#include <memory>

namespace platform {

namespace {

struct IppDelete {
    void operator()(ipp_t* p) const { ippDelete(p); }
};

bool Failed(ipp_status_t status)
{
    return status > IPP_STATUS_OK_EVENTS_COMPLETE;
}

std::string LastErrorText()
{
    const char* text = cupsLastErrorString();
    return text && *text ? text : ippErrorString(cupsLastError());
}

ipp_t* PrinterRequest(const std::string& printer)
{
    // Jobs go to the queue without its instance, as Qt hands them over.
    const std::string queue = printer.substr(0, printer.find('/'));
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
        "/printers/%s", queue.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const wanted[]
        = { "printer-is-accepting-jobs", "printer-state-message", "printer-state-reasons" };
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    return request;
}

std::string RefusalReason(ipp_t* response)
{
    if (ipp_attribute_t* a = ippFindAttribute(response, "printer-state-message", IPP_TAG_ZERO))
        if (const char* message = ippGetString(a, 0, nullptr); message && *message)
            return message;
    std::string reasons;
    if (ipp_attribute_t* a = ippFindAttribute(response, "printer-state-reasons", IPP_TAG_ZERO))
        for (int i = 0; i < ippGetCount(a); ++i)
            if (const std::string r = ippGetString(a, i, nullptr); !r.empty() && r != "none")
                reasons += (reasons.empty() ? "" : ", ") + r;
    return reasons;
}

} // namespace

TPrinterStatus AskPrinter(const std::string& printer)
{
    TPrinterStatus status;
    status.Server = cupsServer();
    const std::unique_ptr<ipp_t, IppDelete> response(cupsDoRequest(CUPS_HTTP_DEFAULT,
        printer.empty() ? ippNewRequest(IPP_OP_CUPS_GET_DEFAULT) : PrinterRequest(printer), "/"));
    if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return status;
    status.ServiceAnswers = true;
    if (!response || printer.empty() || Failed(cupsLastError()))
        return status;
    ipp_attribute_t* accepting
        = ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    if (accepting && !ippGetBoolean(accepting, 0)) {
        status.AcceptsJobs = false;
        status.Reason = RefusalReason(response.get());
    }
    return status;
}

std::string LastRequestRefusal()
{
    return Failed(cupsLastError()) ? LastErrorText() : std::string();
}

} // namespace platform
