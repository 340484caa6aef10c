// The events that start a database query on the Qt face of the main window (Form1QueryTest.cpp
// has which event starts which query).

#include "DatabaseFixture.h"
#include "ModalAnswer.h"
#include "inventory/DeviceRecords.h"
#include "ui/Form1.h"
#include "ui/qt/QtForm1.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

TEST(QtQueryTriggers, ButtonsAndListsOfTheWindowStartQueries)
{
    testing::TemporaryFolder remote;
    const std::filesystem::path root = remote.path() / "root";
    testing::writeSampleDatabase(root);
    testing::writeIndex(root, "pci/VEN_BIG", {std::string(1'000'001, 'x')});
    qt::QtForm1 widgets;
    Form1 form(widgets.controls(), Form1Startup{});
    widgets.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgets.window.widget()));
    widgets.host.setText("file://" + root.string());
    inventory::AddDeviceRecord(widgets.ListView1, R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02)",
                               "Network card");
    widgets.ListView1.selectRow(1);
    form.BuildCriteria();
    QApplication::processEvents();

    QTest::mouseClick(widgets.Command1.widget(), Qt::LeftButton);
    EXPECT_EQ(form.LastQuery, R"(PCI\VEN_8086&DEV_100E)");
    EXPECT_EQ(widgets.ListView2.rowCount(), 4);
    QApplication::processEvents();
    QTest::keyClick(widgets.List2.widget(), Qt::Key_Return);
    EXPECT_EQ(widgets.ListView2.rowCount(), 1);

    // "Other device" asks for the query; the size question that follows can be answered
    // although the window takes no input while the file is fetched.
    bool answerable = false;
    whenModalOpens([&](QWidget &modal) {
        auto &input = dynamic_cast<QInputDialog &>(modal);
        input.setTextValue(R"(PCI\VEN_BIG)");
        input.accept();
        whenModalOpens([&](QWidget &next) {
            auto &box = dynamic_cast<QMessageBox &>(next);
            answerable = box.isEnabled() && box.button(QMessageBox::Yes)->isEnabled();
            box.done(QMessageBox::Yes);
        });
    });
    QTest::mouseClick(widgets.Command2.widget(), Qt::LeftButton);
    EXPECT_TRUE(answerable);
    EXPECT_EQ(form.LastQuery, R"(PCI\VEN_BIG)");
    EXPECT_EQ(widgets.ListView2.rowCount(), 1);
    EXPECT_TRUE(widgets.window.isEnabled());
}

} // namespace
} // namespace tollen::ui
