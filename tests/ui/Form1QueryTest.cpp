// The events that start a database query on the main window's headless controls, and what a
// query over a failing HTTP server shows (QtQueryTest.cpp has the Qt face's; the query itself is
// the database's, DownloadFlowTest.cpp runs one end to end on each server).

#include "DatabaseFixture.h"
#include "inventory/DeviceRecords.h"
#include "ui/Form1.h"

#include <functional>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

using testing::DatabaseServer;

class QueryTriggers : public ::testing::Test
{
protected:
    HeadlessForm1 controls;
    Form1 form{controls.controls(), Form1Startup{}};
};

TEST_F(QueryTriggers, EachEventStartsItsQueryAndOthersNone)
{
    testing::TemporaryFolder remote;
    testing::writeSampleDatabase(remote.path());
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

TEST_F(QueryTriggers, IndexGrowingPastTheSizeAskedIsNotListed)
{
    // 80 bytes to the size query, then 5 MB: more than the question before a large index allows.
    const testing::FaultServer server({"http-grow", "80", "5000000"});
    controls.Option1.select(0);
    controls.host.setText("http://" + server.host());
    form.QueryDatabase(R"(PCI\VEN_8086)", 0);
    EXPECT_EQ(controls.ListView2.rowCount(), 0);
    EXPECT_EQ(controls.Label5.caption(), "Device not found with this detail level!");
    EXPECT_FALSE(std::filesystem::exists(testing::localIndexCopy()));
}

TEST_F(QueryTriggers, HttpServerThatDoesNotAnswerSaysWhyOnceThenEndsAsNotFound)
{
    const testing::TemporaryFolder remote;
    const testing::NginxServer untrusted(remote.path(), testing::makeTestCertificate(remote.path()),
                                         {}, true);
    const std::pair<std::string, std::string> rows[] = {
        {"http://127.0.0.1:" + std::to_string(testing::freePort()),
         "A connection with the server cannot be made."},
        {untrusted.url(),
         "A secure connection cannot be made or the server's certificate is not trusted."}};
    controls.Option1.select(0);
    for (const auto &[host, reason] : rows) {
        controls.dialogs.forgetQuestions();
        controls.host.setText(host);
        form.QueryDatabase(R"(PCI\VEN_8086)", 0);
        EXPECT_EQ(controls.Label5.caption(), "Device not found with this detail level!");
        ASSERT_EQ(controls.dialogs.questions().size(), 1U) << host;
        EXPECT_EQ(controls.dialogs.questions()[0].text, "HTTP ERROR: " + reason);
        EXPECT_EQ(controls.dialogs.questions()[0].title, "Error");
    }
}

} // namespace
} // namespace tollen::ui
