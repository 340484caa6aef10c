#pragma once
// tollen-index's command line: [--quiet | --verbose] [--rebuild] DBROOT, read by the same option
// rules as tollen-cli's (OptionTokens) from a table of its own, which also gives its help.

#include <span>
#include <string>

namespace tollen::cli {

enum class Verbosity { Quiet, Normal, Verbose };

struct IndexCommandLine
{
    enum class Action { Build, ShowHelp, ShowVersion, UsageError };
    Action action = Action::Build;
    /// The database root whose tree is built.
    std::string root;
    /// The last of --quiet and --verbose given counts.
    Verbosity verbosity = Verbosity::Normal;
    /// Read every package again, ignoring the last run.
    bool rebuild = false;
    /// The help or version text to print, or the usage error's message.
    std::string text;
};

/// "tollen-index <version>": what --version shows and the database's description records.
std::string indexProgramVersion();

/// Reads the arguments after the program name. --help wins over --version, and both over a
/// missing DBROOT; an unknown option or a second DBROOT is always an error.
IndexCommandLine parseIndexCommandLine(std::span<const std::string> arguments);

} // namespace tollen::cli
