#pragma once
// The driver database's query: a query string such as "PCI\VEN_8086&DEV_100E" names an index
// file of the /DIRSTRUCT/ tree on the user's server (QueryPath); the query sizes it and fetches
// it through the main window's transfer routines into the local copy (LocalIndexCopy), asking
// first when it is larger than 1,000,000 bytes, and turns each of its lines (IndexLine) into a
// row of the results list ListView2 (ResultRow, GuessOsName). Shallow queries also gather the
// next identifier pieces into the refinement list List2 (RefinementList). Progress and failure
// show in the status label Label5.
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

#include <cstdint>
#include <string>
#include <string_view>

namespace tollen::database {

class RefinementList;

/// What the query needs of the main window above it.
class QueryWindow
{
public:
    virtual ~QueryWindow() = default;

    /// The size in bytes of a file given by its path below the database root; below 1 when it
    /// is missing or cannot be sized.
    virtual std::int32_t GetFileSize(const std::string &strurl) = 0;
    /// Copies the file to the local path; 0 on failure, also when the file would grow past
    /// `sizeLimit` bytes (the size the size query gave, which the user may have confirmed).
    virtual std::int16_t DownloadFile(std::string &strurl, std::string &strdestination,
                                      std::int64_t sizeLimit) = 0;
    /// Sizes every column of the list to its contents.
    virtual void LV_AutoSizeColumn(controls::ListView &list) = 0;
};

/// The controls the query works on.
struct QueryControls
{
    controls::Window &window;
    controls::Dialogs &dialogs;
    controls::EventLoop &eventLoop;
    controls::ListBox &List2;
    controls::ListView &ListView2;
    controls::Label &Label5;
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
    DatabaseQuery(QueryWindow &window, QueryControls controls);

    /// Runs one query. Unless the flag is kSubsystemRefinement, `query` becomes `LastQuery`
    /// first. False, with nothing done, while another query is still running.
    bool QueryDatabase(const std::string &query, std::int16_t flag, std::string &LastQuery);

    bool isRunning() const { return m_running; }

private:
    /// Everything from finding the index file to the filled lists.
    void fetchAndList(const std::string &query);
    /// Replaces the results list with one row per line of the index file's text.
    void listRows(std::string_view text, RefinementList *refinement);
    void setStatus(std::string_view status);

    QueryWindow &m_window;
    QueryControls m_controls;
    bool m_running = false;
};

} // namespace tollen::database
