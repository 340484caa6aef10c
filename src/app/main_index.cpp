// tollen-index: builds the index tree of a driver database. It reads every driver package under
// DBROOT (folders with INF files, and .zip, .7z, .rar and .exe archives) and writes
// DBROOT/DIRSTRUCT, which a web or FTP server, or a local disk, then serves as it is.

#include "builder/IndexBuilder.h"
#include "cli/BuildReport.h"
#include "cli/IndexCommandLine.h"
#include "core/ProgramEdge.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace {

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
    using tollen::cli::IndexCommandLine;
    using tollen::cli::Verbosity;
    const std::vector<std::string> words(argv + 1, argv + argc);
    const IndexCommandLine arguments = tollen::cli::parseIndexCommandLine(words);
    switch (arguments.action) {
    case IndexCommandLine::Action::UsageError:
        std::cerr << "tollen-index: " << arguments.text << "\nTry 'tollen-index --help'.\n";
        return 1;
    case IndexCommandLine::Action::ShowHelp:
    case IndexCommandLine::Action::ShowVersion:
        std::cout << arguments.text;
        return 0;
    case IndexCommandLine::Action::Build:
        break;
    }
    // libarchive converts each zip member's time with localtime(), and without TZ the C library
    // looks at /etc/localtime again on every call: name the same zone once, so it reads it once.
    ::setenv("TZ", ":/etc/localtime", 0);
    tollen::cli::ReportOptions options;
    options.progress = arguments.verbosity != Verbosity::Quiet && ::isatty(STDERR_FILENO) == 1;
    options.verbose = arguments.verbosity == Verbosity::Verbose;
    options.width = terminalWidth();
    tollen::cli::BuildReport report(std::cout, std::cerr, options);
    const tollen::builder::BuildResult result = tollen::builder::buildIndex(
        arguments.root, report,
        {.rebuild = arguments.rebuild, .builder = tollen::cli::indexProgramVersion()});
    report.finish();
    if (result.error) {
        std::cerr << "tollen-index: " << result.error.message << '\n';
        return 1;
    }
    if (!result.summary.warning.empty()) {
        std::cerr << "tollen-index: " << result.summary.warning << '\n';
    }
    if (arguments.verbosity != Verbosity::Quiet) {
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
