#include "cli/Table.h"

#include "cli/PrintableText.h"
#include "controls/ListView.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace tollen::cli {

namespace {

std::string joinedLine(const std::vector<std::string> &fields,
                       const std::vector<std::size_t> &widths)
{
    std::string line;
    for (std::size_t column = 0; column < fields.size(); ++column) {
        const std::string field = printable(fields[column]);
        line += field;
        if (column + 1 < fields.size()) {
            line.append(widths[column] - displayWidth(field) + 2, ' ');
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line + '\n';
}

} // namespace

std::string alignedText(const Table &table)
{
    std::vector<std::size_t> widths(table.headings.size(), 0);
    auto widen = [&](const std::vector<std::string> &fields) {
        for (std::size_t column = 0; column < fields.size() && column < widths.size(); ++column) {
            widths[column] = std::max(widths[column], displayWidth(printable(fields[column])));
        }
    };
    widen(table.headings);
    for (const auto &row : table.rows) {
        widen(row);
    }
    std::string text = joinedLine(table.headings, widths);
    for (const auto &row : table.rows) {
        text += joinedLine(row, widths);
    }
    return text;
}

std::string tabSeparated(const Table &table)
{
    auto line = [](const std::vector<std::string> &fields) {
        std::string text;
        for (std::size_t column = 0; column < fields.size(); ++column) {
            if (column > 0) {
                text += '\t';
            }
            text += printable(fields[column]);
        }
        return text + '\n';
    };
    std::string text = line(table.headings);
    for (const auto &row : table.rows) {
        text += line(row);
    }
    return text;
}

void writeRowMembers(JsonWriter &json, const Table &table, std::size_t row)
{
    const auto &fields = table.rows.at(row);
    for (std::size_t column = 0; column < table.headings.size(); ++column) {
        json.key(table.headings[column]);
        if (column >= fields.size()) {
            json.null();
            continue;
        }
        const std::string_view field = fields[column];
        const ColumnKind kind =
            column < table.kinds.size() ? table.kinds[column] : ColumnKind::Text;
        std::int64_t number = 0;
        const auto *end = field.data() + field.size();
        if (kind == ColumnKind::YesNo) {
            json.value(field == "yes");
        } else if (kind == ColumnKind::Number && !field.empty() &&
                   std::from_chars(field.data(), end, number).ptr == end) {
            json.value(number);
        } else {
            json.value(field);
        }
    }
}

void writeRow(JsonWriter &json, const Table &table, std::size_t row)
{
    json.beginObject();
    writeRowMembers(json, table, row);
    json.endObject();
}

void writeRows(JsonWriter &json, const Table &table)
{
    json.beginArray();
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        writeRow(json, table, row);
    }
    json.endArray();
}

Table tableOf(const controls::ListView &list)
{
    Table table;
    for (int column = 1; column <= list.columnCount(); ++column) {
        table.headings.push_back(list.column(column).heading);
    }
    for (int row = 1; row <= list.rowCount(); ++row) {
        std::vector<std::string> fields{list.text(row)};
        for (int subItem = 1; subItem < list.columnCount(); ++subItem) {
            fields.push_back(list.subItem(row, subItem));
        }
        table.rows.push_back(std::move(fields));
    }
    return table;
}

} // namespace tollen::cli
