// search QUERY [--refine ENTRY]...: the driver rows and refinement entries of a query.

#include "cli/ArgumentText.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/QueryOutcome.h"
#include "core/Text.h"
#include "database/PastedId.h"

namespace tollen::cli {

namespace {

/// The refinement list's caption, the heading of its entries.
constexpr const char *kRefinementHeading = "Subsys/DEVs";
/// A message names at most this many entries.
constexpr int kEntriesNamed = 8;

std::string entriesOf(const controls::ListBox &list)
{
    if (list.count() == 0) {
        return "it has none";
    }
    std::string text = "entries:";
    for (int entry = 0; entry < list.count() && entry < kEntriesNamed; ++entry) {
        text += ' ' + list.item(entry);
    }
    return list.count() > kEntriesNamed ? text + " ..." : text;
}

std::string render(const CommandLine &line, const std::string &query, const Table &drivers,
                   const std::vector<std::string> &entries, const Outcome &outcome)
{
    Table refinements{{kRefinementHeading}, {}, {}};
    for (const std::string &entry : entries) {
        refinements.rows.push_back({entry});
    }
    const bool found = outcome.code == ExitCode::Success;
    if (!found && line.format != OutputFormat::Json) {
        return {};
    }
    switch (line.format) {
    case OutputFormat::Text:
        return alignedText(drivers) +
               (refinements.rows.empty() ? std::string() : '\n' + alignedText(refinements));
    case OutputFormat::Tsv:
        return tabSeparated(drivers) + '\n' + tabSeparated(refinements);
    case OutputFormat::Json:
        break;
    }
    JsonWriter json;
    json.beginObject();
    json.key("query");
    json.value(query);
    json.key("refine");
    json.beginArray();
    for (const std::string &entry : line.refinements) {
        json.value(entry);
    }
    json.endArray();
    json.key("drivers");
    writeRows(json, found ? drivers : Table{});
    json.key("refinements");
    json.beginArray();
    for (const std::string &entry : found ? entries : std::vector<std::string>{}) {
        json.value(entry);
    }
    json.endArray();
    writeMessage(json, outcome);
    json.endObject();
    return json.text();
}

/// "Other device" with `query` typed, then a double-click on each refinement entry.
Outcome search(const CommandLine &line, const std::string &query, CommandLineWindow &window)
{
    if (const auto problem = argumentProblem("QUERY", query, kQueryLimit)) {
        return {ExitCode::Usage, *problem};
    }
    for (const std::string &entry : line.refinements) {
        if (const auto problem = argumentProblem("ENTRY", entry, kQueryLimit)) {
            return {ExitCode::Usage, *problem};
        }
    }
    if (Outcome opened = window.open(std::nullopt, false); opened.code != ExitCode::Success) {
        return opened;
    }
    if (Outcome network = window.applyNetwork(line.network); network.code != ExitCode::Success) {
        return network;
    }
    window.setConfirm(line.yes);
    window.setInputAnswer(query);
    ui::HeadlessForm1 &controls = window.controls();

    // "Other device" with the query typed into its box.
    std::string asked = query;
    Outcome result = runQuery(
        window, [&] { return window.form().Command2_Click(); }, asked);
    for (const std::string &entry : line.refinements) {
        if (result.code != ExitCode::Success) {
            return result;
        }
        const int index = controls.List2.findStringExact(entry);
        if (index == controls::ListBox::kNotFound) {
            return {ExitCode::NothingFound, entry + " is not a refinement entry of " + asked +
                                                " (" + entriesOf(controls.List2) + ")"};
        }
        // A double-click on the entry.
        controls.List2.select(index);
        asked += " refined by " + controls.List2.item(index);
        result = runQuery(
            window, [&] { return window.form().List2_DblClick(); }, asked);
    }
    return result;
}

} // namespace

Outcome runSearch(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    // Hardware IDs are case-blind, and the database holds them in upper case; an ID pasted in
    // lspci's form is written as the database writes it.
    const std::string &typed = line.arguments.at(0);
    const std::string query =
        database::pastedHardwareId(typed, line.bus).value_or(asciiUpper(typed));
    const Outcome outcome = search(line, query, window);
    const ui::HeadlessForm1 &controls = window.controls();
    output = render(line, query, tableOf(controls.ListView2), controls.List2.items(), outcome);
    return outcome;
}

} // namespace tollen::cli
