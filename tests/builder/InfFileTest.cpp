#include "builder/InfFile.h"

#include "InfTestText.h"
#include "builder/InfText.h"

#include <gtest/gtest.h>

namespace tollen::builder {
namespace {

using Values = std::vector<std::string>;

InfLine keyed(std::string key, Values values)
{
    return InfLine{std::move(key), std::move(values)};
}

InfLine unkeyed(Values values)
{
    return InfLine{std::nullopt, std::move(values)};
}

std::vector<InfLine> linesOf(const InfFile &inf, std::string_view section)
{
    std::vector<InfLine> lines;
    inf.forEachLine(section, [&](const InfLine &line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

std::optional<std::string> substituted(const InfFile &inf, std::string_view value)
{
    std::size_t room = std::string::npos;
    return inf.substituteStrings(value, room);
}

TEST(InfText, DecodesEveryEncodingInfFilesComeIn)
{
    const std::string utf8 =
        "[Strings]\r\nName = \"Caf\xC3\xA9 \xE2\x84\xA2 \xF0\x9F\x94\x8C\"\r\n";
    // UTF-16LE with a byte-order mark, UTF-8 with and without one.
    for (const std::string &bytes :
         {testing::utf16LittleEndian(utf8), "\xEF\xBB\xBF" + utf8, utf8}) {
        EXPECT_EQ(substituted(InfFile(decodeInfText(bytes)), "%Name%"),
                  "Caf\xC3\xA9 \xE2\x84\xA2 \xF0\x9F\x94\x8C");
    }
    const std::string windows1252 = "[Strings]\r\nName = \"Caf\xE9 \x99 \x80\"\r\n";
    EXPECT_EQ(substituted(InfFile(decodeInfText(windows1252)), "%Name%"),
              "Caf\xC3\xA9 \xE2\x84\xA2 \xE2\x82\xAC");
}

TEST(InfFile, SplitsLinesIntoKeysAndValuesAsWindowsDoes)
{
    struct Row
    {
        const char *what;
        std::string text;
        std::vector<InfLine> lines;
    };
    const Row rows[] = {
        {"key and values", "a = b, c", {keyed("a", {"b", "c"})}},
        {"no key", R"(PCI\VEN_1, x)", {unkeyed({R"(PCI\VEN_1)", "x"})}},
        {"blanks and tabs trimmed", "\t a \t=\t b ,\tc\t", {keyed("a", {"b", "c"})}},
        {"empty values kept", "a = , ,x,", {keyed("a", {"", "", "x", ""})}},
        {"comment removed", "a = b ; c, d", {keyed("a", {"b"})}},
        {"quotes keep commas, semicolons and equals signs",
         R"("x;y=z" = "1,2" , 3 ; comment)",
         {keyed("x;y=z", {"1,2", "3"})}},
        {"doubled quotes inside quotes", R"(a = "say ""hi"""  )", {keyed("a", {"say \"hi\""})}},
        {"quoted blanks kept", R"(a = " b ")", {keyed("a", {" b "})}},
        {"an unclosed quote runs to the end",
         R"(a = "open, still ; here)",
         {keyed("a", {"open, still ; here"})}},
        {"continuation joins the next line",
         "a = b, \\\r\n   c\r\nd = e",
         {keyed("a", {"b", "c"}), keyed("d", {"e"})}},
        {"a comment ending in a backslash joins nothing",
         "a = b ; note \\\r\nc = d",
         {keyed("a", {"b"}), keyed("c", {"d"})}},
        {"continuation on the last line", "a = b \\", {keyed("a", {"b"})}},
        {"lone CR and LF end lines",
         "a=1\rb=2\nc=3\r\n\r\nd=4",
         {keyed("a", {"1"}), keyed("b", {"2"}), keyed("c", {"3"}), keyed("d", {"4"})}},
        {"blank lines and comment lines skipped", "\r\n   \r\n;x\r\na=1", {keyed("a", {"1"})}},
        {"an equals sign in a value", "a = b=c", {keyed("a", {"b=c"})}},
    };
    for (const Row &row : rows) {
        const InfFile inf("[S]\r\n" + row.text);
        EXPECT_EQ(linesOf(inf, "S"), row.lines) << row.what;
    }
}

TEST(InfFile, SectionsMatchIgnoringCaseAndMergeWhenNamedTwice)
{
    const InfFile inf("a = before any section\r\n"
                      "[ Version ]\r\nClass=Net\r\n"
                      "[Models]\r\nOne = i, PCI\\A\r\n"
                      "[version] trailing text\r\nDriverVer=01/02/2003,1.2\r\n"
                      "[\xC3\x89tude]\r\nx=1\r\n");
    EXPECT_FALSE(inf.hasUnclosedSectionName());
    EXPECT_TRUE(inf.hasSection("VERSION"));
    EXPECT_EQ(
        linesOf(inf, "VeRsIoN"),
        (std::vector<InfLine>{keyed("Class", {"Net"}), keyed("DriverVer", {"01/02/2003", "1.2"})}));
    // Only ASCII letters match ignoring case.
    EXPECT_TRUE(inf.hasSection("\xC3\x89TUDE"));
    EXPECT_FALSE(inf.hasSection("\xC3\xA9tude"));
    EXPECT_FALSE(inf.hasSection("Missing"));
    EXPECT_TRUE(linesOf(inf, "Missing").empty());
    // A last line that lost nothing to the reading has no line end.
    EXPECT_EQ(linesOf(InfFile("[S]\na=b"), "s"), std::vector<InfLine>{keyed("a", {"b"})});
}

TEST(InfFile, LooksUpStringsInTheirOrderOfPrecedence)
{
    const InfFile inf("[Strings.0407]\r\nA=de\r\nB=deB\r\nC=deC\r\n"
                      "[Strings.0409]\r\nA=us\r\nB=usB\r\n"
                      "[Strings]\r\nA=neutral\r\na=second of the same key\r\n"
                      "Next=\"%A%\"\r\nList = a, \"b\"\r\n"
                      "\"Quoted \"\"Key\"\"\" = q1\r\n\"Qb\" = q2\r\n\"Qbc\" = q3\r\n"
                      "[strings.040C]\r\nC=frC\r\nD=frD\r\n");
    struct Row
    {
        const char *value;
        const char *expected;
    };
    const Row rows[] = {
        {"%A%", "neutral"}, // [Strings] first, its first line for the key
        {"%b%", "usB"},     // then [Strings.0409], keys ignoring case
        {"%C%", "deC"},     // then the first other [Strings.*] in the file
        {"%D%", "%D%"},     // a later [Strings.*] is not read; not found stays as written
        {"x%%y", "x%y"},    // %% is one %
        {"%Next%", "%A%"},  // a replacement is not searched for further tokens
        {"%List%", "a, b"}, // a string's value is all of the text right of =
        {"100% sure", "100% sure"},
        {"%unknown%A%", "%unknown%A%"},
        {"%quoted \"key\"%-%QB%-%qbc%", "q1-q2-q3"}, // keys are unquoted too
    };
    for (const Row &row : rows) {
        EXPECT_EQ(substituted(inf, row.value), row.expected) << row.value;
    }
    // A result may fill its room exactly; one byte more gives none.
    std::size_t room = 14;
    EXPECT_EQ(inf.substituteStrings("%A%%A%", room), "neutralneutral");
    EXPECT_EQ(room, 0U);
    room = 13;
    EXPECT_EQ(inf.substituteStrings("%A%%A%", room), std::nullopt);
}

} // namespace
} // namespace tollen::builder
