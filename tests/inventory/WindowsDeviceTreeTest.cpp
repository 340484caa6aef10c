// This machine's devices on Windows: the device scan over the system's own registry, with
// devices seeded under HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum of Wine's registry, and
// what Windows builds say of files they cannot read.

#include "InventoryFixtures.h"
#include "SeededDevicesWindows.h"
#include "inventory/DeviceScan.h"
#include "inventory/ProfileCommands.h"
#include "inventory/ThisMachineDeviceTree.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <windows.h>

namespace tollen::inventory {
namespace {

using testing::SeededDevice;
using testing::SeededDevices;

/// The Device Name of the row with `id`; nullopt when no row has it.
std::optional<std::string> nameOf(const test::Rows &rows, const std::string &id)
{
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const auto &row) { return row.first == id; });
    return found == rows.end() ? std::nullopt : std::optional<std::string>(found->second);
}

test::Rows scanThisMachine()
{
    const auto store = thisMachineDeviceTree();
    controls::ListView list;
    DeviceScan(*store, kNtLayout, list).ScanAll();
    return test::rows(list);
}

TEST(WindowsDeviceTree, TheScanListsSeededDevicesWithTheTextAfterTheResourceReference)
{
    const test::ScratchFolder folder;
    const std::vector<SeededDevice> devices = {
        {"PCI",
         "0001&SUBSYS_00011AF4&REV_01",
         "3&11583659&0&10",
         {R"("DeviceDesc"="oem7.inf,%adapter%;Tollen Test Adapter")"}},
        {"PCI",
         "0002&SUBSYS_00000000&REV_00",
         "3&11583659&0&18",
         {"\"DeviceDesc\"=\"Netzwerkkarte f\xC3\xBCr Tests \xE2\x82\xAC\""}},
        // A device without a name, and a device key whose first instance has none either.
        {"USB", "0004", "6&1&0&2", {R"("Mfg"="Tollen")"}},
    };
    const SeededDevices seeded(folder.path(), devices);
    ASSERT_TRUE(seeded.seeded());

    const test::Rows rows = scanThisMachine();
    EXPECT_EQ(nameOf(rows, "PCI\\" + seeded.hardwareId(devices[0])), "Tollen Test Adapter");
    EXPECT_EQ(nameOf(rows, "PCI\\" + seeded.hardwareId(devices[1])),
              "Netzwerkkarte f\xC3\xBCr Tests \xE2\x82\xAC");
    EXPECT_EQ(nameOf(rows, "USB\\" + seeded.hardwareId(devices[2])), "");
    // Wine's own adapter is there too: the scan reads the whole tree, not only the seeded part.
    EXPECT_GT(rows.size(), devices.size());
}

TEST(WindowsDeviceTree, AnOfflineHiveIsRefusedWithAMessageThatSaysWhatToDoInstead)
{
    const test::ScratchFolder folder;
    const auto hive = folder.path() / "SYSTEM";
    test::writeFile(hive, std::string("regf") + std::string(4092, '\0'));
    controls::ListView list;
    list.addRow("KEPT");
    const Error failure = loadDeviceList(hive, list);
    EXPECT_NE(failure.message.find("offline registry hive, which the Windows version of Tollen "
                                   "cannot read"),
              std::string::npos)
        << failure.message;
    EXPECT_EQ(test::rows(list), (test::Rows{{"KEPT", ""}}));
}

} // namespace
} // namespace tollen::inventory
