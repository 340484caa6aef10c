// The command-line program's parts that need no window: its argument parser, its JSON and table
// writers and the checks of what the user typed.

#include "cli/CommandLine.h"

#include "cli/ArgumentText.h"
#include "cli/CommandTail.h"
#include "cli/JsonWriter.h"
#include "cli/Table.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tollen::cli {
namespace {

using Action = ParsedCommandLine::Action;
using namespace std::string_literals;

ParsedCommandLine parse(std::vector<std::string> arguments)
{
    return parseCommandLine(arguments);
}

TEST(CommandLine, CommandsTakeTheirArgumentsAndOptionsAnywhere)
{
    const auto search = parse({"--format", "json", "search", "PCI\\VEN_8086", "--refine=DEV_100E",
                               "--refine", "SUBSYS_1", "-y"});
    ASSERT_EQ(search.action, Action::Run) << search.text;
    const CommandLine &line = search.commandLine;
    EXPECT_EQ(line.command, Command::Search);
    EXPECT_EQ(line.arguments, std::vector<std::string>{"PCI\\VEN_8086"});
    EXPECT_EQ(line.format, OutputFormat::Json);
    EXPECT_EQ(line.refinements, (std::vector<std::string>{"DEV_100E", "SUBSYS_1"}));
    EXPECT_TRUE(line.yes);

    const auto download = parse({"download", "-o", "x.zip", "--", "-odd/path.zip"});
    ASSERT_EQ(download.action, Action::Run) << download.text;
    EXPECT_EQ(download.commandLine.output, "x.zip");
    EXPECT_EQ(download.commandLine.arguments, std::vector<std::string>{"-odd/path.zip"});
}

TEST(CommandLine, HelpAndVersionWinOverEverythingButUnknownOptions)
{
    struct Row
    {
        std::vector<std::string> arguments;
        Action action;
        std::string textHolds;
    };
    const Row rows[] = {
        {{"--help"}, Action::ShowHelp, "Exit codes:"},
        {{"search", "--help"}, Action::ShowHelp, "--refine ENTRY"},
        {{"match", "-h", "extra", "words"},
         Action::ShowHelp,
         "Usage: tollen-cli match [SOURCE | ID]"},
        {{"devices", "--version"}, Action::ShowVersion, "tollen-cli "},
        {{"--help", "--bogus"}, Action::UsageError, "unknown option '--bogus'"},
    };
    for (const Row &row : rows) {
        const auto parsed = parse(row.arguments);
        EXPECT_EQ(parsed.action, row.action) << row.arguments.front();
        EXPECT_NE(parsed.text.find(row.textHolds), std::string::npos) << parsed.text;
    }
}

TEST(CommandLine, MistakesAreOneLineUsageErrorsNamingTheProblem)
{
    struct Row
    {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Row rows[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"/"}, "unknown command '/' (to list the devices of a file: tollen-cli devices FILE)"},
        {{"profile"}, "profile needs a subcommand: save"},
        {{"profile", "load", "x"}, "unknown profile subcommand 'load'"},
        {{"profile", "save"}, "profile save needs FILE [SOURCE]"},
        {{"search"}, "search needs QUERY"},
        {{"criteria", "a", "b"}, "too many arguments for criteria (ID)"},
        {{"devices", "--format"}, "option '--format' needs a value (FORMAT)"},
        {{"devices", "--format", "xml"}, "unknown format 'xml' (text, tsv or json)"},
        {{"devices", "--yes"}, "option '--yes' does not apply to devices"},
        {{"devices", "--http", "file:///x"}, "option '--http' does not apply to devices"},
        {{"search", "q", "-o", "x"}, "option '-o' does not apply to search"},
        {{"search", "q", "--yes=1"}, "option '--yes' takes no value"},
        {{"search", "q", "--http", "a", "--ftp", "b"}, "--http and --ftp cannot be given together"},
        {{"search", "q", "--user", "a", "--user", "b"}, "option '--user' is given twice"},
    };
    for (const Row &row : rows) {
        const auto parsed = parse(row.arguments);
        EXPECT_EQ(parsed.action, Action::UsageError) << row.message;
        EXPECT_EQ(parsed.text.substr(0, row.message.size()), row.message) << parsed.text;
        EXPECT_EQ(parsed.text.find('\n'), std::string::npos) << parsed.text;
    }
}

TEST(CommandLine, TextsTypedByTheUserAreShortPrintableUtf8)
{
    EXPECT_FALSE(argumentProblem("QUERY", "PCI\\VEN_8086&DEV_100E", kQueryLimit));
    EXPECT_FALSE(argumentProblem("QUERY", "USB\\VID_046D Gerät", kQueryLimit));
    EXPECT_FALSE(argumentProblem("--user", "", kPathLimit, true));
    struct Row
    {
        std::string text;
        std::string problem;
    };
    const Row rows[] = {
        {"", "QUERY is empty"},
        {std::string(64 * 1024, 'A'), "QUERY is too long (65536 bytes; at most 1024)"},
        {"PCI\\VEN_8086\n&DEV_1", "QUERY holds a control character"},
        {"PCI\0X"s, "QUERY holds a control character"},
        {"PCI\\\xFF\xFE", "QUERY is not UTF-8 text"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(argumentProblem("QUERY", row.text, kQueryLimit).value_or(""), row.problem);
    }
}

TEST(CommandTail, JoinsTheArgumentsAfterTheProgramWithSingleSpaces)
{
    struct Row
    {
        std::vector<const char *> argv;
        std::string tail;
    };
    const Row rows[] = {
        {{"tollen"}, ""},
        {{"tollen", "/home/me/office pc.hwp"}, "/home/me/office pc.hwp"},
        {{"tollen", "/home/me/office", "pc.hwp"}, "/home/me/office pc.hwp"},
        {{"tollen", "", "x"}, " x"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(commandTail(static_cast<int>(row.argv.size()), row.argv.data()), row.tail);
    }
}

TEST(JsonWriter, AnyBytesMakeADocumentThatParsesBackToTheirText)
{
    struct Row
    {
        std::string given;
        std::string parsed;
    };
    const Row rows[] = {
        {"plain", "plain"},
        {"quote \" backslash \\ slash /", "quote \" backslash \\ slash /"},
        {"nul\0tab\tcr\rlf\nesc\x1B del\x7F"s, "nul\0tab\tcr\rlf\nesc\x1B del\x7F"s},
        {"Gerät ✓ 😀", "Gerät ✓ 😀"},
        {"line\u2028separator", "line\u2028separator"},
        {"stray \xFF byte, cut \xE2\x82", "stray \uFFFD byte, cut \uFFFD\uFFFD"},
        {"surrogate \xED\xA0\x80", "surrogate \uFFFD\uFFFD\uFFFD"},
        {"overlong \xC0\xAF", "overlong \uFFFD\uFFFD"},
    };
    JsonWriter json;
    json.beginObject();
    json.key("rows");
    json.beginArray();
    for (const Row &row : rows) {
        json.value(row.given);
    }
    json.endArray();
    json.key("number");
    json.value(std::int64_t{-42});
    json.key("flag");
    json.value(true);
    json.key("nothing");
    json.null();
    json.key("empty");
    json.beginObject();
    json.endObject();
    json.key("key \x01\xFF");
    json.beginArray();
    json.endArray();
    json.endObject();

    const auto document = nlohmann::json::parse(json.text());
    ASSERT_EQ(document["rows"].size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(document["rows"][i].get<std::string>(), rows[i].parsed) << i;
    }
    EXPECT_EQ(document["number"], -42);
    EXPECT_EQ(document["flag"], true);
    EXPECT_TRUE(document["nothing"].is_null());
    EXPECT_TRUE(document["empty"].is_object() && document["empty"].empty());
    EXPECT_TRUE(document["key \x01\uFFFD"].is_array());
    // Control characters never appear raw: each is an escape.
    for (const char byte : json.text()) {
        EXPECT_TRUE(static_cast<unsigned char>(byte) >= 0x20 || byte == '\n');
    }
}

TEST(Table, ColumnsAlignForAPersonAndSeparateByTabsForAScript)
{
    const Table table{{"Device ID", "Device Name", "Rows"},
                      {{"PCI\\VEN_8086", "Netzwerkkarte Gerät", "12"},
                       {"USB\\VID_046D&PID_C52B", "evil\x1B[2J\ttab\r\nline", "3"},
                       {"HDAUDIO\\FUNC_01", "", ""}},
                      {ColumnKind::Text, ColumnKind::Text, ColumnKind::Number}};
    EXPECT_EQ(alignedText(table), "Device ID              Device Name          Rows\n"
                                  "PCI\\VEN_8086           Netzwerkkarte Gerät  12\n"
                                  "USB\\VID_046D&PID_C52B  evil\uFFFD[2J tab  line   3\n"
                                  "HDAUDIO\\FUNC_01\n");
    EXPECT_EQ(tabSeparated(table), "Device ID\tDevice Name\tRows\n"
                                   "PCI\\VEN_8086\tNetzwerkkarte Gerät\t12\n"
                                   "USB\\VID_046D&PID_C52B\tevil\uFFFD[2J tab  line\t3\n"
                                   "HDAUDIO\\FUNC_01\t\t\n");
    JsonWriter json;
    writeRows(json, table);
    const auto rows = nlohmann::json::parse(json.text());
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0]["Device Name"], "Netzwerkkarte Gerät");
    EXPECT_EQ(rows[0]["Rows"], 12);
    EXPECT_EQ(rows[1]["Device Name"], "evil\x1B[2J\ttab\r\nline");
    EXPECT_EQ(rows[2]["Rows"], "");
}

} // namespace
} // namespace tollen::cli
