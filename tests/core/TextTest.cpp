#include "core/Text.h"

#include "EnvironmentOverride.h"
#include "core/Environment.h"
#include "core/TaggedValue.h"
#include "core/TextRoutines.h"
#include "core/Utf16.h"

#include <gtest/gtest.h>

namespace tollen {
namespace {

TEST(Text, CaseMappingCoversAsciiAndLatinLettersAndKeepsStrayBytes)
{
    EXPECT_EQ(toUpper("pci\\ven_8086&dev_1234"), "PCI\\VEN_8086&DEV_1234");
    EXPECT_EQ(toUpper("gerät ÿ"), "GERÄT Ÿ");
    EXPECT_EQ(toUpper("a\xFF"
                      "b"),
              "A\xFF"
              "B");
    EXPECT_TRUE(equalsIgnoringCase("Gerät", "GERÄT"));
    EXPECT_FALSE(equalsIgnoringCase("PCI", "PC"));
}

TEST(Text, AsciiClassesAndCasesEndExactlyAtTheirLetters)
{
    for (const char inside : std::string_view("09azAZ")) {
        EXPECT_TRUE(isAsciiLetterOrDigit(inside)) << inside;
    }
    for (const char outside : std::string_view("/:@[`{\x80")) {
        EXPECT_FALSE(isAsciiLetterOrDigit(outside)) << outside;
    }
    EXPECT_EQ(std::string({asciiLower('A'), asciiLower('Z'), asciiLower('a'), asciiLower('[')}),
              "aza[");
    EXPECT_EQ(std::string({asciiUpper('a'), asciiUpper('z'), asciiUpper('A'), asciiUpper('{')}),
              "AZA{");
}

TEST(Utf16, EveryLengthOfCharacterRoundTripsAndStrayUnitsBecomeReplacements)
{
    const std::string text = "A\xC3\xA9\xDF\xBF\xE2\x82\xAC\xF0\x9F\x98\x80"; // A é U+07FF € 😀
    const std::vector<std::uint8_t> units = {0x41, 0,    0xE9, 0,    0xFF, 0x07,
                                             0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE};
    EXPECT_EQ(utf8ToUtf16le(text), units);
    EXPECT_EQ(utf16leToUtf8(units.data(), units.size()), text);
    EXPECT_EQ(utf16Length(text), 6U);
    EXPECT_EQ(utf16Length("\xE2\x82"), 2U); // a cut sequence counts a unit per byte

    // A lone low surrogate, a high one before a letter, a high one at the end, an odd byte.
    const std::vector<std::uint8_t> stray = {0x00, 0xDC, 0x00, 0xD8, 0x41, 0x00, 0x00, 0xD8, 0x42};
    EXPECT_EQ(utf16leToUtf8(stray.data(), stray.size()), "\xEF\xBF\xBD\xEF\xBF\xBD"
                                                         "A\xEF\xBF\xBD");
}

TEST(Text, FilesDecodeAsUtf8WhenValidAndAsWindows1252Otherwise)
{
    EXPECT_EQ(decodeFileText("Netzwerkkarte Ä"), "Netzwerkkarte Ä");
    // 0xC4 alone is not UTF-8: Windows-1252 "Ä"; 0x80 is the euro sign; 0x81 is unassigned.
    EXPECT_EQ(decodeFileText("\xC4\x80\x81"), "Ä€\xC2\x81");
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_EQ(encodeWindows1252("Ä€✓"), "\xC4\x80?");
}

TEST(Text, AnyBytesDecodeToCharactersWithStrayBytesReplaced)
{
    EXPECT_EQ(decodeUtf8("\xFF"
                         "a\xC3"),
              U"\uFFFDa\uFFFD");
    EXPECT_EQ(decodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
    std::string text;
    for (const char32_t code : decodeUtf8("Gerät € 😀")) {
        appendUtf8(text, code);
    }
    EXPECT_EQ(text, "Gerät € 😀");
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(trimSpaces("   "), "");
}

TEST(TaggedValue, ConvertsEveryKindToText)
{
    EXPECT_EQ(toText(TaggedValue{}), "");
    EXPECT_EQ(toText(TaggedValue{std::int16_t{-7}}), "-7");
    EXPECT_EQ(toText(TaggedValue{std::int32_t{258}}), "258");
    EXPECT_EQ(toText(TaggedValue{true}), "True");
    EXPECT_EQ(toText(TaggedValue{ByteArray{'h', 'i'}}), "hi");
    EXPECT_TRUE(isInteger(TaggedValue{std::int16_t{1}}));
    EXPECT_FALSE(isInteger(TaggedValue{std::string("1")}));
}

TEST(Text, PercentEncodingKeepsOnlyUnreservedAsciiAndTheCharactersAsked)
{
    EXPECT_EQ(percentEncode("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(percentEncode("/a b/100%#?&\xc3\xa9\xff", "/"), "/a%20b/100%25%23%3F%26%C3%A9%FF");
    EXPECT_EQ(percentEncode("a/b"), "a%2Fb");
    EXPECT_EQ(percentEncode(std::string("\0x", 2)), "%00x");
}

TEST(Environment, NamesMatchWithoutRegardToCase)
{
    const testing::EnvironmentOverride variable("TollenTestVariable", "value");
    EXPECT_EQ(environmentVariable("TOLLENTESTVARIABLE").value_or(""), "value");
    EXPECT_EQ(expandEnvironmentReferences("a %tollentestvariable% b"), "a value b");
    // Unset names, adjacent signs and a lone sign stay as written.
    EXPECT_EQ(expandEnvironmentReferences("%NoSuchTollenName% 100%% x%"),
              "%NoSuchTollenName% 100%% x%");
    EXPECT_EQ(expandEnvironmentReferences("50% %TollenTestVariable%"), "50% value");
    variable.set(std::nullopt);
    EXPECT_FALSE(environmentVariable("TollenTestVariable"));
}

TEST(TextRoutines, CutAtTheFirstOrLastSeparatorAsTheWorkedExamplesShow)
{
    struct TextCase
    {
        std::string text;
        char separator;
        std::string after, before, beforeLast;
    };
    const TextCase cases[] = {
        {"VEN_1&DEV_2&REV_03", '&', "DEV_2&REV_03", "VEN_1", "VEN_1&DEV_2"},
        {"VEN_1&", '&', "", "VEN_1", "VEN_1&"}, // the final character is never examined
        {"&A", '&', "A", "", ""},
        {"no separator", ';', "no separator", "no separator", "no separator"},
        {"", ';', "", "", ""},
        {";", ';', "", "", ";"},
        {"aXbx", 'x', "", "aXb", "aXbx"}, // letter case counts
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextAfter(c.text, c.separator), c.after);
        EXPECT_EQ(TextBefore(c.text, c.separator), c.before);
        EXPECT_EQ(TextBeforeLast(c.text, c.separator), c.beforeLast);
    }
}

} // namespace
} // namespace tollen
