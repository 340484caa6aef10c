// The behaviour of the controls contract, as the window cores rely on it. The same tests run
// against every face (headless, Qt, Win32): each test program instantiates them with its face.

#include "ControlFace.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>

namespace tollen::controls::testing {
namespace {

TEST_P(Contract, LabelsShowTwipsAsWholePixelsRefuseNegativeSizesAndShowCaptionsAsTheyStand)
{
    const double perPixel = face.twipsPerPixel();
    const auto pixels = [perPixel](double twips) { return std::lround(twips / perPixel); };
    const auto label = face.label();
    label->setGeometry({4080, 2520, 1215, 375});
    const Geometry shown = face.shownPixels(*label);
    EXPECT_EQ(shown.left, pixels(4080));
    EXPECT_EQ(shown.top, pixels(2520));
    EXPECT_EQ(shown.width, pixels(1215));
    EXPECT_EQ(shown.height, pixels(375));
    label->setGeometry({150, 300, 3000, 600});
    EXPECT_FALSE(label->setWidth(-1));
    EXPECT_FALSE(label->setHeight(-0.5));
    EXPECT_TRUE(label->setLeft(-150));
    EXPECT_EQ(label->geometry().left, -150);
    EXPECT_EQ(label->geometry().width, 3000);
    EXPECT_EQ(label->geometry().height, 600);
    EXPECT_EQ(face.shownPixels(*label).width, pixels(3000));
    for (const char *caption : {"Selected device:", "Open (Don't save)", "A & B", "Gerät"}) {
        label->setCaption(caption);
        EXPECT_EQ(face.shownCaption(*label), caption);
    }
}

TEST_P(Contract, ListBoxExactSearchIgnoresCaseButNotLength)
{
    const auto list = face.listBox();
    list->addItem("USB");
    list->addItem("PCI");
    list->addItem("pci");
    EXPECT_EQ(list->findStringExact("pci"), 1);
    EXPECT_EQ(list->findStringExact("PC"), ListBox::kNotFound);
    EXPECT_EQ(list->findStringExact("PCI "), ListBox::kNotFound);
    // From a start index the search begins after it and wraps round to the top.
    EXPECT_EQ(list->findStringExact("PCI", 1), 2);
    EXPECT_EQ(list->findStringExact("usb", 2), 0);
    EXPECT_EQ(face.listBox()->findStringExact("x"), ListBox::kNotFound);
    list->addItem("Gerät");
    EXPECT_EQ(list->findStringExact("GERÄT"), 3);
}

TEST_P(Contract, ListBoxShowsEveryChangeAndItsSelectionSurvivesAnInsertAtTheTopButNotAClear)
{
    const auto list = face.listBox();
    EXPECT_EQ(list->selectedText(), "");
    EXPECT_EQ(list->selectedCount(), 0);
    list->addItem("b");
    ASSERT_TRUE(list->select(0));
    list->addItem("a", 0);
    EXPECT_EQ(list->items(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list->selectedText(), "b");
    EXPECT_EQ(list->selectedCount(), 1);
    EXPECT_EQ(face.shownItems(*list), list->items());
    EXPECT_EQ(face.shownSelection(*list), 1);
    EXPECT_FALSE(list->select(2));
    EXPECT_FALSE(list->select(-1));
    EXPECT_EQ(face.shownSelection(*list), 1);
    list->addItem("PCI");
    face.userSelects(*list, 2);
    EXPECT_EQ(list->selectedIndex(), 2);
    EXPECT_EQ(list->selectedText(), "PCI");
    list->clear();
    EXPECT_EQ(list->selectedCount(), 0);
    EXPECT_EQ(face.shownSelection(*list), -1);
    // Long lists, and entries added in the middle, reach the screen too.
    for (int entry = 0; entry < 3000; ++entry) {
        list->addItem("SUBSYS_" + std::to_string(entry));
    }
    list->addItem("MIDDLE", 5);
    EXPECT_EQ(face.shownItems(*list), list->items());
}

TEST_P(Contract, ListViewRowsAreNumberedFromOneAndChangesAndTwentyThousandRowsReachTheScreen)
{
    const auto list = face.listView();
    list->setReportView(true);
    list->addColumn("Device ID");
    list->addColumn("Device Name");
    EXPECT_EQ(list->selectedRow(), 0);
    const int row = list->addRow("PCI\\VEN_8086");
    list->setSubItem(list->rowCount(), 1, "Network Card");
    EXPECT_EQ(row, 1);
    EXPECT_EQ(list->subItem(1, 5), "");
    EXPECT_EQ(face.shownRowCount(*list), 1);
    EXPECT_EQ(face.shownCell(*list, 1, 1), "PCI\\VEN_8086");
    EXPECT_EQ(face.shownCell(*list, 1, 2), "Network Card");
    EXPECT_FALSE(list->selectRow(3));
    list->addRow("USB\\C");
    EXPECT_TRUE(list->selectRow(2));
    EXPECT_EQ(face.shownSelectedRow(*list), 2);
    list->setSubItem(1, 1, "Renamed");
    EXPECT_EQ(face.shownCell(*list, 1, 2), "Renamed");
    face.userSelectsRow(*list, 1);
    EXPECT_EQ(list->selectedRow(), 1);
    list->setExtendedStyle(0x1);
    EXPECT_FALSE(face.shownFullRowSelect(*list));
    list->setExtendedStyle(list->extendedStyle() | ListView::kFullRowSelect);
    EXPECT_TRUE(face.shownFullRowSelect(*list));
    list->clear();
    EXPECT_EQ(list->selectedRow(), 0);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_EQ(face.shownRowCount(*list), 0);

    constexpr int kRows = 20000;
    for (int row = 1; row <= kRows; ++row) {
        list->addRow("PCI\\VEN_" + std::to_string(row));
        list->setSubItem(list->rowCount(), 1, "Device " + std::to_string(row));
    }
    EXPECT_EQ(face.shownRowCount(*list), kRows);
    EXPECT_EQ(face.shownCell(*list, kRows, 2), "Device 20000");
    EXPECT_TRUE(list->selectRow(kRows));
    EXPECT_EQ(face.shownSelectedRow(*list), kRows);
}

TEST_P(Contract, ListViewColumnWidthMessageSizesToTheWidestEntryOrHeading)
{
    const auto list = face.listView();
    list->setReportView(true);
    list->addColumn("A", 100);
    list->addColumn("A much longer heading", 100);
    list->addRow("a much longer entry than the heading");
    list->setSubItem(1, 1, "x");
    EXPECT_TRUE(list->sendSetColumnWidth(0, ListView::kAutoSizeToContentsAndHeader));
    EXPECT_TRUE(list->sendSetColumnWidth(1, ListView::kAutoSizeToContentsAndHeader));
    EXPECT_FALSE(list->sendSetColumnWidth(2, ListView::kAutoSizeToContentsAndHeader));
    EXPECT_GT(list->column(1).width, list->column(2).width);
    EXPECT_GT(list->column(2).width, 100);
    EXPECT_TRUE(list->sendSetColumnWidth(1, ListView::kAutoSizeToContents));
    EXPECT_LT(list->column(2).width, list->column(1).width / 3);
    EXPECT_TRUE(list->sendSetColumnWidth(0, 500));
    EXPECT_EQ(list->column(1).width, 500);
}

TEST_P(Contract, TextBoxTypingRaisesChangeAndMaskingHidesTheText)
{
    const auto box = face.textBox();
    int changes = 0;
    const controls::Connection boxChangeHandler = box->onChange.connect([&] { ++changes; });
    box->setText("anonymous");
    EXPECT_EQ(face.shownText(*box), "anonymous");
    EXPECT_EQ(changes, 1);
    box->setText("");
    face.userTypes(*box, "ftp");
    EXPECT_EQ(box->text(), "ftp");
    EXPECT_EQ(changes, 5);
    box->setMasked(true);
    EXPECT_TRUE(face.shownMasked(*box));
    EXPECT_EQ(box->text(), "ftp");
}

TEST_P(Contract, OptionClickRaisesTheEventOnlyOnAChangeAndCheckBoxFollowsTheUserAndTheProgram)
{
    const auto group = face.optionGroup();
    group->addOption("HTTP");
    group->addOption("FTP");
    std::vector<int> clicks;
    const controls::Connection groupClickHandler =
        group->onClick.connect([&](int index) { clicks.push_back(index); });
    EXPECT_EQ(face.shownOptions(*group), (std::vector<bool>{true, false}));
    face.userClicks(*group, 1);
    face.userClicks(*group, 1);
    EXPECT_EQ(group->selectedIndex(), 1);
    EXPECT_EQ(clicks, std::vector<int>{1});
    EXPECT_EQ(face.shownOptions(*group), (std::vector<bool>{false, true}));
    group->select(0);
    EXPECT_EQ(face.shownOptions(*group), (std::vector<bool>{true, false}));
    EXPECT_EQ(clicks, std::vector<int>{1});

    const auto box = face.checkBox();
    box->setCaption("Open (Don't save)");
    EXPECT_EQ(face.shownCaption(*box), "Open (Don't save)");
    face.userClicks(*box);
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    EXPECT_FALSE(face.shownChecked(*box));
}

TEST_P(Contract, ProgressBarShowsTheFractionOrBusy)
{
    const auto bar = face.progressBar();
    bar->setMaximum(3'000'000'000.0);
    bar->setValue(750'000'000.0);
    EXPECT_NEAR(face.shownProgress(*bar), 0.25, 0.001);
    bar->setValue(3'000'000'000.0);
    EXPECT_NEAR(face.shownProgress(*bar), 1.0, 0.001);
    bar->setMaximum(0);
    EXPECT_EQ(face.shownProgress(*bar), -1);
}

TEST_P(Contract, TimerTicksWhileEnabled)
{
    const auto timer = face.timer();
    if (!timer) {
        GTEST_SKIP() << "this face has no clock";
    }
    int ticks = 0;
    const controls::Connection timerTickHandler = timer->onTick.connect([&] { ++ticks; });
    timer->setInterval(5);
    timer->setEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    while (ticks < 3 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        face.runEvents(20);
    }
    EXPECT_GE(ticks, 3);
    timer->setEnabled(false);
    const int stopped = ticks;
    face.runEvents(50);
    EXPECT_EQ(ticks, stopped);
}

TEST_P(Contract, YieldRunsWaitingEvents)
{
    bool ran = false;
    face.postEvent([&] { ran = true; });
    face.eventLoop().yield();
    EXPECT_TRUE(ran);
}

TEST_P(Contract, WindowSizesInTwipsMoveTheInnerSizeAndCloseRaisesTheCloseEvent)
{
    const auto window = face.window();
    int resizes = 0;
    const controls::Connection windowResizeHandler = window->onResize.connect([&] { ++resizes; });
    EXPECT_TRUE(window->setOuterWidth(514 * window->twipsPerPixelX()));
    EXPECT_TRUE(window->setOuterHeight(500 * window->twipsPerPixelY()));
    face.runEvents(0);
    const int width = window->innerWidth();
    const int height = window->innerHeight();
    EXPECT_GT(resizes, 0);
    EXPECT_TRUE(window->setOuterWidth(524 * window->twipsPerPixelX()));
    EXPECT_TRUE(window->setOuterHeight(520 * window->twipsPerPixelY()));
    face.runEvents(0);
    EXPECT_EQ(window->innerWidth(), width + 10);
    EXPECT_EQ(window->innerHeight(), height + 20);
    EXPECT_FALSE(window->setOuterWidth(-15));
    EXPECT_FALSE(window->setOuterHeight(-1));
    face.runEvents(0);
    EXPECT_EQ(window->innerWidth(), width + 10);
    int closes = 0;
    const controls::Connection windowCloseHandler = window->onClose.connect([&] { ++closes; });
    window->close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace tollen::controls::testing
