#include "cli/Output.h"

namespace tollen::cli {

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

void writeMessage(JsonWriter &json, const Outcome &outcome)
{
    writeFields(json, {{"message",
                        outcome.message.empty() ? std::nullopt : std::optional(outcome.message)}});
}

std::string renderListing(OutputFormat format, const std::vector<JsonField> &fields,
                          std::string_view key, const Table &table, const Outcome &outcome)
{
    const bool succeeded = outcome.code == ExitCode::Success;
    switch (format) {
    case OutputFormat::Text:
        return succeeded ? alignedText(table) : std::string();
    case OutputFormat::Tsv:
        return succeeded ? tabSeparated(table) : std::string();
    case OutputFormat::Json:
        break;
    }
    JsonWriter json;
    json.beginObject();
    writeFields(json, fields);
    json.key(key);
    writeRows(json, succeeded ? table : Table{});
    writeMessage(json, outcome);
    json.endObject();
    return json.text();
}

std::string renderRecord(OutputFormat format, const Table &table, const Outcome &outcome)
{
    if (format != OutputFormat::Json) {
        if (outcome.code != ExitCode::Success) {
            return {};
        }
        return format == OutputFormat::Text ? alignedText(table) : tabSeparated(table);
    }
    JsonWriter json;
    json.beginObject();
    writeRowMembers(json, table, 0);
    writeMessage(json, outcome);
    json.endObject();
    return json.text();
}

std::string messageDocument(const Outcome &outcome)
{
    JsonWriter json;
    json.beginObject();
    writeMessage(json, outcome);
    json.endObject();
    return json.text();
}

} // namespace tollen::cli
