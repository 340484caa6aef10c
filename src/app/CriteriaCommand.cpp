// criteria ID: the search criteria the window derives from a device ID.

#include "app/ArgumentText.h"
#include "app/Commands.h"
#include "app/Output.h"
#include "inventory/DeviceRecords.h"

namespace tollen::app {

Outcome runCriteria(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    const std::string &id = line.arguments.at(0);
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

    Table table{{"Criterion", "Preselected"}, {}, {ColumnKind::Text, ColumnKind::YesNo}};
    for (int entry = 0; entry < controls.List1.count(); ++entry) {
        table.rows.push_back(
            {controls.List1.item(entry), entry == controls.List1.selectedIndex() ? "yes" : "no"});
    }
    output = renderListing(line.format, {{"Device ID", id}}, "criteria", table);
    return {};
}

} // namespace tollen::app
