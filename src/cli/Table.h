#pragma once
// A table of text as the commands print it: aligned columns for a person, tab-separated lines
// for a script, or an array of objects in a JSON document, each object's members named as the
// columns.

#include "cli/JsonWriter.h"

#include <string>
#include <vector>

namespace tollen::controls {
class ListView;
}

namespace tollen::cli {

/// How a column's texts go into JSON: as strings, as numbers, or "yes" as true and any other
/// text as false.
enum class ColumnKind { Text, Number, YesNo };

struct Table
{
    std::vector<std::string> headings;
    /// Each row holds one text per heading.
    std::vector<std::vector<std::string>> rows;
    /// The kind of each column; columns without one are Text.
    std::vector<ColumnKind> kinds;
};

/// The headings, then each row, columns padded to their widest text and two spaces apart; the
/// last column is not padded. Control characters are replaced (printable()).
std::string alignedText(const Table &table);

/// A line of headings, then one line per row, fields separated by tabs. Control characters,
/// tabs and line breaks within a field are replaced (printable()).
std::string tabSeparated(const Table &table);

/// One row as the members of an object, named by the headings; the columns past the row's last
/// field (values a command did not learn) are null.
void writeRowMembers(JsonWriter &json, const Table &table, std::size_t row);

/// One row as an object of such members.
void writeRow(JsonWriter &json, const Table &table, std::size_t row);

/// The rows as an array of such objects.
void writeRows(JsonWriter &json, const Table &table);

/// The rows of a report-view list with its column headings.
Table tableOf(const controls::ListView &list);

} // namespace tollen::cli
