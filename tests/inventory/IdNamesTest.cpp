#include "InventoryFixtures.h"
#include "inventory/PciNames.h"
#include "inventory/UsbNames.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

const std::string kGoodPciIds = "# comment\n"
                                "8086  Intel Corporation\n"
                                "\t100e  82540EM Gigabit Ethernet Controller\n"
                                "\t\t8086 002e  PRO/1000 MT Desktop Adapter\n"
                                "1af4  Red Hat, Inc.\n"
                                "\t1041  Virtio network device\n"
                                "C 02  Network controller\n"
                                "\t00  Ethernet controller\n";

/// The start of a program file, with NULs, tabs and a vendor number in it.
constexpr char kBinary[] = "\x7f"
                           "ELF\x02\x01\x01\0\0\0\t\t\t8086  \xff\xfe\n\0\x01";

/// Damaged, truncated, binary and misplaced ID databases: the program never fails on them and
/// names what the readable part names, numbers the rest.
TEST(PciNames, ADamagedTruncatedBinaryOrMissingDatabaseGivesNumbersNotACrash)
{
    struct Row
    {
        const char *what;
        std::string contents;
        const char *intel;
        const char *virtio;
    };
    const Row rows[] = {
        {"whole", kGoodPciIds, "Intel Corporation 82540EM Gigabit Ethernet Controller",
         "Red Hat, Inc. Virtio network device"},
        {"a damaged line hides only its own vendor's devices",
         "8086  Intel Corporation\n\t100e  82540EM\nzzzz  Broken\n\t1041  Not Red Hat\n"
         "1af4  Red Hat, Inc.\n\tbad device line\n\t1041  Virtio network device\n",
         "Intel Corporation 82540EM", "Red Hat, Inc. Virtio network device"},
        {"truncated in a device line", kGoodPciIds.substr(0, 40), "Intel Corporation Device 100e",
         "Device 1af4:1041"},
        {"truncated in a name", kGoodPciIds.substr(0, 52), "Intel Corporation 82540EM Gig",
         "Device 1af4:1041"},
        {"binary", std::string(kBinary, sizeof kBinary - 1), "Device 8086:100e",
         "Device 1af4:1041"},
        {"empty", "", "Device 8086:100e", "Device 1af4:1041"},
        {"class lines without vendors", "C 02  Network controller\n\t00  Ethernet controller\n",
         "Device 8086:100e", "Device 1af4:1041"},
    };
    const test::ScratchFolder folder;
    for (const Row &row : rows) {
        const auto file = folder.path() / "pci.ids";
        test::writeFile(file, row.contents);
        const PciNames names(file);
        EXPECT_EQ(names.name(0x8086, 0x100e), row.intel) << row.what;
        EXPECT_EQ(names.name(0x1af4, 0x1041), row.virtio) << row.what;
    }

    // A folder where the database should be, or nothing at all.
    std::filesystem::create_directory(folder.path() / "pci.ids.d");
    EXPECT_EQ(PciNames(folder.path() / "pci.ids.d").name(0x8086, 0x100e), "Device 8086:100e");
    EXPECT_EQ(PciNames(folder.path() / "missing.ids").name(0x8086, 0x100e), "Device 8086:100e");
}

TEST(UsbNames, ADamagedDatabaseOrAFolderGivesFewerNamesNotACrash)
{
    const test::ScratchFolder folder;
    const auto file = folder.path() / "usb.ids";
    test::writeFile(file, "046d  Logitech, Inc.\n\tc52b  Unifying Receiver\n"
                          "12  Short\n\tc52b  Orphan\n"
                          "0781  SanDisk Corp.\n\t5567\n"
                          "C 00  (Defined at Interface level)\n\t01  Audio\n");
    const UsbNames names(file);
    EXPECT_EQ(names.name(0x046d, 0xc52b), "Logitech, Inc. Unifying Receiver");
    EXPECT_EQ(names.name(0x0781, 0x5567), "SanDisk Corp.");
    EXPECT_EQ(names.name(0x0012, 0xc52b), "");

    std::filesystem::create_directory(folder.path() / "usb.ids.d");
    EXPECT_EQ(UsbNames(folder.path() / "usb.ids.d").name(0x046d, 0xc52b), "");
}

} // namespace
} // namespace tollen::inventory
