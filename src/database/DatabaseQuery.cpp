#include "database/DatabaseQuery.h"

#include "core/PathText.h"
#include "core/Text.h"
#include "database/IndexLine.h"
#include "database/LocalIndexCopy.h"
#include "database/PackageFiles.h"
#include "database/QueryPath.h"
#include "database/RefinementList.h"
#include "database/ResultRow.h"

#include <optional>
#include <utility>

namespace tollen::database {
namespace {

/// The read loop yields to the event loop after every this many rows.
constexpr std::size_t kRowsPerYield = 5;

/// Marks a query as running for its lifetime.
class RunningQuery
{
public:
    explicit RunningQuery(bool &running) : m_running(running) { m_running = true; }
    ~RunningQuery() { m_running = false; }
    RunningQuery(const RunningQuery &) = delete;
    RunningQuery &operator=(const RunningQuery &) = delete;

private:
    bool &m_running;
};

} // namespace

DatabaseQuery::DatabaseQuery(RemoteFiles &files, QueryControls controls)
    : m_files(files), m_controls(std::move(controls))
{
}

QueryOutcome DatabaseQuery::QueryDatabase(const std::string &query, std::int16_t flag,
                                          std::string &LastQuery)
{
    // The rows are read with the window enabled, so a second query could be asked for then;
    // it would empty the lists and replace the local copy under the running one.
    if (m_running) {
        return {QueryOutcome::Kind::Busy, {}, {}};
    }
    const RunningQuery running(m_running);
    m_controls.window.setEnabled(false);
    if (flag != kSubsystemRefinement) {
        LastQuery = query;
    }
    setStatus(kQuerying);
    setStatus(kScanning);
    m_controls.window.setEnabled(false);
    QueryOutcome outcome = fetchAndList(query);
    m_controls.window.setEnabled(true);
    return outcome;
}

QueryOutcome DatabaseQuery::fetchAndList(const std::string &query)
{
    Error folderError;
    const LocalIndexCopy copy = LocalIndexCopy::inRunFolder(folderError);
    if (folderError) {
        setStatus(folderError.message);
        return {QueryOutcome::Kind::NotFound, {}, folderError.message};
    }
    const QueryPath path = QueryPath::fromQuery(query);
    const std::string indexFile = path.indexFile();
    const std::int32_t size = m_files.GetFileSize(indexFile);
    // The size query enables the window at its end; it stays disabled until the file is in, so
    // nothing done in the download's first yield can start another transfer.
    m_controls.window.setEnabled(false);
    if (size < 1) {
        return notFound(kNotFound);
    }
    copy.remove();
    std::optional<RefinementList> refinement;
    m_controls.List2.clear();
    if (path.refinementMode()) {
        refinement.emplace(m_controls.List2, query);
    }
    if (size > kLargeIndexFile &&
        m_controls.dialogs.messageBox(std::string(kLargeQuestion), controls::MessageButtons::YesNo,
                                      "Warning") == controls::kAnswerNo) {
        m_controls.ListView2.clear();
        return {QueryOutcome::Kind::Declined, {}, {}};
    }
    std::string strurl = indexFile;
    std::string destination = utf8FromPath(copy.path());
    // The size checked above is all the download may bring.
    if (m_files.DownloadFile(strurl, destination, size) == 0) {
        return notFound(kNotFound);
    }
    // A download can report success without a copy (an FTP connection that could not be
    // made); the results then stay as they were.
    std::optional<std::string> bytes = copy.read();
    if (!bytes) {
        return notFound(kNotFound);
    }
    m_controls.window.setEnabled(true);
    // Valid UTF-8, the usual case, is used as it was read, without a copy.
    const std::string text = isValidUtf8(*bytes) ? std::move(*bytes) : decodeFileText(*bytes);
    QueryOutcome found{QueryOutcome::Kind::Found, {}, {}};
    found.rowCount = listRows(text, refinement ? &*refinement : nullptr);
    return found;
}

std::size_t DatabaseQuery::listRows(std::string_view text, RefinementList *refinement)
{
    controls::ListView &list = m_controls.ListView2;
    list.clear();
    // Hidden while it fills and until its columns fit, so a large file does not redraw the
    // list row by row.
    list.setVisible(false);
    IndexLineReader lines(text);
    std::string_view line;
    std::size_t rows = 0;
    while (lines.next(line)) {
        IndexFields fields = splitIndexLine(line);
        if (refinement) {
            refinement->gather(fields[IndexField::HardwareId]);
        }
        addResultRow(list, std::move(fields), linePackageProof(line));
        if (++rows % kRowsPerYield == 0) {
            m_controls.eventLoop.yield();
        }
    }
    if (m_controls.autoSizeColumns) {
        m_controls.autoSizeColumns(list);
    }
    list.setVisible(true);
    return rows;
}

QueryOutcome DatabaseQuery::notFound(std::string_view status)
{
    setStatus(status);
    // The window shows a failed transfer as it shows a missing file; the caller learns which.
    if (const transfer::TransferFailure &failure = m_files.lastFailure(); failure.isFault()) {
        return {QueryOutcome::Kind::TransferFailed, {}, failure.reason};
    }
    return {QueryOutcome::Kind::NotFound, {}, std::string(status)};
}

void DatabaseQuery::setStatus(std::string_view status)
{
    m_controls.Label5.setCaption(std::string(status));
}

} // namespace tollen::database
