#include "ui/qt/QtForm1.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

constexpr controls::PixelScale kStandardTwips{15, 15};

/// A top-level widget to put controls in, placed in twips at 96 dots per inch.
struct Parent
{
    QWidget widget;
    qt::Placement twips() { return {&widget, kStandardTwips}; }
};

TEST(QtForm1, ControlsSitInTheirFramesAndDisablingTheWindowTakesTheirInput)
{
    qt::QtForm1 face;
    // What the main window's design does first: frames in pixels, their contents in twips.
    face.Frame1.setGeometry({152, 8, 361, 201});
    face.ListView1.setGeometry({120, 240, 5175, 2295});
    EXPECT_EQ(face.Frame1.widget()->geometry(), QRect(152, 8, 361, 201));
    EXPECT_EQ(face.ListView1.widget()->geometry(), QRect(8, 16, 345, 153));
    EXPECT_EQ(face.ListView1.widget()->parentWidget(), face.Frame1.widget());
    EXPECT_EQ(face.window.widget()->findChild<QWidget *>("pass"), face.pass.widget());
    face.window.setEnabled(false);
    EXPECT_FALSE(face.Command1.widget()->isEnabled());
    face.window.setEnabled(true);
    EXPECT_TRUE(face.Command1.widget()->isEnabled());
}

TEST(QtListView, TwentyThousandRowsAppendFastAndShowInOneBatch)
{
    Parent parent;
    qt::QtListView list(parent.twips());
    list.setGeometry({0, 0, 7000, 3000});
    list.setReportView(true);
    list.addColumn("Device ID", 3000);
    list.addColumn("Device Name", 2250);
    parent.widget.show();
    int batches = 0;
    QObject::connect(&list.model(), &QAbstractItemModel::rowsInserted, [&] { ++batches; });

    constexpr int kRows = 20000;
    QElapsedTimer clock;
    clock.start();
    for (int row = 1; row <= kRows; ++row) {
        list.addRow("PCI\\VEN_" + std::to_string(row));
        list.setSubItem(list.rowCount(), 1, "Device " + std::to_string(row));
    }
    QCoreApplication::processEvents();
    const qint64 elapsed = clock.elapsed();

    EXPECT_LT(elapsed, 2000) << "appending " << kRows << " rows took " << elapsed << " ms";
    EXPECT_EQ(batches, 1);
    EXPECT_EQ(list.model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Device Name");
    EXPECT_EQ(list.widget()->header()->sectionSize(0), 200);
    EXPECT_EQ(list.widget()->header()->sectionSize(1), 150);
}

TEST(QtListView, AutoSizeMeasuresTheTextAsDrawn)
{
    Parent parent;
    qt::QtListView list(parent.twips());
    list.addColumn("ID", 100);
    list.addColumn("A heading wider than its entries", 100);
    // The widest entry holds letters beyond ASCII, each measured once.
    const std::string widest =
        "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02 \u2013 Ger\u00e4t \u03a9\u03a9";
    list.addRow("PCI\\VEN_8086");
    list.addRow(widest);
    list.setSubItem(1, 1, "x");
    ASSERT_TRUE(list.sendSetColumnWidth(0, controls::ListView::kAutoSizeToContents));
    ASSERT_TRUE(list.sendSetColumnWidth(1, controls::ListView::kAutoSizeToContentsAndHeader));
    const QFontMetrics cells(list.widget()->font());
    const int entry = cells.horizontalAdvance(QString::fromStdString(widest));
    EXPECT_GT(list.column(1).width, entry * 15.0);
    EXPECT_LT(list.column(1).width, (entry + 40) * 15.0);
    const QFontMetrics heading(list.widget()->header()->font());
    EXPECT_GT(list.column(2).width,
              heading.horizontalAdvance("A heading wider than its entries") * 15.0);
    EXPECT_NEAR(list.widget()->header()->sectionSize(0), list.column(1).width / 15, 1);
}

TEST(QtListView, ClicksAndKeysReachTheProgram)
{
    Parent parent;
    qt::QtListView list(parent.twips());
    list.setGeometry({0, 0, 6000, 3000});
    list.addColumn("Device ID", 3000);
    list.addRow("PCI\\A");
    list.addRow("PCI\\B");
    parent.widget.show();
    QCoreApplication::processEvents();
    std::vector<std::string> events;
    const controls::Connection listItemClickHandler =
        list.onItemClick.connect([&](int row) { events.push_back("item " + std::to_string(row)); });
    const controls::Connection listClickHandler =
        list.onClick.connect([&] { events.push_back("click"); });
    const controls::Connection listDoubleClickHandler =
        list.onDoubleClick.connect([&] { events.push_back("double"); });
    const controls::Connection listKeyPressHandler =
        list.onKeyPress.connect([&](int code) { events.push_back("key " + std::to_string(code)); });

    const QRect second = list.widget()->visualRect(list.model().index(1, 0));
    QTest::mouseClick(list.widget()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(list.selectedRow(), 2);
    QTest::keyClick(list.widget(), Qt::Key_Enter);
    EXPECT_EQ(events, (std::vector<std::string>{"item 2", "click", "key 13"}));
    QTest::mouseDClick(list.widget()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(std::ranges::count(events, std::string("double")), 1);
}

} // namespace
} // namespace tollen::ui
