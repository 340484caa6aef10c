#pragma once
// The commands and options tollen-cli knows (and the options of tollen-index): their names, what
// each command accepts, and the words of the help texts. The parser and the help read the same
// table, so they cannot disagree.

#include "cli/CommandLine.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace tollen::cli {

enum class Option {
    Help,
    Version,
    Format,
    Yes,
    Refine,
    Output,
    Http,
    Ftp,
    BasePath,
    User,
    PasswordFile,
    CaFile,
    Missing,
    Updates,
    AllRows,
    Vendor,
    Arch,
    Os,
    Bus,
    Continue,
    To,
    All,
    // tollen-index's own.
    Quiet,
    Verbose,
    Rebuild,
};

struct OptionEntry
{
    Option option;
    std::string_view longName;
    /// 0 when the option has no one-letter form.
    char shortName;
    /// The value's name in the help ("FORMAT"); empty for an option without a value.
    std::string_view valueName;
    std::string_view help;
    /// May be given more than once (each value counts).
    bool repeatable = false;
};

struct CommandEntry
{
    Command command;
    std::string_view name;
    /// The arguments as the usage line shows them ("FILE [SOURCE]").
    std::string_view arguments;
    std::size_t minimumArguments;
    std::size_t maximumArguments;
    /// The options besides --help, --version and --format, which every command takes.
    std::vector<Option> options;
    std::string_view summary;
    std::string_view description;
};

std::span<const OptionEntry> optionEntries();
const OptionEntry &optionEntry(Option option);
std::span<const CommandEntry> commandEntries();
const CommandEntry &commandEntry(Command command);
/// Whether the command accepts the option.
bool commandTakes(const CommandEntry &command, Option option);

} // namespace tollen::cli
