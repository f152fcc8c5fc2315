#pragma once
// What the system's print service (CUPS, or the server that CUPS_SERVER
// names) answers. Qt hands a job over without telling whether the service
// took it, so the print code asks here before and after.
#include <string>

namespace platform {

// A printer as the print service sees it just before a job goes to it.
struct TPrinterStatus {
    bool ServiceAnswers = false;
    // False only when the service says that the printer takes no jobs.
    bool AcceptsJobs = true;
    // Why not, in the service's words: its state message, else its state
    // reasons. (libcups gives no usable reason for a service that does not
    // answer.)
    std::string Reason;
    // Where the service was asked (a host or a local socket).
    std::string Server;
};

// Asks about `printer`, a name as Qt lists it (an instance "/name" is
// ignored); an empty name asks only whether the service answers. A printer
// the service does not know is left to the job itself.
TPrinterStatus AskPrinter(const std::string& printer);

// The service's reason for refusing the last request that this thread made
// of it, which after a print is the job that Qt handed over; empty when the
// service took it.
std::string LastRequestRefusal();

} // namespace platform
