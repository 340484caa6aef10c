// match [SOURCE]: the best driver the database holds for every device. For each device the
// window builds its criteria (a click on its row), then "Scan" runs from the preselected
// criterion and, while nothing is found, from each shorter one down to the vendor's. The rows
// found are ranked by the database's ranking rule.

#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/QueryOutcome.h"
#include "core/Text.h"
#include "database/DriverRanking.h"
#include "database/ResultRow.h"

#include <algorithm>
#include <map>
#include <set>

namespace tollen::cli {

namespace {

struct DeviceMatch
{
    std::string deviceId;
    std::string deviceName;
    /// The criterion whose query found the rows; none when nothing was found.
    std::optional<std::string> level;
    std::size_t rows = 0;
    std::optional<database::MatchReason> reason;
    /// The best row's index-line fields, and its cells in the columns of the results list.
    std::optional<database::IndexFields> best;
    std::vector<std::string> bestCells;
};

/// Ranks the rows a query found for the device and keeps the best one.
void chooseBest(DeviceMatch &match, const std::vector<database::IndexFields> &drivers)
{
    using database::IndexField;
    std::vector<database::DriverCandidate> candidates;
    for (const auto &row : drivers) {
        candidates.push_back({row[IndexField::HardwareId], row[IndexField::Date]});
    }
    const auto order = database::rankDrivers(match.deviceId, candidates);
    match.rows = drivers.size();
    if (!order.empty()) {
        match.best = drivers[order.front()];
        match.bestCells = database::resultRowCells(database::IndexFields(*match.best));
        match.reason = database::matchReason(match.deviceId, (*match.best)[IndexField::HardwareId]);
    }
}

/// A field of the best row; empty when nothing was found.
std::string bestField(const DeviceMatch &match, database::IndexField field)
{
    return match.best ? (*match.best)[field] : std::string();
}

std::string reasonText(const DeviceMatch &match)
{
    return match.reason ? std::string(database::describe(*match.reason)) : "nothing found";
}

/// The matches of every device; text and TSV show nothing unless every device was tried.
std::string render(OutputFormat format, const std::optional<std::string> &source,
                   const std::vector<DeviceMatch> &matches, const std::vector<std::string> &columns,
                   const Outcome &outcome)
{
    if (format == OutputFormat::Json) {
        JsonWriter json;
        json.beginObject();
        writeFields(json, {{"source", source}});
        json.key("matches");
        json.beginArray();
        for (const DeviceMatch &match : matches) {
            json.beginObject();
            writeFields(json, {{"Device ID", match.deviceId},
                               {"Device Name", match.deviceName},
                               {"Level", match.level}});
            json.key("Rows");
            json.value(static_cast<std::int64_t>(match.rows));
            json.key("Reason");
            if (match.reason) {
                json.value(database::describe(*match.reason));
            } else {
                json.null();
            }
            json.key("Best Driver");
            if (match.best) {
                writeRow(json, Table{columns, {match.bestCells}, {}}, 0);
            } else {
                json.null();
            }
            json.endObject();
        }
        json.endArray();
        writeMessage(json, outcome);
        json.endObject();
        return json.text();
    }
    if (matches.empty()) {
        return {};
    }
    Table table;
    if (format == OutputFormat::Text) {
        // For a person: the device, how it was found, and where its driver lies.
        table.headings = {"Device ID",   "Level",   "Rows", "Reason",
                          "Hardware ID", "Version", "Date", "Remote Path"};
        for (const DeviceMatch &match : matches) {
            std::vector<std::string> row = {match.deviceId, match.level.value_or(""),
                                            std::to_string(match.rows), reasonText(match)};
            using database::IndexField;
            for (const IndexField field : {IndexField::HardwareId, IndexField::Version,
                                           IndexField::Date, IndexField::RemotePath}) {
                row.push_back(bestField(match, field));
            }
            table.rows.push_back(std::move(row));
        }
        return alignedText(table);
    }
    table.headings = {"Device ID", "Device Name", "Level", "Rows", "Reason"};
    for (const std::string &heading : columns) {
        // The driver's own name beside the device's.
        table.headings.push_back(heading == "Device Name" ? "Driver Name" : heading);
    }
    for (const DeviceMatch &match : matches) {
        std::vector<std::string> row = {match.deviceId, match.deviceName, match.level.value_or(""),
                                        std::to_string(match.rows), reasonText(match)};
        for (std::size_t column = 0; column < columns.size(); ++column) {
            row.push_back(column < match.bestCells.size() ? match.bestCells[column] : "");
        }
        table.rows.push_back(std::move(row));
    }
    return tabSeparated(table);
}

/// Device IDs are case-blind, and the database holds them in upper case: a source that has them
/// in lower case (a hand-made export) is read as a profile would be.
void upperCaseDeviceIds(controls::ListView &devices)
{
    const Table rows = tableOf(devices);
    devices.clear();
    for (const auto &row : rows.rows) {
        const int added = devices.addRow(asciiUpper(row.front()));
        for (std::size_t column = 1; column < row.size(); ++column) {
            devices.setSubItem(added, static_cast<int>(column), row[column]);
        }
    }
}

/// The best driver of every device of `source`, put into `result` once every device was tried;
/// `columns` are those of the results list.
Outcome matchDevices(const CommandLine &line, const std::optional<std::string> &source,
                     CommandLineWindow &window, std::vector<DeviceMatch> &result,
                     std::vector<std::string> &columns)
{
    if (Outcome opened = window.open(source); opened.code != ExitCode::Success) {
        return opened;
    }
    if (Outcome network = window.applyNetwork(line.network); network.code != ExitCode::Success) {
        return network;
    }
    window.setConfirm(line.yes);
    ui::HeadlessForm1 &controls = window.controls();
    const int deviceCount = controls.ListView1.rowCount();
    if (deviceCount == 0) {
        return {ExitCode::NothingFound, "the device list is empty"};
    }
    upperCaseDeviceIds(controls.ListView1);

    // Devices of one model, or of one vendor, ask for the same index: each is fetched once.
    std::map<std::string, std::vector<database::IndexFields>> answered;
    std::set<std::string> skipped;
    std::vector<DeviceMatch> matches;
    std::size_t found = 0;
    for (int device = 1; device <= deviceCount; ++device) {
        DeviceMatch match;
        match.deviceId = controls.ListView1.text(device);
        match.deviceName = controls.ListView1.subItem(device, 1);
        // A click on the device's row builds its criteria and preselects one.
        controls.ListView1.selectRow(device);
        controls.ListView1.onItemClick(device);
        const auto &criteria = controls.List1.items();
        const int preselected = controls.List1.selectedIndex();
        const int widest = std::min(preselected, static_cast<int>(database::vendorLevel(criteria)));
        for (int level = preselected; level >= widest && level >= 0 && !match.level; --level) {
            const std::string criterion = controls.List1.item(level);
            auto known = answered.find(criterion);
            if (known == answered.end()) {
                controls.List1.select(level);
                QueryAnswer queried = runQuery(
                    window, [&] { return window.form().Command1_Click(); }, criterion);
                if (queried.outcome.code == ExitCode::TransferFailed) {
                    return queried.outcome;
                }
                if (queried.declined && skipped.insert(criterion).second) {
                    window.standardError().message("tollen-cli: " + queried.outcome.message);
                }
                known = answered.emplace(criterion, std::move(queried.rows)).first;
            }
            if (!known->second.empty()) {
                match.level = criterion;
                chooseBest(match, known->second);
            }
        }
        found += match.level ? 1 : 0;
        matches.push_back(std::move(match));
    }
    columns = tableOf(controls.ListView2).headings;
    result = std::move(matches);
    if (found == result.size()) {
        return {};
    }
    const std::string counts = std::to_string(found) + " of " + std::to_string(result.size());
    if (found == 0) {
        return {ExitCode::NothingFound,
                "no drivers found for any of the " + std::to_string(result.size()) + " devices"};
    }
    return {ExitCode::PartlyFound, "drivers found for " + counts + " devices"};
}

} // namespace

Outcome runMatch(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    const std::optional<std::string> source =
        line.arguments.empty() ? std::nullopt : std::optional(line.arguments.front());
    std::vector<DeviceMatch> matches;
    std::vector<std::string> columns;
    const Outcome outcome = matchDevices(line, source, window, matches, columns);
    output = render(line.format, source, matches, columns, outcome);
    return outcome;
}

} // namespace tollen::cli
