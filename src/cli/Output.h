#pragma once
// What the commands print on standard output, in the format the user chose. Text and TSV show
// what a command found, and nothing when it found nothing. A JSON document comes out in every
// outcome of a command, so that a script always has one to read: its lists are empty when the
// command failed, and its last member, "message", says why (null when all went well).

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/Table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::cli {

/// A member of a JSON document besides its tables; no value is written as null.
struct JsonField
{
    std::string name;
    std::optional<std::string> value;
};

/// A table with something to say about it: in text and TSV the table alone; in JSON one object
/// holding `fields`, then the rows under `key` (none unless the command succeeded), then the
/// message.
std::string renderListing(OutputFormat format, const std::vector<JsonField> &fields,
                          std::string_view key, const Table &table, const Outcome &outcome);

/// A single result: in text and TSV a table of its one row, in JSON one object with the
/// message. A failed command's row holds only what it was given; the other members are null.
std::string renderRecord(OutputFormat format, const Table &table, const Outcome &outcome);

void writeFields(JsonWriter &json, const std::vector<JsonField> &fields);

/// The last member of every JSON document: the outcome's message, null when there is none.
void writeMessage(JsonWriter &json, const Outcome &outcome);

/// The JSON document of a command that ended before it could say what it found: the message
/// alone.
std::string messageDocument(const Outcome &outcome);

} // namespace tollen::cli
