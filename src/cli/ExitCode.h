#pragma once
// What tollen-cli's exit status tells a script, and how a command ends.

#include <string>

namespace tollen::cli {

enum class ExitCode : int {
    Success = 0,
    /// Unknown command or option, a missing or malformed argument.
    Usage = 1,
    /// A source, settings or password file could not be read, or an output file not written.
    Unreadable = 2,
    NothingFound = 3,
    TransferFailed = 4,
    /// match: drivers were found for some devices only.
    PartlyFound = 5,
};

/// How a command ended: its exit code and, unless all went well, a one-line message for
/// standard error.
struct Outcome
{
    ExitCode code = ExitCode::Success;
    std::string message;
};

} // namespace tollen::cli
