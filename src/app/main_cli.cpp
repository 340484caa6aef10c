// tollen-cli: every job of the window from a terminal or a script. The command line names a
// command; the command works the program's own main window on headless controls and prints
// what the window's lists then hold. See tollen-cli --help and the tollen-cli(1) manual.

#include "cli/CommandLine.h"
#include "cli/CommandLineWindow.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/StandardError.h"
#include "core/ProcessText.h"

#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tollen::cli;

Outcome run(const CommandLine &line, std::string &output)
{
    tollen::transfer::TransferOptions transferOptions;
    transferOptions.trustedCertificates = line.network.caFile.value_or("");
    CommandLineWindow window(StandardError::process(), std::move(transferOptions));
    switch (line.command) {
    case Command::Devices:
        return runDevices(line, window, output);
    case Command::ProfileSave:
        return runProfileSave(line, window, output);
    case Command::Criteria:
        return runCriteria(line, window, output);
    case Command::Search:
        return runSearch(line, window, output);
    case Command::Match:
        return runMatch(line, window, output);
    case Command::Download:
        return runDownload(line, window, output);
    case Command::Fetch:
        return runFetch(line, window, output);
    case Command::Info:
        return runInfo(line, window, output);
    }
    return {ExitCode::Usage, "unknown command"};
}

/// Writes all of `text` to standard output; false when it could not be written (a full disk, a
/// closed pipe).
bool writeOutput(const std::string &text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

int finish(const Outcome &outcome)
{
    if (!outcome.message.empty()) {
        StandardError::process().message("tollen-cli: " + outcome.message);
    }
    return static_cast<int>(outcome.code);
}

} // namespace

int main(int argc, char *argv[])
{
    tollen::showUtf8OnConsole();
    const std::vector<std::string> arguments = tollen::utf8Arguments(argc, argv);
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    switch (parsed.action) {
    case ParsedCommandLine::Action::ShowHelp:
    case ParsedCommandLine::Action::ShowVersion:
        return writeOutput(parsed.text) ? 0 : finish({ExitCode::Unreadable, "cannot write output"});
    case ParsedCommandLine::Action::UsageError:
        return finish({ExitCode::Usage, parsed.text});
    case ParsedCommandLine::Action::Run:
        break;
    }
    std::string output;
    Outcome outcome;
    try {
        outcome = run(parsed.commandLine, output);
    } catch (const std::exception &failure) {
        // Nothing the commands run is expected to throw; if it does, say so in one line rather
        // than end with a crash.
        outcome = {ExitCode::Unreadable, std::string("unexpected failure: ") + failure.what()};
        output = parsed.commandLine.format == OutputFormat::Json ? messageDocument(outcome) : "";
    }
    if (!output.empty() && !writeOutput(output)) {
        return finish({ExitCode::Unreadable, "cannot write output"});
    }
    return finish(outcome);
}
