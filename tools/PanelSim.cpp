// px10-panel-sim: a panel on a pseudo-terminal, for trying the program by hand.
// Prints the terminal's path (point PX10_COM1 or the port setting at it) and
// answers every request with the request code + 1, logging each request.
#include "support/SimulatedPanel.h"

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
        "usage: px10-panel-sim [--baud N] [--delay MS] [--quiet]\n"
        "  --baud N   pace replies as a line at N baud would\n"
        "  --delay MS answer each request MS milliseconds late\n"
        "  --quiet    do not log requests\n");
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
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--baud") && i + 1 < argc)
            baud = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (!std::strcmp(argv[i], "--delay") && i + 1 < argc)
            delayMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--quiet"))
            quiet = true;
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
        std::mutex out;
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
        std::printf("%s\n", panel.SlavePath().c_str());
        std::fflush(stdout);
        int sig = 0;
        sigwait(&stop, &sig);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "px10-panel-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
