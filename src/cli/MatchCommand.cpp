// match [SOURCE | ID]: for every device, the driver row of the database that fits it by Windows'
// own rules, beside the driver it has now. The rows come from the index file of every ID in the
// device's list, each file fetched once per run over the window's connection, with no size
// query before it.

#include "cli/Commands.h"
#include "cli/DeviceCells.h"
#include "cli/DeviceMatching.h"
#include "cli/Output.h"
#include "database/ResultRow.h"

#include <span>

namespace tollen::cli {

namespace {

/// Why a row was chosen: the place of its ID in the device's list ("compatible 5/11").
std::string placeText(const database::MatchedDriver &driver, const inventory::Device &device)
{
    return std::string(driver.compatibleId ? "compatible " : "hardware ") +
           std::to_string(driver.idRank + 1) + "/" +
           std::to_string(database::matchingIds(device).size());
}

std::string installedText(const inventory::InstalledDriver &driver)
{
    if (driver.version.empty() && driver.date.empty()) {
        return driver.description;
    }
    return driver.version + (driver.date.empty() ? "" : " (" + driver.date + ")");
}

/// The device's own columns: who it is, what it has, how the database's driver compares.
std::vector<std::string> reportCells(const DeviceReport &report)
{
    std::vector<std::string> cells = deviceCells(report.device);
    cells.emplace_back(database::describe(report.match.verdict));
    return cells;
}

/// The matching rows shown of a device: every one with --all-rows, else the best.
std::span<const database::MatchedDriver> shownDrivers(const CommandLine &line,
                                                      const DeviceReport &report)
{
    const std::span<const database::MatchedDriver> drivers = report.match.drivers;
    return line.allRows ? drivers : drivers.first(std::min<std::size_t>(1, drivers.size()));
}

const std::vector<std::string> kDeviceHeadings = {
    "Device ID",        "Device Name",        "Status",
    "Installed Driver", "Installed Provider", "Installed Version",
    "Installed Date",   "Installed INF",      "Matching ID",
    "Verdict"};

/// The row's own columns: why it was chosen, then the nine of the results list.
std::vector<std::string> rowCells(const database::MatchedDriver &driver,
                                  const inventory::Device &device)
{
    std::vector<std::string> cells = {placeText(driver, device),
                                      std::string(database::describe(driver.applicability))};
    for (std::string &cell : database::resultRowCells(database::IndexFields(driver.row))) {
        cells.push_back(std::move(cell));
    }
    return cells;
}

std::vector<std::string> rowHeadings()
{
    std::vector<std::string> headings = {"Matched By", "Applies"};
    headings.insert(headings.end(), driverColumns().begin(), driverColumns().end());
    return headings;
}

/// Text: a line per device (or per row with --all-rows) for a person to read.
Table textTable(const CommandLine &line, const std::vector<DeviceReport> &shown)
{
    Table table{{"Device ID", "Status", "Installed", "Verdict", "Hardware ID", "Matched By",
                 "Applies", "Version", "Date", "Remote Path"},
                {},
                {}};
    for (const DeviceReport &report : shown) {
        const std::vector<std::string> device = {
            report.device.id, std::string(inventory::describe(report.device.driver.status)),
            installedText(report.device.driver),
            std::string(database::describe(report.match.verdict))};
        const auto drivers = shownDrivers(line, report);
        if (drivers.empty()) {
            std::vector<std::string> row = device;
            row.insert(row.end(), {"", "nothing found", "", "", "", ""});
            table.rows.push_back(std::move(row));
        }
        for (const database::MatchedDriver &driver : drivers) {
            using database::IndexField;
            std::vector<std::string> row = device;
            row.insert(row.end(),
                       {driver.row[IndexField::HardwareId], placeText(driver, report.device),
                        std::string(database::describe(driver.applicability)),
                        driver.row[IndexField::Version], driver.row[IndexField::Date],
                        driver.row[IndexField::RemotePath]});
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

/// TSV: every column of the device and of its row, one line per device (or per row).
Table tsvTable(const CommandLine &line, const std::vector<DeviceReport> &shown)
{
    Table table{kDeviceHeadings, {}, {}};
    const std::vector<std::string> headings = rowHeadings();
    table.headings.insert(table.headings.end(), headings.begin(), headings.end());
    for (const DeviceReport &report : shown) {
        const auto drivers = shownDrivers(line, report);
        for (std::size_t index = 0; index < std::max<std::size_t>(drivers.size(), 1); ++index) {
            std::vector<std::string> row = reportCells(report);
            std::vector<std::string> cells = index < drivers.size()
                                                 ? rowCells(drivers[index], report.device)
                                                 : std::vector<std::string>(headings.size());
            row.insert(row.end(), cells.begin(), cells.end());
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

void writeReport(JsonWriter &json, const CommandLine &line, const DeviceReport &report)
{
    json.beginObject();
    writeRowMembers(json, Table{kDeviceHeadings, {reportCells(report)}, {}}, 0);
    writeDeviceIds(json, report.device);
    json.key("Best Driver");
    if (report.match.drivers.empty()) {
        json.null();
    } else {
        writeRow(json,
                 Table{rowHeadings(), {rowCells(report.match.drivers.front(), report.device)}, {}},
                 0);
    }
    if (line.allRows) {
        json.key("Drivers");
        Table rows{rowHeadings(), {}, {}};
        for (const database::MatchedDriver &driver : report.match.drivers) {
            rows.rows.push_back(rowCells(driver, report.device));
        }
        writeRows(json, rows);
    }
    if (line.vendor) {
        json.key("Vendor Drivers");
        Table vendor{driverColumns(), {}, {}};
        for (const database::IndexFields &fields : report.match.vendorRows) {
            vendor.rows.push_back(database::resultRowCells(database::IndexFields(fields)));
        }
        writeRows(json, vendor);
    }
    json.endObject();
}

std::string render(const CommandLine &line, const std::vector<DeviceReport> &shown,
                   const Outcome &outcome)
{
    const std::optional<std::string> source =
        line.arguments.empty() ? std::nullopt : std::optional(line.arguments.front());
    if (line.format == OutputFormat::Json) {
        JsonWriter json;
        json.beginObject();
        writeFields(json, {{"source", source}});
        json.key("matches");
        json.beginArray();
        for (const DeviceReport &report : shown) {
            writeReport(json, line, report);
        }
        json.endArray();
        writeMessage(json, outcome);
        json.endObject();
        return json.text();
    }
    if (shown.empty()) {
        return {};
    }
    std::string text = line.format == OutputFormat::Text ? alignedText(textTable(line, shown))
                                                         : tabSeparated(tsvTable(line, shown));
    if (line.vendor) {
        Table vendor{{"Device ID"}, {}, {}};
        vendor.headings.insert(vendor.headings.end(), driverColumns().begin(),
                               driverColumns().end());
        for (const DeviceReport &report : shown) {
            for (const database::IndexFields &fields : report.match.vendorRows) {
                std::vector<std::string> row = {report.device.id};
                for (std::string &cell : database::resultRowCells(database::IndexFields(fields))) {
                    row.push_back(std::move(cell));
                }
                vendor.rows.push_back(std::move(row));
            }
        }
        if (!vendor.rows.empty()) {
            text += '\n' + (line.format == OutputFormat::Text
                                ? "The vendors' other drivers:\n" + alignedText(vendor)
                                : tabSeparated(vendor));
        }
    }
    return text;
}

} // namespace

Outcome runMatch(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    std::vector<DeviceReport> shown;
    const Outcome outcome = matchDevices(line, window, shown);
    output = render(line, shown, outcome);
    return outcome;
}

} // namespace tollen::cli
