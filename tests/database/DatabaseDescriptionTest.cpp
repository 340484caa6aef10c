#include "database/DatabaseDescription.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

const DatabaseDescription kDescription{1, "tollen-index 1.4.0", "2026-12-07T23:41:05Z", 2, 3, 40,
                                       9};

TEST(DatabaseDescription, ReadsWhatItWritesAndWhatALaterBuilderAdds)
{
    const std::string written = writeDatabaseDescription(kDescription);
    EXPECT_EQ(readDatabaseDescription(written).description, kDescription);
    // Members a later builder adds, of any kind, and escapes in the known ones.
    const std::string later = R"( {"later": {"list": [1, -2.5e3, true, null, "\u00e9\ud83d\ude00"]},
        "format": 1, "builder": "tollen\u002dindex 1.4.0", "built": "2026-12-07T23:41:05Z",
        "packages": 2, "infFiles": 3, "lines": 40, "indexFiles": 9, "more": {}} )";
    const DescriptionReading read = readDatabaseDescription(later);
    EXPECT_EQ(read.description, kDescription) << read.problem;
    EXPECT_EQ(utcTimeText(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(utcTimeText(951'868'799), "2000-02-29T23:59:59Z");
}

TEST(DatabaseDescription, RefusesTextThatIsNotOneAsWritten)
{
    const std::string members = R"("builder": "b", "built": "2026-12-07T23:41:05Z", "packages": 2,
        "infFiles": 3, "lines": 4, "indexFiles": 5)";
    const std::string good = "{\"format\": 1, " + members + "}";
    ASSERT_TRUE(readDatabaseDescription(good).description);
    const std::string refused[] = {
        "",
        "[]",
        good + "x",
        "{\"format\": 2, " + members + "}",
        "{\"format\": 1.0, " + members + "}",
        "{\"format\": -1, " + members + "}",
        "{\"format\": 18446744073709551616, " + members + "}",
        "{\"format\": 1, \"format\": 1, " + members + "}",
        "{" + members + "}",
        "{\"format\": 1, " + members + ", \"x\": " + std::string(20, '[') + std::string(20, ']') +
            "}",
        "{\"format\": 1, " + members + ", \"x\": \"\\ud83d\"}",
        "{\"format\": 1, " + members + ", \"x\": \"\x01\"}",
        "{\"format\": 1, " + members + ", \"x\": \"\xff\"}",
        "{\"format\": 1, " + members + ", \"x\": 01}",
        "{\"format\": 1, " + members + ", \"x\": tru}",
        "{\"format\": 1, " + members + ",}",
        "{\"format\": 1, \"builder\": \"b\", \"built\": \"yesterday\"" +
            members.substr(members.find(", \"p")) + "}",
        "{\"format\": 1, " + members + ", \"x\": \"" + std::string(kLargestDescription, 'a') +
            "\"}",
    };
    for (const std::string &text : refused) {
        const DescriptionReading reading = readDatabaseDescription(text);
        EXPECT_FALSE(reading.description) << text.substr(0, 200);
        EXPECT_FALSE(reading.problem.empty());
    }
}

} // namespace
} // namespace tollen::database
