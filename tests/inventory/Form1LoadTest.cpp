#include "InventoryFixtures.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

using ui::Form1;
using ui::HeadlessForm1;

TEST(Form1Load, ScansTheDeviceStoreSelectsTheTopRowAndBuildsItsCriteria)
{
    auto store = test::storeFromReg("nt-devices.reg");
    HeadlessForm1 face;
    Form1 form(face.controls(), ui::Form1Startup{"", store.get()});
    form.EnumRoot = "SYSTEM\\CurrentControlSet\\Enum\\";
    form.IsNT = true;
    ASSERT_TRUE(form.Show());

    EXPECT_EQ(face.ListView2.columnCount(), 9);
    EXPECT_EQ(face.ListView1.columnCount(), 2);
    EXPECT_EQ(face.ListView1.rowCount(), 7);
    EXPECT_EQ(face.ListView1.selectedRow(), 1);
    EXPECT_EQ(face.List1.count(), 5);
    EXPECT_EQ(face.List1.selectedText(), "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662");

    // Choosing another row by click, row click or key rebuilds the criteria.
    face.ListView1.selectRow(7);
    face.ListView1.onItemClick(7);
    face.ListView1.onClick();
    EXPECT_EQ(face.List1.items(), (std::vector<std::string>{"ISAPNP\\ReadDataPort"}));
    face.ListView1.selectRow(5);
    face.ListView1.onKeyPress(13);
    EXPECT_EQ(face.List1.selectedText(), "USB\\VID_046D&PID_C52B");
}

TEST(Form1Load, ACommandTailProfileReplacesTheRowsButKeepsTheFirstCriteria)
{
    const test::ScratchFolder folder;
    const auto profile = folder.path() / "other machine.hwp";
    test::writeFile(profile, "acpi\\pnp0a03\r\nPCI bus\r\n");
    auto store = test::storeFromReg("nt-devices.reg");
    HeadlessForm1 face;
    Form1 form(face.controls(), ui::Form1Startup{profile.string(), store.get()});
    form.EnumRoot = "SYSTEM\\CurrentControlSet\\Enum\\";
    form.IsNT = true;
    ASSERT_TRUE(form.Show());
    EXPECT_EQ(test::rows(face.ListView1), (test::Rows{{"ACPI\\PNP0A03", "PCI bus"}}));
    EXPECT_EQ(face.List1.count(), 5);
}

} // namespace
} // namespace tollen::inventory
