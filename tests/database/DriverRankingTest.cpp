#include "database/DriverRanking.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

constexpr std::string_view kNic = "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02";
constexpr std::string_view kCodec = "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0&REV_1001";

TEST(DriverRanking, ReasonIsTheDeepestPieceBothIdsShareFromTheirStart)
{
    struct Row
    {
        std::string_view device;
        std::string_view driver;
        MatchReason reason;
        bool names;
    };
    const Row rows[] = {
        {kNic, kNic, MatchReason::ExactId, true},
        {kNic, "pci\\ven_8086&dev_100e&subsys_002e8086&rev_02", MatchReason::ExactId, true},
        {kNic, "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086", MatchReason::SameSubsystem, true},
        {kNic, "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_03", MatchReason::SameSubsystem, false},
        {kNic, "PCI\\VEN_8086&DEV_100E", MatchReason::SameDevice, true},
        {kNic, "PCI\\VEN_8086&DEV_100E&SUBSYS_11111111", MatchReason::SameDevice, false},
        {kNic, "PCI\\VEN_8086", MatchReason::SameVendor, true},
        {kNic, "PCI\\VEN_8086&DEV_100F", MatchReason::SameVendor, false},
        // A piece that only begins like the device's is another device.
        {kNic, "PCI\\VEN_8086&DEV_100", MatchReason::SameVendor, false},
        {kNic, "PCI\\VEN_1AF4&DEV_1041", MatchReason::SameBus, false},
        {kNic, "USB\\VEN_8086&DEV_100E", MatchReason::OtherBus, false},
        {kCodec, "HDAUDIO\\FUNC_01", MatchReason::SameBus, true},
        {"USB\\VID_046D&PID_C52B", "USB\\VID_046D&PID_C52B&MI_00", MatchReason::SameDevice, false},
        {"USB\\VID_046D&PID_C52B", "USB\\VID_046D", MatchReason::SameVendor, true},
        {"ISAPNP\\READDATAPORT", "", MatchReason::OtherBus, false},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(matchReason(row.device, row.driver), row.reason)
            << row.device << " / " << row.driver;
        EXPECT_EQ(namesDevice(row.device, row.driver), row.names)
            << row.device << " / " << row.driver;
    }
}

TEST(DriverRanking, DriversNamingTheDeviceComeFirstLongestThenNewest)
{
    struct Row
    {
        const char *name;
        std::vector<DriverCandidate> drivers;
        std::vector<std::size_t> order;
    };
    const Row rows[] = {
        {"longer naming IDs first, whatever their dates",
         {{"PCI\\VEN_8086", "01/01/2024"},
          {"PCI\\VEN_8086&DEV_100E", "01/01/2010"},
          {std::string(kNic), "01/01/2001"}},
         {2, 1, 0}},
        {"a newer driver of another subsystem stays behind an older one naming the device",
         {{"PCI\\VEN_8086&DEV_100E&SUBSYS_11111111", "12/31/2024"},
          {"PCI\\VEN_8086&DEV_100E", "01/01/2005"}},
         {1, 0}},
        {"within a rank the newer date first, unreadable dates last, ties in index order",
         {{"PCI\\VEN_8086&DEV_100E", "unknown"},
          {"PCI\\VEN_8086&DEV_100E", "03/01/2020"},
          {"PCI\\VEN_8086&DEV_100E", "2021-06-30"},
          {"PCI\\VEN_8086&DEV_100E", "03/01/2020"}},
         {2, 1, 3, 0}},
        {"drivers that do not name the device are one rank",
         {{"PCI\\VEN_8086&DEV_100E&SUBSYS_11111111", "01/01/2019"},
          {"PCI\\VEN_8086&DEV_1234", "01/01/2020"}},
         {1, 0}},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(rankDrivers(kNic, row.drivers), row.order) << row.name;
    }
}

TEST(DriverRanking, SearchesWidenDownToTheCriterionNamingTheVendor)
{
    struct Row
    {
        std::vector<std::string> criteria;
        std::size_t level;
    };
    const Row rows[] = {
        {{"PCI\\VEN_8086", "PCI\\VEN_8086&DEV_100E"}, 0},
        {{"HDAUDIO\\FUNC_01", "HDAUDIO\\FUNC_01&VEN_10EC", "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662"},
         1},
        {{"ACPI\\PNP0A03"}, 0},
        {{}, 0},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(vendorLevel(row.criteria), row.level)
            << (row.criteria.empty() ? "" : row.criteria.front());
    }
}

} // namespace
} // namespace tollen::database
