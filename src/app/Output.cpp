#include "app/Output.h"

namespace tollen::app {

void writeFields(JsonWriter &json, const std::vector<JsonField> &fields)
{
    for (const JsonField &field : fields) {
        json.key(field.name);
        if (field.value) {
            json.value(*field.value);
        } else {
            json.null();
        }
    }
}

std::string renderListing(OutputFormat format, const std::vector<JsonField> &fields,
                          std::string_view key, const Table &table)
{
    switch (format) {
    case OutputFormat::Text:
        return alignedText(table);
    case OutputFormat::Tsv:
        return tabSeparated(table);
    case OutputFormat::Json:
        break;
    }
    JsonWriter json;
    json.beginObject();
    writeFields(json, fields);
    json.key(key);
    writeRows(json, table);
    json.endObject();
    return json.text();
}

std::string renderRecord(OutputFormat format, const Table &table)
{
    if (format != OutputFormat::Json) {
        return format == OutputFormat::Text ? alignedText(table) : tabSeparated(table);
    }
    JsonWriter json;
    writeRow(json, table, 0);
    return json.text();
}

} // namespace tollen::app
