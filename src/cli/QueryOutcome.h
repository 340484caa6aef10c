#pragma once
// How one query of the driver database ended, as the command line tells it: a click starts the
// window's own QueryDatabase, whose outcome the command maps to its exit code and message.

#include "cli/CommandLineWindow.h"
#include "cli/ExitCode.h"
#include "database/DatabaseQuery.h"

#include <functional>
#include <optional>
#include <string>

namespace tollen::cli {

/// A click that starts a query; nothing when it started none.
using QueryTrigger = std::function<std::optional<database::QueryOutcome>()>;

/// Runs `trigger` and says how the query ended: Success when it found rows, NothingFound when
/// there is no index for it (with a hint when the host may be no database root) or a large index
/// was not fetched, TransferFailed when the server
/// could not be reached or refused. `query` names the query in the messages.
Outcome runQuery(CommandLineWindow &window, const QueryTrigger &trigger, const std::string &query);

} // namespace tollen::cli
