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
    test::ScratchFolder folder("form1-load");
    const auto profile = folder / "other machine.hwp";
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

TEST(Form1Load, ACommandTailThatCannotBeReadEndsTheProgram)
{
    HeadlessForm1 face;
    Form1 form(face.controls(), ui::Form1Startup{"/no/such/profile.hwp", nullptr});
    EXPECT_FALSE(form.Show());
    ASSERT_EQ(face.dialogs.questions().size(), 2U);
    EXPECT_EQ(face.dialogs.questions()[1].text,
              "Error loading specified profile: /no/such/profile.hwp");
    EXPECT_FALSE(face.window.isVisible());
}

TEST(Form1Load, SaveAndLoadButtonsRunTheProfileActions)
{
    test::ScratchFolder folder("form1-buttons");
    auto store = test::storeFromReg("win9x-devices.reg");
    HeadlessForm1 face;
    Form1 form(face.controls(), ui::Form1Startup{"", store.get()});
    form.EnumRoot = "Enum\\";
    form.IsNT = false;
    ASSERT_TRUE(form.Show());
    ASSERT_EQ(face.ListView1.rowCount(), 5);

    const auto file = folder / "saved.hwp";
    face.dialogs.script(controls::HeadlessDialogs::FileAnswer{file.string()});
    face.Command3.onClick();
    face.ListView1.clear();
    face.dialogs.script(controls::HeadlessDialogs::FileAnswer{file.string()});
    face.Command4.onClick();
    EXPECT_EQ(face.ListView1.rowCount(), 5);
    EXPECT_EQ(face.ListView1.subItem(5, 1), "!!UNINSTALLED DEVICE!!");
}

} // namespace
} // namespace tollen::inventory
