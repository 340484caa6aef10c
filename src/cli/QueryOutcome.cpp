#include "cli/QueryOutcome.h"

#include "cli/DatabaseRootCheck.h"

namespace tollen::cli {

Outcome runQuery(CommandLineWindow &window, const QueryTrigger &trigger, const std::string &query)
{
    using Kind = database::QueryOutcome::Kind;
    window.beginAction();
    std::optional<database::QueryOutcome> queried = trigger();
    if (!queried) {
        return {ExitCode::NothingFound, "nothing found for " + query + ": no query was asked"};
    }
    switch (queried->kind) {
    case Kind::Found:
        if (queried->rowCount == 0) {
            return {ExitCode::NothingFound,
                    "nothing found for " + query + ": its index holds no drivers"};
        }
        return {};
    case Kind::TransferFailed:
        return {ExitCode::TransferFailed, "transfer failed: " + queried->reason};
    case Kind::Declined:
        return {ExitCode::NothingFound, "skipped the index for " + query +
                                            ": it is larger than 1,000,000 bytes; add --yes to "
                                            "fetch it"};
    case Kind::Busy:
        return {ExitCode::NothingFound, "nothing found for " + query + ": a query is running"};
    case Kind::NotFound:
        break;
    }
    return {ExitCode::NothingFound,
            "nothing found for " + query + ": " + queried->reason + databaseRootNote(window)};
}

} // namespace tollen::cli
