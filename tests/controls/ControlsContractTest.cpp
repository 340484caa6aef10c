#include "controls/controls.h"
#include "controls/headless/HeadlessDialogs.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

TEST(MessageBox, AnswersFromTheScriptAndRecordsTheQuestion)
{
    HeadlessDialogs dialogs;
    dialogs.script(kAnswerYes);
    dialogs.script(kAnswerNo);
    EXPECT_EQ(dialogs.messageBox("Download driver?", MessageButtons::YesNo, std::nullopt), 6);
    EXPECT_EQ(dialogs.messageBox("Sure?", MessageButtons::YesNo, std::string("Confirm")), 7);
    ASSERT_EQ(dialogs.questions().size(), 2U);
    EXPECT_EQ(dialogs.questions()[0].title, "Tollen");
    EXPECT_EQ(dialogs.questions()[1].title, "Confirm");
    EXPECT_EQ(dialogs.questions()[1].buttons, MessageButtons::YesNo);
}

TEST(MessageBox, UnscriptedQuestionsGetTheSafeAnswer)
{
    HeadlessDialogs dialogs;
    EXPECT_EQ(dialogs.messageBox("Error opening file", MessageButtons::Ok, "Error"), kAnswerOk);
    EXPECT_EQ(dialogs.messageBox("Overwrite?", MessageButtons::YesNo, std::nullopt), kAnswerNo);
    EXPECT_EQ(dialogs.inputBox("Enter query string", "Driver Query", ""), "");
    EXPECT_EQ(dialogs.showOpen({}).error, kCancelError);
}

TEST(MessageBox, AnswerOfTheWrongKindIsAFaultOfTheTest)
{
    HeadlessDialogs dialogs;
    dialogs.script(std::string("typed text"));
    EXPECT_THROW(dialogs.messageBox("Question", MessageButtons::YesNo, std::nullopt),
                 std::logic_error);
}

TEST(FileDialog, ReturnsThePathOrTheCancelError)
{
    HeadlessDialogs dialogs;
    dialogs.script(HeadlessDialogs::FileAnswer{"/tmp/a.hwp"});
    dialogs.script(HeadlessDialogs::FileAnswer{std::nullopt});
    FileDialogRequest request{"Save hardware-profile as...",
                              "Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*",
                              0x80E,
                              "",
                              "hwp",
                              true};
    const FileDialogResult chosen = dialogs.showSave(request);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(chosen.path, "/tmp/a.hwp");
    const FileDialogResult cancelled = dialogs.showOpen(request);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(cancelled.error, 32755);
    EXPECT_EQ(dialogs.questions()[0].fileRequest.flags, 0x80EU);
    EXPECT_EQ(dialogs.questions()[1].kind, HeadlessDialogs::Kind::OpenFile);
}

TEST(FileDialog, FilterSplitsIntoDescriptionAndPatternPairs)
{
    const auto entries = parseFilter("Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*");
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0].first, "Hardware Profile (*.hwp)");
    EXPECT_EQ(entries[0].second, "*.hwp");
    EXPECT_EQ(entries[1].second, "*.*");
    EXPECT_TRUE(parseFilter("").empty());
    EXPECT_EQ(parseFilter("Only a description").size(), 0U);
}

TEST(ListBox, ExactSearchIgnoresCaseButNotLength)
{
    ListBox list;
    list.addItem("USB");
    list.addItem("PCI");
    list.addItem("pci");
    EXPECT_EQ(list.findStringExact("pci"), 1);
    EXPECT_EQ(list.findStringExact("PC"), ListBox::kNotFound);
    EXPECT_EQ(list.findStringExact("PCI "), ListBox::kNotFound);
    // From a start index the search begins after it and wraps round to the top.
    EXPECT_EQ(list.findStringExact("PCI", 1), 2);
    EXPECT_EQ(list.findStringExact("usb", 2), 0);
    EXPECT_EQ(ListBox().findStringExact("x"), ListBox::kNotFound);
}

TEST(ListBox, ExactSearchIgnoresCaseOfAccentedLetters)
{
    ListBox list;
    list.addItem("Gerät");
    EXPECT_EQ(list.findStringExact("GERÄT"), 0);
}

TEST(ListBox, InsertAtTopKeepsTheSelectedEntrySelected)
{
    ListBox list;
    list.addItem("b");
    ASSERT_TRUE(list.select(0));
    list.addItem("a", 0);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.selectedText(), "b");
    EXPECT_EQ(list.selectedCount(), 1);
}

TEST(ListBox, SelectingAMissingEntryFailsAndKeepsTheSelection)
{
    ListBox list;
    EXPECT_EQ(list.selectedText(), "");
    EXPECT_EQ(list.selectedCount(), 0);
    list.addItem("only");
    EXPECT_TRUE(list.select(0));
    EXPECT_FALSE(list.select(1));
    EXPECT_FALSE(list.select(-1));
    EXPECT_EQ(list.selectedText(), "only");
    list.clear();
    EXPECT_EQ(list.selectedCount(), 0);
}

TEST(ListView, RowsAndSubItemsAreNumberedFromOne)
{
    ListView list;
    list.addColumn("Device ID");
    list.addColumn("Device Name");
    EXPECT_EQ(list.selectedRow(), 0);
    const int row = list.addRow("PCI\\VEN_8086");
    list.setSubItem(list.rowCount(), 1, "Network Card");
    EXPECT_EQ(row, 1);
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.text(1), "PCI\\VEN_8086");
    EXPECT_EQ(list.subItem(1, 1), "Network Card");
    EXPECT_EQ(list.subItem(1, 5), "");
    EXPECT_FALSE(list.selectRow(2));
    EXPECT_TRUE(list.selectRow(1));
    list.clear();
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(ListView, ColumnWidthMessageSizesToTheWidestEntryOrHeading)
{
    ListView list;
    list.addColumn("A", 100);
    list.addColumn("A much longer heading", 100);
    list.addRow("a much longer entry than the heading");
    list.setSubItem(1, 1, "x");
    EXPECT_TRUE(list.sendSetColumnWidth(0, ListView::kAutoSizeToContentsAndHeader));
    EXPECT_TRUE(list.sendSetColumnWidth(1, ListView::kAutoSizeToContentsAndHeader));
    EXPECT_FALSE(list.sendSetColumnWidth(2, ListView::kAutoSizeToContentsAndHeader));
    EXPECT_GT(list.column(1).width, list.column(2).width);
    EXPECT_GT(list.column(2).width, 100);
    EXPECT_TRUE(list.sendSetColumnWidth(0, 500));
    EXPECT_EQ(list.column(1).width, 500);
}

TEST(ListView, ExtendedStyleKeepsOtherBitsWhenFullRowSelectIsAdded)
{
    ListView list;
    list.setExtendedStyle(0x1);
    list.setExtendedStyle(list.extendedStyle() | ListView::kFullRowSelect);
    EXPECT_EQ(list.extendedStyle(), 0x21U);
}

TEST(Control, NegativeSizesAreRefusedAndLeaveTheGeometry)
{
    Label label;
    label.setGeometry({1, 2, 3, 4});
    EXPECT_FALSE(label.setWidth(-1));
    EXPECT_FALSE(label.setHeight(-0.5));
    EXPECT_TRUE(label.setLeft(-10));
    EXPECT_EQ(label.geometry().width, 3);
    EXPECT_EQ(label.geometry().height, 4);
    EXPECT_EQ(label.geometry().left, -10);
}

} // namespace
} // namespace tollen::ui
