// Devices known by their ID alone, and the names and versions of target systems.

#include "inventory/DeviceInventory.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

TEST(DeviceOfId, MakesWindowsIdListsFromTheFormsTheIdHolds)
{
    struct Row
    {
        std::string id;
        std::vector<std::string> hardwareIds;
        std::vector<std::string> compatibleIds;
    };
    const std::string nic = "PCI\\VEN_8086&DEV_100E";
    const std::string codec = "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662";
    const Row rows[] = {
        {nic + "&SUBSYS_002E8086&REV_02",
         {nic + "&SUBSYS_002E8086&REV_02", nic + "&SUBSYS_002E8086"},
         {nic + "&REV_02", nic, "PCI\\VEN_8086"}},
        // Without SUBSYS the most specific form is the hardware ID; typed IDs in any case.
        {"pci\\ven_8086&dev_100e&rev_02", {nic + "&REV_02"}, {nic, "PCI\\VEN_8086"}},
        {nic + "&SUBSYS_002E8086", {nic + "&SUBSYS_002E8086"}, {nic, "PCI\\VEN_8086"}},
        {nic, {nic}, {"PCI\\VEN_8086"}},
        {"USB\\VID_046D&PID_C52B", {"USB\\VID_046D&PID_C52B"}, {}},
        {codec + "&SUBSYS_103C2AB0&REV_1001",
         {codec + "&SUBSYS_103C2AB0&REV_1001", codec + "&SUBSYS_103C2AB0"},
         {codec + "&REV_1001", codec, "HDAUDIO\\FUNC_01&VEN_10EC", "HDAUDIO\\FUNC_01"}},
        // Other buses, and IDs that do not read as their bus's forms, stand alone.
        {"ACPI\\PNP0A03", {"ACPI\\PNP0A03"}, {}},
        {"USB\\ROOT_HUB20", {"USB\\ROOT_HUB20"}, {}},
        {"PCI\\VEN_8086&DEV_100E&MI_00", {"PCI\\VEN_8086&DEV_100E&MI_00"}, {}},
        {"PCI\\VEN_8086&VEN_8087&DEV_1", {"PCI\\VEN_8086&VEN_8087&DEV_1"}, {}},
        {"PCI\\VEN_8086", {"PCI\\VEN_8086"}, {}},
        {"PCI\\VEN_&DEV_100E", {"PCI\\VEN_&DEV_100E"}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.id);
        const Device device = deviceOfId(row.id, "name");
        EXPECT_EQ(device.id, row.id);
        EXPECT_EQ(device.hardwareIds, row.hardwareIds);
        EXPECT_EQ(device.compatibleIds, row.compatibleIds);
        EXPECT_EQ(device.driver.status, DriverStatus::Unknown);
    }
}

TEST(TargetSystem, ArchitectureNamesAndWindowsVersionsAreReadAsInfDecorationsName)
{
    const std::pair<const char *, std::optional<std::string>> architectures[] = {
        {"x86", "x86"},         {"I686", "x86"},    {"AMD64", "amd64"},     {"x86_64", "amd64"},
        {"x64", "amd64"},       {"ARM64", "arm64"}, {"aarch64", "arm64"},   {"armv7l", "arm"},
        {"armhf", "arm"},       {"IA64", "ia64"},   {"mips", std::nullopt}, {"", std::nullopt},
        {"x86 ", std::nullopt},
    };
    for (const auto &[name, architecture] : architectures) {
        EXPECT_EQ(architectureName(name), architecture) << name;
    }
    const std::pair<const char *, std::optional<WindowsVersion>> versions[] = {
        {"6.1", WindowsVersion{6, 1, std::nullopt}},
        {"10.0.19041", WindowsVersion{10, 0, 19041}},
        {"10", std::nullopt},
        {"6.1.7601.17514", std::nullopt},
        {"10..0", std::nullopt},
        {"10.0.", std::nullopt},
        {"-1.0", std::nullopt},
        {"+6.1", std::nullopt},
        {"6.1a", std::nullopt},
        {"6.99999999999", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &[text, version] : versions) {
        EXPECT_EQ(parseWindowsVersion(text), version) << text;
    }
    EXPECT_EQ(describe(DriverStatus::Problem), "problem");
}

} // namespace
} // namespace tollen::inventory
