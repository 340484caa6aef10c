// tollen-index: builds the index tree of a driver database. It reads every driver package under
// DBROOT (folders with INF files, and .zip, .7z, .rar and .exe archives) and writes
// DBROOT/DIRSTRUCT, which a web or FTP server, or a local disk, then serves as it is.

#include "builder/IndexBuilder.h"
#include "cli/BuildReport.h"
#include "core/ProgramEdge.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr std::string_view kUsage = R"(Usage: tollen-index [--quiet | --verbose] [--rebuild] DBROOT
Builds DBROOT/DIRSTRUCT, the index tree of the driver packages under DBROOT.

Every INF file in a folder, or inside a .zip, .7z, .rar or .exe archive, gives one index line
for each hardware ID of its model lines. An archive whose path a download would cut short (a
folder such as Library or 7-Zip ends like an archive) and a path holding ", CR or LF are
skipped. The new tree is built beside the old one and replaces it only when it is complete. A
re-run reads only the packages that changed since the last run, and rewrites a tree that is no
longer as it wrote it. Besides DIRSTRUCT, only files named .tollen-index* are written in DBROOT.

  -q, --quiet     print nothing but errors
  -v, --verbose   list each skipped file and refused ID with the reason
  -r, --rebuild   read every package again and rewrite the tree, ignoring the last run
  -h, --help      show this text
  -V, --version   show the version

Exit status: 0 when the tree was written (or was already up to date), 1 on a usage error or
when DBROOT cannot be read or the tree cannot be written (the old tree then stays as it was).
)";

enum class Verbosity { Quiet, Normal, Verbose };

struct Arguments
{
    std::optional<std::string> root;
    Verbosity verbosity = Verbosity::Normal;
    tollen::builder::BuildOptions build;
    bool help = false;
    bool version = false;
};

/// The arguments, or nullopt after printing why they are wrong.
std::optional<Arguments> parseArguments(int argc, char *argv[])
{
    Arguments arguments;
    bool optionsEnded = false;
    const auto fail = [](const std::string &problem) {
        std::cerr << "tollen-index: " << problem << "\nTry 'tollen-index --help'.\n";
        return std::nullopt;
    };
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "-q" || argument == "--quiet")) {
            arguments.verbosity = Verbosity::Quiet;
        } else if (!optionsEnded && (argument == "-v" || argument == "--verbose")) {
            arguments.verbosity = Verbosity::Verbose;
        } else if (!optionsEnded && (argument == "-r" || argument == "--rebuild")) {
            arguments.build.rebuild = true;
        } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            arguments.help = true;
        } else if (!optionsEnded && (argument == "-V" || argument == "--version")) {
            arguments.version = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return fail("unknown option " + std::string(argument));
        } else if (arguments.root) {
            return fail("one DBROOT only");
        } else {
            arguments.root = std::string(argument);
        }
    }
    if (!arguments.help && !arguments.version && !arguments.root) {
        return fail("no DBROOT given");
    }
    return arguments;
}

std::size_t terminalWidth()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

int run(int argc, char *argv[])
{
    const std::optional<Arguments> arguments = parseArguments(argc, argv);
    if (!arguments) {
        return 1;
    }
    if (arguments->help) {
        std::cout << kUsage;
        return 0;
    }
    if (arguments->version) {
        std::cout << "tollen-index " << TOLLEN_VERSION << '\n';
        return 0;
    }
    // libarchive converts each zip member's time with localtime(), and without TZ the C library
    // looks at /etc/localtime again on every call: name the same zone once, so it reads it once.
    ::setenv("TZ", ":/etc/localtime", 0);
    tollen::cli::ReportOptions options;
    options.progress = arguments->verbosity != Verbosity::Quiet && ::isatty(STDERR_FILENO) == 1;
    options.verbose = arguments->verbosity == Verbosity::Verbose;
    options.width = terminalWidth();
    tollen::cli::BuildReport report(std::cout, std::cerr, options);
    const tollen::builder::BuildResult result =
        tollen::builder::buildIndex(*arguments->root, report, arguments->build);
    report.finish();
    if (result.error) {
        std::cerr << "tollen-index: " << result.error.message << '\n';
        return 1;
    }
    if (!result.summary.warning.empty()) {
        std::cerr << "tollen-index: " << result.summary.warning << '\n';
    }
    if (arguments->verbosity != Verbosity::Quiet) {
        std::cout << tollen::cli::summaryText(result.summary);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    return tollen::runAtProgramEdge(
        [&] { return run(argc, argv); },
        [](const std::string &message) { std::cerr << "tollen-index: " << message << '\n'; }, 1);
}
