#pragma once
// A subject measured against its floor in one run, in alternation: every
// round times a batch of each, the one that goes first changing from round to
// round, so that whatever else the machine does falls on both alike. The
// summary gives the medians and, as the program's last lines, the median of
// the rounds' ratios against each goal.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace benchfloor {

struct Comparison {
    std::string Name;
    std::function<void()> Subject;
    std::function<void()> Floor;
    int Batch = 1; // runs of each per round
    int Rounds = 100; // rounds, one benchmark iteration each
    double Goal = 0; // ratio to stay within; 0 = none
    double GoalNs = 0; // time to stay within; 0 = none
    std::string FloorName = "floor";
};

// Registers the comparison as a Google Benchmark with manual time (the
// subject's), the floor's time and the ratio as counters.
void Register(Comparison comparison);

// For programs that measure the subject and its floor in one go (a paced
// transfer against its wire time): sums added up over the runs; their ratio
// joins the closing line.
void AddToRatio(const std::string& name, double subject, double floor);

// Prints one line per comparison: medians, spreads and the ratio; the last
// line holds every ratio.
void PrintSummary();

// Initialise, run, print the summary.
int Main(int argc, char** argv);

double Median(std::vector<double> values);

} // namespace benchfloor
