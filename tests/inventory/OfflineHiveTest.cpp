// Offline hives, read through libhivex (Linux only): SYSTEM hives made at test time from the
// export fixture are scanned through the control set in use.

#include "InventoryFixtures.h"
#include "controls/headless/HeadlessDialogs.h"
#include "inventory/DeviceListSource.h"
#include "inventory/ProfileCommands.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

using test::Rows;

TEST(OfflineHive, AnOfflineSystemHiveIsScannedThroughTheControlSetInUse)
{
    const test::ScratchFolder folder;
    const auto script = std::filesystem::path(TOLLEN_SOURCE_DIR) / "tests" / "fixtures" /
                        "registry" / "make_empty_hive.py";
    // The whole hive, and one made from an export of a running system, which names its control
    // set CurrentControlSet. (A hive without Select is read in the registry's own tests.)
    const std::string whole = test::readFile(test::fixture("hive-system.reg"));
    std::string running = whole;
    for (auto at = running.find("ControlSet001"); at != std::string::npos;
         at = running.find("ControlSet001")) {
        running.replace(at, 13, "CurrentControlSet");
    }
    for (const std::string &keys : {whole, running}) {
        const auto reg = folder.path() / "keys.reg";
        const auto hive = folder.path() / "SYSTEM";
        test::writeFile(reg, keys);
        std::filesystem::remove(hive);
        ASSERT_EQ(testing::runProgram(
                      {"/usr/bin/env", "python3", script.string(), hive.string(), "SYSTEM"}),
                  0);
        ASSERT_EQ(testing::runProgram({"/usr/bin/hivexregedit", "--merge", "--prefix",
                                       "HKEY_LOCAL_MACHINE\\SYSTEM", hive.string(), reg.string()}),
                  0);
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

} // namespace
} // namespace tollen::inventory
