#include "database/PastedId.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

TEST(PastedId, PastedFormsBecomeTheIdAsTheDatabaseWritesIt)
{
    struct Row
    {
        std::string_view text;
        PastedBus bus;
        std::optional<std::string> id;
    };
    const Row rows[] = {
        {"pci\\ven_8086&dev_100e&Subsys_002E8086", PastedBus::Pci,
         "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086"},
        {" USB\\VID_046D&PID_C52B ", PastedBus::Pci, "USB\\VID_046D&PID_C52B"},
        {"PCI\\VEN_8086&DEV_100E&REV_02\\3&267A616A&0&18", PastedBus::Pci,
         "PCI\\VEN_8086&DEV_100E&REV_02"},
        {"8086:100e", PastedBus::Pci, "PCI\\VEN_8086&DEV_100E"},
        {"[10af:8168]", PastedBus::Pci, "PCI\\VEN_10AF&DEV_8168"},
        {"046d:c52b", PastedBus::Usb, "USB\\VID_046D&PID_C52B"},
        {"8086:100", PastedBus::Pci, std::nullopt},
        {"8086:100g", PastedBus::Pci, std::nullopt},
        {"00:03.0", PastedBus::Pci, std::nullopt},
        {"VEN_8086&DEV_100E", PastedBus::Pci, std::nullopt},
        {"PCI\\", PastedBus::Pci, std::nullopt},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(pastedHardwareId(row.text, row.bus), row.id) << row.text;
    }
}

} // namespace
} // namespace tollen::database
