// criteria ID: the search criteria the window derives from a device ID.

#include "cli/ArgumentText.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "core/Text.h"
#include "inventory/DeviceRecords.h"

namespace tollen::cli {

namespace {

/// A click on a device row holding `id`; the criteria list it fills, the preselected entry
/// marked.
Outcome listCriteria(const std::string &id, CommandLineWindow &window, Table &table)
{
    if (const auto problem = argumentProblem("ID", id, kQueryLimit)) {
        return {ExitCode::Usage, *problem};
    }
    if (Outcome opened = window.open(std::nullopt, false); opened.code != ExitCode::Success) {
        return opened;
    }
    ui::HeadlessForm1 &controls = window.controls();
    controls.ListView1.clear();
    inventory::AddDeviceRecord(controls.ListView1, id, {});
    controls.ListView1.selectRow(1);
    controls.ListView1.onItemClick(1);
    for (int entry = 0; entry < controls.List1.count(); ++entry) {
        table.rows.push_back(
            {controls.List1.item(entry), entry == controls.List1.selectedIndex() ? "yes" : "no"});
    }
    return {};
}

} // namespace

Outcome runCriteria(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    // Hardware IDs are case-blind; the window knows the buses, and the database holds the IDs,
    // in upper case.
    const std::string id = asciiUpper(line.arguments.at(0));
    Table table{{"Criterion", "Preselected"}, {}, {ColumnKind::Text, ColumnKind::YesNo}};
    const Outcome outcome = listCriteria(id, window, table);
    output = renderListing(line.format, {{"Device ID", id}}, "criteria", table, outcome);
    return outcome;
}

} // namespace tollen::cli
