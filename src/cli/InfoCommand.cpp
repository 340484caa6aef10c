// info: the description of the database on the host, as tollen-index wrote it into the tree.

#include "cli/Commands.h"
#include "cli/Output.h"
#include "database/DatabaseDescription.h"
#include "database/IndexFiles.h"

namespace tollen::cli {

namespace {

/// Fetches and reads the host's description.
Outcome describe(const CommandLine &line, CommandLineWindow &window,
                 database::DatabaseDescription &description)
{
    if (Outcome opened = window.open(std::nullopt, false); opened.code != ExitCode::Success) {
        return opened;
    }
    if (Outcome network = window.applyNetwork(line.network); network.code != ExitCode::Success) {
        return network;
    }
    database::RemoteIndexFiles files(window.form().transfers());
    const std::string path(database::kDatabaseDescriptionPath);
    const database::IndexFileText fetched = files.fetch(path);
    switch (fetched.kind) {
    case database::IndexFileText::Kind::Failed:
        return {ExitCode::TransferFailed, "transfer failed: " + fetched.reason};
    case database::IndexFileText::Kind::Missing:
        return {ExitCode::NothingFound,
                "the host holds no " + path.substr(1) +
                    ": it may not be a database root, or tollen-index built its database before "
                    "databases described themselves"};
    case database::IndexFileText::Kind::Found:
        break;
    }
    database::DescriptionReading reading = database::readDatabaseDescription(fetched.text);
    if (!reading.description) {
        return {ExitCode::NothingFound, "cannot read " + path.substr(1) + ": " + reading.problem};
    }
    description = std::move(*reading.description);
    return {};
}

} // namespace

Outcome runInfo(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    database::DatabaseDescription description;
    const Outcome outcome = describe(line, window, description);
    Table record{{"Format", "Builder", "Built", "Packages", "INF Files", "Lines", "Index Files"},
                 {{}},
                 {ColumnKind::Number, ColumnKind::Text, ColumnKind::Text, ColumnKind::Number,
                  ColumnKind::Number, ColumnKind::Number, ColumnKind::Number}};
    if (outcome.code == ExitCode::Success) {
        record.rows[0] = {std::to_string(description.format),
                          description.builder,
                          description.built,
                          std::to_string(description.packages),
                          std::to_string(description.infFiles),
                          std::to_string(description.lines),
                          std::to_string(description.indexFiles)};
    }
    output = renderRecord(line.format, record, outcome);
    return outcome;
}

} // namespace tollen::cli
