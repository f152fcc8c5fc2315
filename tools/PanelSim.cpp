// px10-panel-sim: a panel on a pseudo-terminal, for trying the program by hand.
// Prints the terminal's path (point PX10_COM1 or the port setting at it) and
// answers as a panel does: detection, identification, passcode, configuration
// send and receive, event log and device data; logs each request. With --echo
// it answers every request with the request code + 1 and no data instead.
#include "support/PanelRecords.h"
#include "support/SimulatedPanel.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

void Usage()
{
    std::fprintf(stderr,
        "usage: px10-panel-sim [--baud N] [--delay MS] [--quiet] [--echo]\n"
        "                      [--type CODE] [--firmware N] [--passcode N] [--events N]\n"
        "  --baud N      pace replies as a line at N baud would\n"
        "  --delay MS    answer each request MS milliseconds late\n"
        "  --quiet       do not log requests\n"
        "  --echo        answer every request with code + 1 and no data\n"
        "  --type CODE   panel type code of the identification (default 301, a PX10)\n"
        "  --firmware N  firmware number, e.g. 703 for 7.03 (default)\n"
        "  --passcode N  the level 3 passcode the panel accepts (default: any)\n"
        "  --events N    events in the panel's log (default 25)\n");
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02X ", c);
        out += b;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    unsigned baud = 0;
    int delayMs = 0;
    bool quiet = false;
    bool echo = false;
    std::string type = "301";
    int firmware = 703;
    int passcode = -1;
    int events = 25;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--baud") && i + 1 < argc)
            baud = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (!std::strcmp(argv[i], "--delay") && i + 1 < argc)
            delayMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--quiet"))
            quiet = true;
        else if (!std::strcmp(argv[i], "--echo"))
            echo = true;
        else if (!std::strcmp(argv[i], "--type") && i + 1 < argc)
            type = argv[++i];
        else if (!std::strcmp(argv[i], "--firmware") && i + 1 < argc)
            firmware = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--passcode") && i + 1 < argc)
            passcode = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--events") && i + 1 < argc)
            events = std::max(0, std::min(65535, std::atoi(argv[++i])));
        else {
            Usage();
            return 2;
        }
    }

    // Block the stop signals before the panel's thread starts, then wait for them here.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    try {
        SimulatedPanel panel;
        panel.SetBaudRate(baud);
        SimulatedPanel::Faults faults;
        faults.DelayMs = delayMs;
        panel.SetFaults(faults);
        PanelRecords records;
        std::mutex out;
        if (echo) {
            for (int command = 0; command < 256; ++command) {
                panel.SetHandler(static_cast<uint8_t>(command), [&, quiet](const SimulatedPanel::Request& r) {
                    if (!quiet) {
                        std::lock_guard<std::mutex> lock(out);
                        std::printf("request %02X data [%s]\n", r.Command, Hex(r.Data).c_str());
                        std::fflush(stdout);
                    }
                    return std::optional<SimulatedPanel::Reply>(
                        SimulatedPanel::Reply { static_cast<uint8_t>(r.Command + 1), {} });
                });
            }
        } else {
            panel.EnableConfigPanel();
            panel.SetIdentification(SimulatedPanel::MakeIdentification(type, firmware));
            panel.SetPasscode(passcode);
            std::vector<PanelRecords::Event> log;
            for (int i = 0; i < events; ++i)
                log.push_back(PanelRecords::MakeEvent(i));
            records.SetEvents(log);
            records.Install(panel);
        }
        std::printf("%s\n", panel.SlavePath().c_str());
        std::fflush(stdout);
        // The panel answers on its own thread; the log is printed from here.
        std::size_t shown = 0;
        const timespec poll { 0, 200'000'000 };
        while (sigtimedwait(&stop, nullptr, &poll) < 0) {
            if (echo || quiet)
                continue;
            const auto requests = panel.Requests();
            for (; shown < requests.size(); ++shown)
                std::printf(
                    "request %02X data [%s]\n", requests[shown].Command, Hex(requests[shown].Data).c_str());
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "px10-panel-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
