#pragma once
// What the commands print on standard output, in the format the user chose.

#include "app/CommandLine.h"
#include "app/Table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::app {

/// A member of a JSON document besides its tables; no value is written as null.
struct JsonField
{
    std::string name;
    std::optional<std::string> value;
};

/// A table with something to say about it: in text and TSV the table alone; in JSON one object
/// holding `fields`, then the rows under `key`.
std::string renderListing(OutputFormat format, const std::vector<JsonField> &fields,
                          std::string_view key, const Table &table);

/// A single result: in text and TSV a table of its one row, in JSON one object.
std::string renderRecord(OutputFormat format, const Table &table);

void writeFields(JsonWriter &json, const std::vector<JsonField> &fields);

} // namespace tollen::app
