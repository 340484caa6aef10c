#pragma once
// The edge of every program: whatever its body throws ends as one line of message and an exit
// code, never as an abort without a word.

#include <exception>
#include <string>

namespace tollen {

/// Runs `body` (returning the exit code) and hands anything it throws to `report` as one line,
/// then returns `failureCode`.
template <class Body, class Report>
int runAtProgramEdge(Body &&body, Report &&report, int failureCode)
{
    try {
        return body();
    } catch (const std::exception &failure) {
        report(std::string("unexpected failure: ") + failure.what());
    } catch (...) {
        report(std::string("unexpected failure"));
    }
    return failureCode;
}

} // namespace tollen
