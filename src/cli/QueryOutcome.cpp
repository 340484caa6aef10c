#include "cli/QueryOutcome.h"

namespace tollen::cli {

Outcome runQuery(CommandLineWindow &window, const std::function<void()> &trigger,
                 const std::string &query)
{
    ui::HeadlessForm1 &controls = window.controls();
    window.beginAction();
    controls.ListView2.clear();
    trigger();
    if (const auto failure = window.transferFailure()) {
        return {ExitCode::TransferFailed, "transfer failed: " + *failure};
    }
    if (controls.ListView2.rowCount() > 0) {
        return {};
    }
    if (window.largeIndexSkipped()) {
        return {ExitCode::NothingFound, "skipped the index for " + query +
                                            ": it is larger than 1,000,000 bytes; add --yes to "
                                            "fetch it"};
    }
    return {ExitCode::NothingFound,
            "nothing found for " + query + ": " + controls.Label5.caption()};
}

} // namespace tollen::cli
