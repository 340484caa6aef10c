#include "core/TextRoutines.h"

#include <gtest/gtest.h>

namespace tollen {
namespace {

struct TextCase
{
    std::string text;
    char separator;
    std::string after;
    std::string before;
    std::string beforeLast;
};

TEST(TextRoutines, CutAtTheFirstOrLastSeparatorAsTheWorkedExamplesShow)
{
    const TextCase cases[] = {
        {"PCI\\VEN_1&DEV_2", '\\', "VEN_1&DEV_2", "PCI", "PCI"},
        {"VEN_1&DEV_2&REV_03", '&', "DEV_2&REV_03", "VEN_1", "VEN_1&DEV_2"},
        // The final character is never examined by TextBeforeLast.
        {"VEN_1&", '&', "", "VEN_1", "VEN_1&"},
        {"&A", '&', "A", "", ""},
        {"no separator", ';', "no separator", "no separator", "no separator"},
        {"", ';', "", "", ""},
        {";", ';', "", "", ";"},
        // Letter case counts.
        {"aXbx", 'x', "", "aXb", "aXbx"},
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
