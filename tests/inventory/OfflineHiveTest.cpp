// Offline hives, read through libhivex (Linux only): SYSTEM hives made at test time from the
// export fixture are scanned through the control set in use.

#include "InventoryFixtures.h"
#include "controls/headless/HeadlessDialogs.h"
#include "inventory/DeviceInventory.h"
#include "inventory/DeviceListSource.h"
#include "inventory/ProfileCommands.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

using test::Rows;

/// Writes `keys` (a .reg export of a SYSTEM hive) into a new hive file `hive`.
void makeHive(const std::filesystem::path &hive, const std::string &keys)
{
    const auto script = std::filesystem::path(TOLLEN_SOURCE_DIR) / "tests" / "fixtures" /
                        "registry" / "make_empty_hive.py";
    const auto reg = hive.parent_path() / "keys.reg";
    test::writeFile(reg, keys);
    std::filesystem::remove(hive);
    ASSERT_EQ(
        testing::runProgram({"/usr/bin/env", "python3", script.string(), hive.string(), "SYSTEM"}),
        0);
    ASSERT_EQ(testing::runProgram({"/usr/bin/hivexregedit", "--merge", "--prefix",
                                   "HKEY_LOCAL_MACHINE\\SYSTEM", hive.string(), reg.string()}),
              0);
}

TEST(OfflineHive, AnOfflineSystemHiveIsScannedThroughTheControlSetInUse)
{
    const test::ScratchFolder folder;
    // The whole hive, and one made from an export of a running system, which names its control
    // set CurrentControlSet. (A hive without Select is read in the registry's own tests.)
    const std::string whole = test::readFile(test::fixture("hive-system.reg"));
    std::string running = whole;
    for (auto at = running.find("ControlSet001"); at != std::string::npos;
         at = running.find("ControlSet001")) {
        running.replace(at, 13, "CurrentControlSet");
    }
    for (const std::string &keys : {whole, running}) {
        const auto hive = folder.path() / "SYSTEM";
        makeHive(hive, keys);
        EXPECT_EQ(recogniseDeviceList(test::readFile(hive).substr(0, kDeviceListHeadSize)),
                  DeviceListKind::Hive);
        controls::ListView list;
        controls::HeadlessDialogs dialogs;
        ASSERT_TRUE(ReadProfile(hive.string(), list, dialogs)) << keys;
        EXPECT_EQ(test::rows(list), (Rows{{"PCI\\VEN_1AF4&DEV_1041&SUBSYS_11001AF4&REV_00",
                                           "Red Hat VirtIO Ethernet Adapter"},
                                          {"USB\\VID_0627&PID_0001", "USB Input Device"}}));
    }
}

TEST(OfflineHive, InstalledDriversIdListsAndArchitectureAreReadFromAnExportAndItsHive)
{
    const test::ScratchFolder folder;
    const auto exported = test::fixture("installed-drivers.reg");
    const auto hive = folder.path() / "SYSTEM";
    makeHive(hive, test::readFile(exported));
    const std::string net = "PCI\\VEN_1AF4&DEV_1041";
    const std::string audio = "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662";
    const InstalledDriver virtio{DriverStatus::Ok,
                                 "Red Hat VirtIO Ethernet Adapter",
                                 "Red Hat, Inc.",
                                 "100.85.104.20800",
                                 "6-21-2006",
                                 "oem3.inf",
                                 "pci\\ven_1af4&dev_1041&subsys_11001af4"};
    // The ID lists in the source's order; a device without HardwareID gets them made from its ID.
    const std::vector<Device> expected = {
        {audio + "&SUBSYS_103C2AB0&REV_1001",
         "High Definition Audio Device",
         {audio + "&SUBSYS_103C2AB0&REV_1001", audio + "&SUBSYS_103C2AB0"},
         {audio + "&REV_1001", audio, "HDAUDIO\\FUNC_01&VEN_10EC", "HDAUDIO\\FUNC_01"},
         InstalledDriver{DriverStatus::None, "", "", "", "", "", ""}},
        {net + "&SUBSYS_11001AF4&REV_01",
         "Red Hat VirtIO Ethernet Adapter",
         {net + "&SUBSYS_11001AF4&REV_01", net + "&SUBSYS_11001AF4", net + "&CC_020000",
          net + "&CC_0200"},
         {net + "&REV_01", net, "PCI\\VEN_1AF4&CC_020000", "PCI\\VEN_1AF4&CC_0200", "PCI\\VEN_1AF4",
          "PCI\\CC_020000", "PCI\\CC_0200"},
         virtio},
        // ConfigFlags 0x40 (failed install); its Driver names no class key.
        {"USB\\VID_0627&PID_0001",
         "USB Input Device",
         {"USB\\VID_0627&PID_0001&REV_0000", "USB\\VID_0627&PID_0001"},
         {"USB\\Class_03&SubClass_00&Prot_00", "USB\\Class_03&SubClass_00", "USB\\Class_03"},
         InstalledDriver{DriverStatus::Problem, "", "", "", "", "", ""}},
    };
    for (const auto &file : {exported, hive}) {
        SCOPED_TRACE(file.string());
        DeviceInventory inventory;
        ASSERT_FALSE(readDeviceInventory(file, inventory));
        EXPECT_EQ(inventory.target, (TargetSystem{"amd64", std::nullopt}));
        ASSERT_EQ(inventory.devices.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Device &device = inventory.devices[i];
            EXPECT_EQ(device.id, expected[i].id);
            EXPECT_EQ(device.name, expected[i].name);
            EXPECT_EQ(device.hardwareIds, expected[i].hardwareIds);
            EXPECT_EQ(device.compatibleIds, expected[i].compatibleIds);
            EXPECT_EQ(device.driver, expected[i].driver);
        }
    }
}

} // namespace
} // namespace tollen::inventory
