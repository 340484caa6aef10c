#include "ui/Form1Layout.h"

#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

class Form1Layout : public ::testing::Test
{
protected:
    HeadlessForm1 controls;
    Form1 form{controls.controls(), Form1Startup{}};
};

TEST_F(Form1Layout, FramesKeepTheirMarginsToTheWindowEdges)
{
    // 521 pixels wide gives the designed width of the database frame, 7575 twips. The designed
    // height (450 - 217 = 233 pixels) lies below the minimum window height, so the height rule
    // is checked at 550 pixels.
    controls.window.resizeInner(521, 550);
    EXPECT_EQ(controls.Frame2.geometry().width, 505);
    EXPECT_EQ(controls.Frame2.geometry().width * 15, 7575);
    EXPECT_EQ(controls.Frame2.geometry().height, 333);
    EXPECT_EQ(controls.Frame1.geometry().width, 361);
    EXPECT_EQ(controls.Frame3.geometry().width * 15, 2055);
    EXPECT_EQ(controls.window.caption(), "Tollen v1.0");
}

TEST_F(Form1Layout, ButtonsShareTheHardwareListWidthInQuarters)
{
    // A 523-pixel window makes the hardware list 5175 twips wide: a quarter is 1293.75,
    // rounded to 1294.
    controls.window.resizeInner(523, 500);
    ASSERT_EQ(controls.ListView1.geometry().width, 5175);
    const double left = controls.ListView1.geometry().left;
    EXPECT_EQ(controls.Command4.geometry().left, left);
    EXPECT_EQ(controls.Command3.geometry().left, left + 1294);
    EXPECT_EQ(controls.Command2.geometry().left, left + 2588);
    EXPECT_EQ(controls.Command1.geometry().left, left + 3882);
    for (const controls::Button *button :
         {&controls.Command4, &controls.Command3, &controls.Command2, &controls.Command1}) {
        EXPECT_EQ(button->geometry().width, 1294);
    }
}

TEST_F(Form1Layout, EnlargingMovesOnlyWhatFollowsTheWindowEdges)
{
    controls.window.resizeInner(600, 550);
    const HeadlessForm1 &c = controls;
    const auto before = [&] {
        return std::vector<controls::Geometry>{c.Frame1.geometry(),    c.Frame2.geometry(),
                                               c.ListView1.geometry(), c.ListView2.geometry(),
                                               c.List1.geometry(),     c.List2.geometry(),
                                               c.Label5.geometry(),    c.ProgressBar1.geometry(),
                                               c.Label9.geometry(),    c.Frame3.geometry()};
    }();
    controls.window.resizeInner(700, 650);

    EXPECT_EQ(c.Frame1.geometry().width - before[0].width, 100);
    EXPECT_EQ(c.Frame2.geometry().width - before[1].width, 100);
    EXPECT_EQ(c.Frame2.geometry().height - before[1].height, 100);
    EXPECT_EQ(c.ListView1.geometry().width - before[2].width, 1500);
    EXPECT_EQ(c.ListView2.geometry().width - before[3].width, 1500);
    EXPECT_EQ(c.ListView2.geometry().height - before[3].height, 1500);
    EXPECT_EQ(c.List1.geometry().width - before[4].width, 1500);
    EXPECT_EQ(c.List2.geometry().height - before[5].height, 1500);
    EXPECT_EQ(c.Label5.geometry().top - before[6].top, 1500);
    EXPECT_EQ(c.ProgressBar1.geometry().top, c.Label5.geometry().top);
    EXPECT_EQ(c.Label9.geometry().top, c.Label5.geometry().top);
    EXPECT_EQ(c.Frame3.geometry().width, before[9].width);
    EXPECT_EQ(c.Frame3.geometry().height, before[9].height);
    EXPECT_EQ(c.List2.geometry().width, before[5].width);
    EXPECT_EQ(c.ListView2.geometry().left, before[3].left);
}

TEST_F(Form1Layout, StatusRowSplitsThirtyPercentToTheStatusLabel)
{
    controls.window.resizeInner(600, 550);
    const double rowWidth = controls.List2.geometry().width + controls.ListView2.geometry().width;
    EXPECT_DOUBLE_EQ(controls.Label5.geometry().width, 0.3 * rowWidth);
    EXPECT_DOUBLE_EQ(controls.ProgressBar1.geometry().left,
                     controls.Label5.geometry().left + controls.Label5.geometry().width);
    EXPECT_DOUBLE_EQ(controls.ProgressBar1.geometry().width, rowWidth -
                                                                 controls.Label5.geometry().width -
                                                                 controls.Label9.geometry().width);
    EXPECT_DOUBLE_EQ(controls.Label9.geometry().left, rowWidth + 120 - 520);
}

TEST_F(Form1Layout, ShrinkingBelowTheMinimumSetsTheOuterSize)
{
    controls.window.resizeInner(300, 200);
    // The outer size becomes 514 x 500 pixels, so the inner size settles below it by the borders.
    EXPECT_EQ(controls.window.innerWidth(), 514 - controls::HeadlessWindow::kBorderWidth);
    EXPECT_EQ(controls.window.innerHeight(), 500 - controls::HeadlessWindow::kBorderHeight);
    EXPECT_EQ(controls.Frame2.geometry().width, controls.window.innerWidth() - 16);
    EXPECT_EQ(controls.Frame2.geometry().height, controls.window.innerHeight() - 217);
}

TEST_F(Form1Layout, MinimisedWindowKeepsThePreviousGeometry)
{
    controls.window.resizeInner(600, 550);
    const controls::Geometry frame2 = controls.Frame2.geometry();
    const controls::Geometry list2 = controls.List2.geometry();
    controls.window.setMinimized(true);
    EXPECT_EQ(controls.window.innerWidth(), 0);
    EXPECT_EQ(controls.Frame2.geometry().width, frame2.width);
    EXPECT_EQ(controls.Frame2.geometry().height, frame2.height);
    EXPECT_EQ(controls.List2.geometry().height, list2.height);
    controls.window.setMinimized(false);
    EXPECT_EQ(controls.window.innerWidth(), 600);
}

TEST(LvAutoSizeColumn, SizesEveryColumnOrOnlyTheOneGiven)
{
    controls::ListView list;
    list.addColumn("Manufacturer", 10);
    list.addColumn("Device Name", 10);
    list.addRow("A manufacturer with a long name");
    LV_AutoSizeColumn(list, 2);
    EXPECT_EQ(list.column(1).width, 10);
    EXPECT_GT(list.column(2).width, 10);
    LV_AutoSizeColumn(list);
    EXPECT_GT(list.column(1).width, list.column(2).width);
}

} // namespace
} // namespace tollen::ui
