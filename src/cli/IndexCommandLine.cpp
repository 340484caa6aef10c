#include "cli/IndexCommandLine.h"

#include "cli/OptionTokens.h"

#include <array>

namespace tollen::cli {
namespace {

const std::array<OptionEntry, 5> kIndexOptions = {{
    {Option::Quiet, "quiet", 'q', "", "print nothing but errors"},
    {Option::Verbose, "verbose", 'v', "", "list each skipped file and refused ID with the reason"},
    {Option::Rebuild, "rebuild", 'r', "",
     "read every package again and rewrite the tree, ignoring the last run"},
    {Option::Help, "help", 'h', "", "show this text"},
    {Option::Version, "version", 'V', "", "show the version"},
}};

constexpr std::string_view kUsage = R"(Usage: tollen-index [--quiet | --verbose] [--rebuild] DBROOT
Builds DBROOT/DIRSTRUCT, the index tree of the driver packages under DBROOT.

Every INF file in a folder, or inside a .zip, .7z, .rar or .exe archive, gives one index line
for each hardware ID of its model lines. An archive whose path a download would cut short (a
folder such as Library or 7-Zip ends like an archive) and a path holding ", CR or LF are
skipped. The new tree is built beside the old one and replaces it only when it is complete. A
re-run reads only the packages that changed since the last run, and rewrites a tree that is no
longer as it wrote it. Besides DIRSTRUCT, only files named .tollen-index* are written in DBROOT.

)";

constexpr std::string_view kExitStatus =
    R"(
Exit status: 0 when the tree was written (or was already up to date), 1 on a usage error or
when DBROOT cannot be read or the tree cannot be written (the old tree then stays as it was).
)";

/// The width of an option's long name in the help, with its "--".
constexpr std::size_t kLongNameWidth = 12;

std::string helpText()
{
    std::string text(kUsage);
    for (const OptionEntry &entry : kIndexOptions) {
        std::string longName = "--" + std::string(entry.longName);
        longName.resize(std::max(longName.size(), kLongNameWidth), ' ');
        text += "  -" + std::string(1, entry.shortName) + ", " + longName +
                std::string(entry.help) + "\n";
    }
    return text + std::string(kExitStatus);
}

IndexCommandLine usageError(std::string problem)
{
    IndexCommandLine line;
    line.action = IndexCommandLine::Action::UsageError;
    line.text = std::move(problem);
    return line;
}

} // namespace

std::string indexProgramVersion()
{
    return "tollen-index " TOLLEN_VERSION;
}

IndexCommandLine parseIndexCommandLine(std::span<const std::string> arguments)
{
    OptionTokens tokens;
    if (const auto problem = tokenize(arguments, kIndexOptions, tokens)) {
        return usageError(*problem);
    }
    if (tokens.words.size() > 1) {
        return usageError("one DBROOT only");
    }
    IndexCommandLine line;
    if (tokens.has(Option::Help)) {
        line.action = IndexCommandLine::Action::ShowHelp;
        line.text = helpText();
        return line;
    }
    if (tokens.has(Option::Version)) {
        line.action = IndexCommandLine::Action::ShowVersion;
        line.text = indexProgramVersion() + "\n";
        return line;
    }
    if (tokens.words.empty()) {
        return usageError("no DBROOT given");
    }
    line.root = tokens.words.front();
    for (const GivenOption &given : tokens.options) {
        if (given.entry->option == Option::Quiet) {
            line.verbosity = Verbosity::Quiet;
        } else if (given.entry->option == Option::Verbose) {
            line.verbosity = Verbosity::Verbose;
        }
    }
    line.rebuild = tokens.has(Option::Rebuild);
    return line;
}

} // namespace tollen::cli
