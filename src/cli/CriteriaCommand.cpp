// criteria ID: the search criteria the window derives from a device ID, and the IDs a driver is
// matched against, in Windows' rank order.

#include "cli/ArgumentText.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "core/Text.h"
#include "database/PastedId.h"
#include "inventory/DeviceInventory.h"
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

/// The device's hardware IDs, then its compatible IDs, best first.
Table rankedIds(const std::string &id)
{
    const inventory::Device device = inventory::deviceOfId(id, {});
    Table table{{"Rank", "ID", "Kind"}, {}, {ColumnKind::Number}};
    for (const auto &[ids, kind] : {std::pair(&device.hardwareIds, "hardware"),
                                    std::pair(&device.compatibleIds, "compatible")}) {
        for (const std::string &each : *ids) {
            table.rows.push_back({std::to_string(table.rows.size() + 1), each, kind});
        }
    }
    return table;
}

std::string render(OutputFormat format, const std::string &id, const Table &criteria,
                   const Table &ids, const Outcome &outcome)
{
    const bool listed = outcome.code == ExitCode::Success;
    switch (format) {
    case OutputFormat::Text:
        return listed ? alignedText(criteria) + '\n' + alignedText(ids) : std::string();
    case OutputFormat::Tsv:
        return listed ? tabSeparated(criteria) + '\n' + tabSeparated(ids) : std::string();
    case OutputFormat::Json:
        break;
    }
    JsonWriter json;
    json.beginObject();
    writeFields(json, {{"Device ID", id}});
    json.key("criteria");
    writeRows(json, listed ? criteria : Table{});
    json.key("ids");
    writeRows(json, listed ? ids : Table{});
    writeMessage(json, outcome);
    json.endObject();
    return json.text();
}

} // namespace

Outcome runCriteria(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    // Hardware IDs are case-blind; the window knows the buses, and the database holds the IDs,
    // in upper case. An ID in lspci's form is written as the database writes it.
    const std::string &typed = line.arguments.at(0);
    const std::string id = database::pastedHardwareId(typed, line.bus).value_or(asciiUpper(typed));
    Table table{{"Criterion", "Preselected"}, {}, {ColumnKind::Text, ColumnKind::YesNo}};
    const Outcome outcome = listCriteria(id, window, table);
    output = render(line.format, id, table, rankedIds(id), outcome);
    return outcome;
}

} // namespace tollen::cli
