#include "database/IndexLine.h"

#include <gtest/gtest.h>
#include <vector>

namespace tollen::database {
namespace {

std::vector<std::string> fieldsOf(std::string_view line)
{
    const IndexFields fields = splitIndexLine(line);
    std::vector<std::string> texts;
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        texts.push_back(fields[static_cast<IndexField>(index)]);
    }
    return texts;
}

TEST(IndexLine, SplitsNineFieldsAndIgnoresWhatFollowsTheNinthSeparator)
{
    using Fields = std::vector<std::string>;
    struct Row
    {
        const char *line;
        Fields fields;
    };
    const Row rows[] = {
        {R"(Archived"Intel"PRO/1000 MT"PCI\VEN_8086&DEV_100E"Net"NTX86"8.4.21.0"05/21/2008"/a.zip)",
         {"Archived", "Intel", "PRO/1000 MT", R"(PCI\VEN_8086&DEV_100E)", "Net", "NTX86",
          "8.4.21.0", "05/21/2008", "/a.zip"}},
        // Field 8 runs to the end of a line with eight separators; after a ninth it stops.
        {R"(0"1"2"3"4"5"6"7"8 and more)", {"0", "1", "2", "3", "4", "5", "6", "7", "8 and more"}},
        {R"(0"1"2"3"4"5"6"7"8"9"10)", {"0", "1", "2", "3", "4", "5", "6", "7", "8"}},
        // Fewer than eight separators: the last field repeats in every later column.
        {R"(Folder"Acme"Widget)",
         {"Folder", "Acme", "Widget", "Widget", "Widget", "Widget", "Widget", "Widget", "Widget"}},
        {"", Fields(kFieldCount, "")},
        {R"(""""""""")", Fields(kFieldCount, "")},
        // A lone line feed belongs to the line's text.
        {"a\nb\"c", {"a\nb", "c", "c", "c", "c", "c", "c", "c", "c"}},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(fieldsOf(row.line), row.fields) << row.line;
    }
}

TEST(IndexLine, AJoinedLineSplitsBackIntoItsCleanedFields)
{
    IndexFields fields;
    fields[IndexField::Type] = "Archived";
    fields[IndexField::Manufacturer] = "Acme \"Best\" Devices";
    fields[IndexField::DeviceName] = "Line\r\nbreak";
    fields[IndexField::RemotePath] = "/packs/a.zip/x.inf";
    const std::string line = joinIndexLine(fields);
    EXPECT_EQ(line, "Archived\"Acme 'Best' Devices\"Line  break\"\"\"\"\"\"/packs/a.zip/x.inf");

    IndexFields cleaned = fields;
    cleaned[IndexField::Manufacturer] = "Acme 'Best' Devices";
    cleaned[IndexField::DeviceName] = "Line  break";
    EXPECT_EQ(splitIndexLine(line), cleaned);
}

TEST(IndexLineReader, EndsLinesAtCarriageReturnsWithOrWithoutLineFeed)
{
    struct Row
    {
        std::string_view text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\rtwo\rthree", {"one", "two", "three"}},
        {"one\ntwo\n", {"one\ntwo\n"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\r\n", {"", ""}},
        {"a\r\n\nb", {"a", "\nb"}},
    };
    for (const Row &row : rows) {
        IndexLineReader reader(row.text);
        std::vector<std::string> lines;
        for (std::string_view line; reader.next(line);) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, row.lines) << testing::PrintToString(std::string(row.text));
    }
}

} // namespace
} // namespace tollen::database
