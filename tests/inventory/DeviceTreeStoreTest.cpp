#include "inventory/DeviceTreeStore.h"

#include "InventoryFixtures.h"
#include "inventory/DeviceInventory.h"
#include "inventory/DeviceScan.h"
#include "inventory/ThisMachineDeviceTree.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

DeviceTreeSources fixtureSources()
{
    return DeviceTreeSources{test::fixture("sysfs"), test::fixture("ids/pci.ids"),
                             test::fixture("ids/usb.ids")};
}

TEST(DeviceTreeStore, PresentsSysfsDevicesInTheNtLayoutTheScanReads)
{
    DeviceTreeStore store(fixtureSources());
    controls::ListView list;
    DeviceScan(store, kNtLayout, list).ScanAll();
    const test::Rows expected = {
        {"HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0&REV_1001", "Realtek ALC662 rev1"},
        {"HDAUDIO\\FUNC_01&VEN_8086&DEV_280B&SUBSYS_80860101&REV_1000",
         "High Definition Audio Device"},
        {"HDAUDIO\\FUNC_02&VEN_14F1&DEV_2C06&SUBSYS_14F1000F&REV_1000", "Conexant ID 2c06"},
        // Subsystem device before subsystem vendor; missing files read as zero; a device
        // whose vendor file is malformed is left out.
        {"PCI\\VEN_1AF4&DEV_1041&SUBSYS_10411AF4&REV_01", "Red Hat, Inc. Virtio network device"},
        {"PCI\\VEN_1AF4&DEV_9999&SUBSYS_00000000&REV_00", "Red Hat, Inc. Device 9999"},
        {"PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02",
         "Intel Corporation 82540EM Gigabit Ethernet Controller"},
        // Root hubs are ROOT_HUB keys the scan leaves out; two receivers of one model make one
        // device key; interfaces and unreadable IDs are not devices.
        {"USB\\VID_046D&PID_C52B", "Logitech, Inc. Unifying Receiver"},
        {"USB\\VID_0781&PID_5567", "SanDisk Corp."},
        {"USB\\VID_1234&PID_5678", "Gadget"},
    };
    EXPECT_EQ(test::rows(list), expected);
}

TEST(DeviceTreeStore, AMissingSysfsTreeOrIdDatabaseGivesAnEmptyOrNumberedList)
{
    DeviceTreeStore empty({test::fixture("no-such-sysfs"), test::fixture("ids/pci.ids"),
                           test::fixture("ids/usb.ids")});
    controls::ListView list;
    DeviceScan(empty, kNtLayout, list).ScanAll();
    EXPECT_EQ(list.rowCount(), 0);

    DeviceTreeStore unnamed(
        {test::fixture("sysfs"), test::fixture("no-pci.ids"), test::fixture("no-usb.ids")});
    DeviceScan(unnamed, kNtLayout, list).ScanAll();
    ASSERT_EQ(list.rowCount(), 9);
    EXPECT_EQ(list.subItem(4, 1), "Device 1af4:1041");
    EXPECT_EQ(list.subItem(8, 1), "Cruzer Blade");
}

TEST(DeviceTreeStore, GivesWindowsIdListsAndTheBoundKernelDriver)
{
    DeviceTreeStore store(fixtureSources());
    const auto inventory = readStoreInventory(store, thisMachineLayout());
    EXPECT_EQ(inventory.target, thisMachineTarget());
    const auto &devices = inventory.devices;
    const auto device = [&](const std::string &id) {
        const auto found = std::ranges::find(devices, id, &Device::id);
        return found == devices.end() ? Device{} : *found;
    };
    struct Row
    {
        std::string id;
        std::vector<std::string> hardwareIds;
        std::vector<std::string> compatibleIds;
        DriverStatus status;
        std::string kernelDriver;
    };
    const std::string nic = "PCI\\VEN_8086&DEV_100E";
    const std::string receiver = "USB\\VID_046D&PID_C52B";
    const std::string stick = "USB\\VID_0781&PID_5567";
    const Row rows[] = {
        {nic + "&SUBSYS_002E8086&REV_02",
         {nic + "&SUBSYS_002E8086&REV_02", nic + "&SUBSYS_002E8086", nic + "&CC_020000",
          nic + "&CC_0200"},
         {nic + "&REV_02", nic, "PCI\\VEN_8086&CC_020000", "PCI\\VEN_8086&CC_0200", "PCI\\VEN_8086",
          "PCI\\CC_020000", "PCI\\CC_0200"},
         DriverStatus::Ok,
         "e1000"},
        // No class file: the class-code forms are left out; no driver link: no driver.
        {"PCI\\VEN_1AF4&DEV_9999&SUBSYS_00000000&REV_00",
         {"PCI\\VEN_1AF4&DEV_9999&SUBSYS_00000000&REV_00",
          "PCI\\VEN_1AF4&DEV_9999&SUBSYS_00000000"},
         {"PCI\\VEN_1AF4&DEV_9999&REV_00", "PCI\\VEN_1AF4&DEV_9999", "PCI\\VEN_1AF4"},
         DriverStatus::None,
         ""},
        // Class 00 and one interface: the interface's class and driver.
        {receiver,
         {receiver + "&REV_1201", receiver},
         {"USB\\Class_03&SubClass_01&Prot_02", "USB\\Class_03&SubClass_01", "USB\\Class_03"},
         DriverStatus::Ok,
         "usbhid"},
        // Class 00 and two interfaces: a composite device.
        {stick,
         {stick + "&REV_0100", stick},
         {"USB\\DevClass_00&SubClass_00&Prot_00", "USB\\DevClass_00&SubClass_00",
          "USB\\DevClass_00", "USB\\COMPOSITE"},
         DriverStatus::Ok,
         "usb-storage"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.id);
        const Device found = device(row.id);
        EXPECT_EQ(found.hardwareIds, row.hardwareIds);
        EXPECT_EQ(found.compatibleIds, row.compatibleIds);
        EXPECT_EQ(found.driver.status, row.status);
        EXPECT_EQ(found.driver.description, row.kernelDriver);
    }
}

} // namespace
} // namespace tollen::inventory
