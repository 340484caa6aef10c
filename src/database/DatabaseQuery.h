#pragma once
// The driver database's query: a query string such as "PCI\VEN_8086&DEV_100E" names an index
// file of the /DIRSTRUCT/ tree on the user's server (QueryPath); the query sizes it and fetches
// it through the database's remote files (RemoteFiles) into the local copy (LocalIndexCopy), asking
// first when it is larger than 1,000,000 bytes, and turns each of its lines (IndexLine) into a
// row of the results list ListView2 (ResultRow, GuessOsName). Shallow queries also gather the
// next identifier pieces into the refinement list List2 (RefinementList). Progress and failure
// show in the status label Label5; the query returns how it ended as a value (QueryOutcome).
//
// The query runs on the user-interface thread. The window is disabled until the file is in; it
// is enabled while the rows are read, and the read yields to the event loop every fifth row, so
// a large file keeps the window alive. A query asked for while one runs is not started.

#include "controls/Control.h"
#include "controls/Dialogs.h"
#include "controls/ListBox.h"
#include "controls/ListView.h"
#include "controls/Services.h"
#include "controls/Window.h"
#include "database/IndexLine.h"
#include "database/RemoteFiles.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::database {

class RefinementList;

/// The controls the query works on.
struct QueryControls
{
    controls::Window &window;
    controls::Dialogs &dialogs;
    controls::EventLoop &eventLoop;
    controls::ListBox &List2;
    controls::ListView &ListView2;
    controls::Label &Label5;
    /// Sizes every column of the results list to its contents once it is filled.
    std::function<void(controls::ListView &)> autoSizeColumns{};
};

/// How one query ended.
struct QueryOutcome
{
    enum class Kind {
        /// The index file was listed: `rowCount` rows, one per line.
        Found,
        /// There is no index file for the query (or its local copy could not be made): `reason`
        /// is the status shown.
        NotFound,
        /// The transfer failed: `reason` says why.
        TransferFailed,
        /// The question before a large index was answered No.
        Declined,
        /// Another query was still running; nothing was done.
        Busy,
    };
    Kind kind = Kind::NotFound;
    /// How many rows the results list shows.
    std::size_t rowCount = 0;
    std::string reason;
};

/// The query flag of a refinement by a subsystem piece: the base query stays as it was.
inline constexpr std::int16_t kSubsystemRefinement = 1;

/// Index files larger than this are fetched only when the user confirms.
inline constexpr std::int32_t kLargeIndexFile = 1'000'000;

inline constexpr std::string_view kQuerying = "Querying DB...";
inline constexpr std::string_view kScanning = "Scanning DB...";
inline constexpr std::string_view kNotFound = "Device not found with this detail level!";
inline constexpr std::string_view kLargeQuestion =
    "Database for this selection is > 1MB. Are you sure?";

class DatabaseQuery
{
public:
    DatabaseQuery(RemoteFiles &files, QueryControls controls);

    /// Runs one query. Unless the flag is kSubsystemRefinement, `query` becomes `LastQuery`
    /// first. Busy, with nothing done, while another query is still running.
    QueryOutcome QueryDatabase(const std::string &query, std::int16_t flag, std::string &LastQuery);

    bool isRunning() const { return m_running; }

private:
    /// Everything from finding the index file to the filled lists.
    QueryOutcome fetchAndList(const std::string &query);
    /// Replaces the results list with one row per line of the index file's text; how many rows
    /// it lists.
    std::size_t listRows(std::string_view text, RefinementList *refinement);
    /// Shows the status and gives the outcome of a query that found nothing or whose transfer
    /// failed.
    QueryOutcome notFound(std::string_view status);
    void setStatus(std::string_view status);

    RemoteFiles &m_files;
    QueryControls m_controls;
    bool m_running = false;
};

} // namespace tollen::database
