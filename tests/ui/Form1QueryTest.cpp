// The events that start a database query on the main window's headless controls (QtQueryTest.cpp
// has the Qt face's; the query itself is the database's, DownloadFlowTest.cpp runs one end to end
// on each server).

#include "DatabaseFixture.h"
#include "inventory/DeviceRecords.h"
#include "ui/Form1.h"

#include <functional>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

using testing::DatabaseServer;

TEST(QueryTriggers, EachEventStartsItsQueryAndOthersNone)
{
    testing::TemporaryFolder remote;
    testing::writeSampleDatabase(remote.path());
    HeadlessForm1 controls;
    Form1 form{controls.controls(), Form1Startup{}};
    // Two devices, the network card of the sample database chosen with a click.
    inventory::AddDeviceRecord(controls.ListView1, R"(USB\VID_046D&PID_C52B)", "Receiver");
    inventory::AddDeviceRecord(controls.ListView1,
                               R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02)", "Network card");
    controls.ListView1.selectRow(2);
    controls.ListView1.onItemClick(2);
    controls.ListView1.onClick();
    const DatabaseServer server(DatabaseServer::Kind::File, remote.path());
    server.choose(controls);
    struct Row
    {
        const char *event;
        std::function<void()> act;
        /// LastQuery afterwards; nullptr when no query may start.
        const char *lastQuery;
        int rows;
    };
    const Row rows[] = {
        {"Scan", [&] { controls.Command1.onClick(); }, R"(PCI\VEN_8086&DEV_100E)", 4},
        {"double-click on List1",
         [&] {
             controls.List1.select(0);
             controls.List1.onDoubleClick();
         },
         R"(PCI\VEN_8086)", 2},
        {"Enter in List2, none chosen, refines the last query with its first entry",
         [&] {
             form.LastQuery = R"(PCI\VEN_8086)";
             controls.List2.onKeyPress(13);
         },
         R"(PCI\VEN_8086&DEV_100E)", 4},
        {"another key in List2", [&] { controls.List2.onKeyPress(' '); }, nullptr, 0},
        {"double-click on an empty List2",
         [&] {
             controls.List2.clear();
             controls.List2.onDoubleClick();
         },
         nullptr, 0},
        {"Enter in List1",
         [&] {
             controls.List1.select(1);
             controls.List1.onKeyPress(13);
         },
         R"(PCI\VEN_8086&DEV_100E)", 4},
        {"another key in List1", [&] { controls.List1.onKeyPress('a'); }, nullptr, 0},
        {"Enter in ListView1 on another device",
         [&] {
             controls.ListView1.selectRow(1);
             controls.ListView1.onKeyPress(13);
         },
         R"(USB\VID_046D&PID_C52B)", 1},
        {"another key in ListView1",
         [&] {
             controls.ListView1.selectRow(2);
             controls.ListView1.onKeyPress('x');
         },
         nullptr, 0},
        {"Other device, cancelled", [&] { controls.Command2.onClick(); }, nullptr, 0},
        {"Scan with no criterion chosen",
         [&] {
             controls.List1.clear();
             controls.Command1.onClick();
         },
         "", 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.event);
        form.LastQuery = "before";
        controls.Label5.setCaption("");
        controls.ListView2.clear();
        row.act();
        if (row.lastQuery == nullptr) {
            EXPECT_EQ(form.LastQuery, "before");
            EXPECT_EQ(controls.Label5.caption(), "");
        } else {
            EXPECT_EQ(form.LastQuery, row.lastQuery);
        }
        EXPECT_EQ(controls.ListView2.rowCount(), row.rows);
        EXPECT_TRUE(controls.window.isEnabled());
    }
    EXPECT_EQ(controls.dialogs.questions().size(), 1u);
}

} // namespace
} // namespace tollen::ui
