#pragma once
// The commands of tollen-cli. Each works the main window (CommandLineWindow) as a user would,
// puts what it prints on standard output into `output` (a JSON document in every outcome, see
// Output.h), and says how it ended.

#include "cli/CommandLine.h"
#include "cli/CommandLineWindow.h"
#include "cli/ExitCode.h"

#include <string>

namespace tollen::cli {

/// devices [SOURCE]: the rows of the installed-hardware list.
Outcome runDevices(const CommandLine &line, CommandLineWindow &window, std::string &output);
/// profile save FILE [SOURCE]: "Save profile" with FILE chosen.
Outcome runProfileSave(const CommandLine &line, CommandLineWindow &window, std::string &output);
/// criteria ID: the criteria list after a click on a row holding ID.
Outcome runCriteria(const CommandLine &line, CommandLineWindow &window, std::string &output);
/// search QUERY: "Other device" with QUERY typed, then a double-click on each refinement entry.
Outcome runSearch(const CommandLine &line, CommandLineWindow &window, std::string &output);
/// match [SOURCE]: "Scan" for every device, widening the criterion until something is found.
Outcome runMatch(const CommandLine &line, CommandLineWindow &window, std::string &output);
/// download REMOTE-PATH: a double-click on a row of that path, saved where -o says.
Outcome runDownload(const CommandLine &line, CommandLineWindow &window, std::string &output);
/// fetch [SOURCE] --to DIR: the best driver package of each device, fetched, checked and
/// unpacked into DIR.
Outcome runFetch(const CommandLine &line, CommandLineWindow &window, std::string &output);
/// info: the description of the database on the host.
Outcome runInfo(const CommandLine &line, CommandLineWindow &window, std::string &output);

} // namespace tollen::cli
