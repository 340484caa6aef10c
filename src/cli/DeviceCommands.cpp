// devices and profile save: the installed-hardware list of this machine or of a file, printed or
// written as a profile.

#include "cli/Commands.h"
#include "cli/DeviceCells.h"
#include "cli/FileChecks.h"
#include "cli/Output.h"
#include "core/PathText.h"

namespace tollen::cli {

namespace {

std::optional<std::string> argument(const CommandLine &line, std::size_t index)
{
    return index < line.arguments.size() ? std::optional(line.arguments[index]) : std::nullopt;
}

/// "Save profile" with `file` chosen, of the devices of `source` or of this machine.
Outcome saveProfile(const std::string &file, const std::optional<std::string> &source,
                    CommandLineWindow &window)
{
    if (const auto problem = unwritableFileProblem(pathFromUtf8(file))) {
        return {ExitCode::Unreadable, "cannot write " + file + ": " + *problem};
    }
    if (Outcome opened = window.open(source); opened.code != ExitCode::Success) {
        return opened;
    }
    window.setSaveAnswer([&](const controls::FileDialogRequest &) { return file; });
    window.beginAction();
    window.controls().Command3.onClick();
    if (!window.boxes().empty()) {
        // "Save profile" has said in its box why the file could not be written.
        return {ExitCode::Unreadable, {}};
    }
    return {};
}

/// The installed-hardware list's two columns, then the driver each device has now.
Table deviceTable(const inventory::DeviceInventory &inventory)
{
    Table table{{"Device ID", "Device Name", "Status", "Driver", "Provider", "Version", "Date",
                 "INF", "Matching ID"},
                {},
                {}};
    for (const inventory::Device &device : inventory.devices) {
        table.rows.push_back(deviceCells(device));
    }
    return table;
}

} // namespace

Outcome runDevices(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    const auto source = argument(line, 0);
    const Outcome outcome = window.open(source);
    output = renderListing(line.format, {{"source", source}}, "devices",
                           deviceTable(window.inventory()), outcome);
    return outcome;
}

Outcome runProfileSave(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    const std::string &file = line.arguments.at(0);
    const Outcome outcome = saveProfile(file, argument(line, 1), window);
    Table record{{"File", "Devices"}, {{file}}, {ColumnKind::Text, ColumnKind::Number}};
    if (outcome.code == ExitCode::Success) {
        record.rows[0].push_back(std::to_string(window.controls().ListView1.rowCount()));
    }
    // "Save profile" says in its box why the file could not be written: the document says it
    // too, while standard error has it once.
    Outcome told = outcome;
    if (told.message.empty() && !window.boxes().empty()) {
        told.message = window.boxes().back().text;
    }
    output = renderRecord(line.format, record, told);
    return outcome;
}

} // namespace tollen::cli
