#pragma once
// What the benchmarks share: running a measured program as a child process of its own, so that
// its time and peak memory are its own.

#include <string>
#include <vector>

namespace tollen::bench {

struct ChildRun
{
    /// Everything the child wrote to its standard output.
    std::string output;
    /// From the start of the child to its end.
    double wallSeconds = 0;
    long peakKilobytes = 0;
    /// The processor time the child used, its own and the system's for it.
    double cpuSeconds = 0;
    /// How many of the machine's processors were busy on average while the child ran, with
    /// whatever else ran then (a server it talked to).
    double busyCores = 0;
    /// The child started and exited with status 0.
    bool ok = false;
};

/// Runs a program (the first argument, a path) without a shell to its end.
ChildRun runChild(const std::vector<std::string> &arguments);

} // namespace tollen::bench
