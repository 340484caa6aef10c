#include "database/DriverVersion.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

TEST(DriverVersion, DatesAreReadInTheFormsIndexFilesAndTheRegistryHold)
{
    struct Row
    {
        std::string_view date;
        std::optional<int> key;
    };
    const Row rows[] = {
        {"08/19/2023", 20230819},      {"8/9/2023", 20230809},       {"2023-08-19", 20230819},
        {"6-21-2006", 20060621},       {"12-01-2006", 20061201},     {"6-21-06", std::nullopt},
        {"13/01/2023", std::nullopt},  {"00/10/2023", std::nullopt}, {"08/32/2023", std::nullopt},
        {"08/19/23", std::nullopt},    {"", std::nullopt},           {"08/19", std::nullopt},
        {"x8/19/2023", std::nullopt},  {"2023-8-19", std::nullopt},  {"/ /", std::nullopt},
        {"6-21-2006-1", std::nullopt}, {"6/21-2006", std::nullopt},  {"008/19/2023", std::nullopt},
        {"08/019/2023", std::nullopt}, {"08/00/2023", std::nullopt}, {"12/31/2023", 20231231},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(driverDateKey(row.date), row.key) << row.date;
    }
}

TEST(DriverVersion, VersionsCompareAsFourNumbersUnreadableLowest)
{
    struct Row
    {
        std::string_view newer;
        std::string_view older;
    };
    const Row rows[] = {
        {"11.0.19041.1", "9.18.13.4"},
        {"10.0", "9.9"},
        {" 1.2.0.1", "1.2"},
        {"0.0", ""},
        {"0", "1.2.3.4.5"},
        {"0", "1.a"},
    };
    for (const auto &[newer, older] : rows) {
        EXPECT_EQ(compareDriverVersions(newer, older), 1) << newer << " / " << older;
        EXPECT_EQ(compareDriverVersions(older, newer), -1) << newer << " / " << older;
    }
    EXPECT_EQ(compareDriverVersions("1.2", "1.2.0.0"), 0);
    EXPECT_EQ(compareDriverVersions("1..2", "x"), 0);
}

} // namespace
} // namespace tollen::database
