#pragma once
// How one query of the driver database ended, as the command line tells it: a click starts the
// window's own QueryDatabase, then the command reads what the window shows.

#include "cli/CommandLineWindow.h"
#include "cli/ExitCode.h"

#include <functional>
#include <string>

namespace tollen::cli {

/// Empties the results list, runs `trigger` (a click that starts the query), and says how the
/// query ended: Success when the results list holds its rows, NothingFound when there is no
/// index for it or a large index was not fetched, TransferFailed when the server could not be
/// reached or refused. `query` names the query in the messages.
Outcome runQuery(CommandLineWindow &window, const std::function<void()> &trigger,
                 const std::string &query);

} // namespace tollen::cli
