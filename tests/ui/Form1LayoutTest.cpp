#include "ui/Form1Layout.h"

#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tollen::ui {
namespace {

std::tuple<double, double, double, double> box(const controls::Geometry &g)
{
    return {g.left, g.top, g.width, g.height};
}

class Form1Layout : public ::testing::Test
{
protected:
    HeadlessForm1 c;
    Form1 form{c.controls(), Form1Startup{}};
};

TEST_F(Form1Layout, NetworkSettingsStandOneBelowTheOtherInsideTheirFrame)
{
    double above = -1;
    for (const controls::Control *box : std::initializer_list<const controls::Control *>{
             &c.Option1.button(0), &c.host, &c.path, &c.user, &c.pass, &c.Check1}) {
        EXPECT_GT(box->geometry().top, above);
        EXPECT_GT(box->geometry().width, 0);
        EXPECT_LE(box->geometry().top + box->geometry().height, c.Frame3.geometry().height * 15);
        above = box->geometry().top;
    }
    EXPECT_EQ(c.Option1.button(1).caption(), "FTP");
    EXPECT_EQ(c.Option1.button(1).geometry().top, c.Option1.button(0).geometry().top);
    EXPECT_GT(c.Option1.button(1).geometry().left,
              c.Option1.button(0).geometry().left + c.Option1.button(0).geometry().width / 2);
}

TEST_F(Form1Layout, StatusRowGivesThirtyPercentToTheStatusAndKeepsThePercentAtTheRight)
{
    for (const int width : {521, 700}) {
        c.window.resizeInner(width, 550);
        const controls::Geometry status = c.Label5.geometry();
        const controls::Geometry bar = c.ProgressBar1.geometry();
        const controls::Geometry percent = c.Label9.geometry();
        const double frameRight = c.Frame2.geometry().width * 15;
        EXPECT_DOUBLE_EQ(status.width,
                         0.3 * (c.List2.geometry().width + c.ListView2.geometry().width));
        EXPECT_DOUBLE_EQ(bar.left, status.left + status.width);
        EXPECT_LE(bar.left + bar.width, frameRight);
        EXPECT_GE(bar.left + bar.width, percent.left);
        EXPECT_DOUBLE_EQ(percent.left + percent.width, frameRight - 70) << width;
        for (const controls::Geometry &part : {bar, percent}) {
            EXPECT_EQ(part.top, status.top);
        }
    }
}

TEST_F(Form1Layout, ShrinkingBelowTheMinimumSetsTheOuterSizeAndMinimisingKeepsTheLayout)
{
    c.window.resizeInner(300, 200);
    // The outer size becomes 514 x 500 pixels, so the inner size settles below it by the borders.
    EXPECT_EQ(c.window.innerWidth(), 514 - controls::HeadlessWindow::kBorderWidth);
    EXPECT_EQ(c.window.innerHeight(), 500 - controls::HeadlessWindow::kBorderHeight);
    EXPECT_EQ(c.Frame2.geometry().width, c.window.innerWidth() - 16);
    EXPECT_EQ(c.Frame2.geometry().height, c.window.innerHeight() - 217);

    c.window.resizeInner(600, 550);
    const controls::Geometry frame2 = c.Frame2.geometry();
    const controls::Geometry list2 = c.List2.geometry();
    c.window.setMinimized(true);
    EXPECT_EQ(box(c.Frame2.geometry()), box(frame2));
    EXPECT_EQ(box(c.List2.geometry()), box(list2));
}

} // namespace
} // namespace tollen::ui
