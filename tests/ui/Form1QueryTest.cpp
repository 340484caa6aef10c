// The events that start a database query, and the road of one query from a device to its
// drivers, on the main window's headless controls (QtQueryTest.cpp has the Qt face's).

#include "DatabaseFixture.h"
#include "inventory/DeviceRecords.h"
#include "ui/Form1.h"

#include <functional>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;
using testing::DatabaseServer;
using Kind = DatabaseServer::Kind;
using Strings = std::vector<std::string>;

const char *const kCardId = R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02)";

/// The main window with two devices, the network card of the sample database chosen.
class QueryTriggers : public ::testing::Test
{
protected:
    QueryTriggers()
    {
        testing::writeSampleDatabase(root());
        inventory::AddDeviceRecord(controls.ListView1, R"(USB\VID_046D&PID_C52B)", "Receiver");
        inventory::AddDeviceRecord(controls.ListView1, kCardId, "Network card");
        chooseDevice(2);
    }

    fs::path root() const { return m_remote.path() / "root"; }

    /// A click on a row of the installed-hardware list.
    void chooseDevice(int row)
    {
        controls.ListView1.selectRow(row);
        controls.ListView1.onItemClick(row);
        controls.ListView1.onClick();
    }

    HeadlessForm1 controls;
    Form1 form{controls.controls(), Form1Startup{}};

private:
    testing::TemporaryFolder m_remote;
};

class RoadOfOneQuery : public QueryTriggers, public ::testing::WithParamInterface<Kind>
{
};

INSTANTIATE_TEST_SUITE_P(Servers, RoadOfOneQuery, ::testing::Values(Kind::Http, Kind::Ftp),
                         [](const auto &info) {
                             return std::string(testing::kindName(info.param));
                         });

TEST_P(RoadOfOneQuery, FromADeviceToItsDriversAndOneLevelDeeper)
{
    const DatabaseServer server(GetParam(), root());
    server.choose(controls);
    // The device's criteria, the second one chosen.
    ASSERT_EQ(controls.List1.items(),
              (Strings{R"(PCI\VEN_8086)", R"(PCI\VEN_8086&DEV_100E)",
                       R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086)", kCardId}));
    ASSERT_EQ(controls.List1.selectedIndex(), 1);

    controls.Command1.onClick();
    EXPECT_EQ(form.LastQuery, R"(PCI\VEN_8086&DEV_100E)");
    const std::string index = "/DIRSTRUCT/pci/VEN_8086/DEV_100E/index.txt";
    if (GetParam() == Kind::Http) {
        // One request for the size, one for the file.
        EXPECT_EQ(server.requests(2),
                  (Strings{"GET " + index + " HTTP/1.1", "GET /" + index + " HTTP/1.1"}));
    } else {
        // Under Wine, whose FtpCommand opens no data connection, each listing logs in again.
        if (!testing::runningUnderWine()) {
            EXPECT_EQ(server.ftpLogins(), 2);
        }
        EXPECT_NE(server.ftpLog().find("CWD /DIRSTRUCT/pci/VEN_8086/DEV_100E"), std::string::npos);
    }
    EXPECT_EQ(testing::readFile(testing::localIndexCopy()),
              testing::readFile(root() / index.substr(1)));
    ASSERT_EQ(controls.ListView2.rowCount(), 4);
    Strings first = {controls.ListView2.text(1)};
    for (int subItem = 1; subItem <= 8; ++subItem) {
        first.push_back(controls.ListView2.subItem(1, subItem));
    }
    EXPECT_EQ(first, (Strings{"Intel", "Intel PRO/1000 MT Desktop Adapter", kCardId, "Net",
                              "Windows 7 64-Bit", "8.4.21.0", "05/21/2008",
                              "/drivers/intel/pro1000.zip/win7/e1000.inf", "Archived"}));
    // The identifier in lower case is not shortened by the query: its first piece is offered.
    EXPECT_EQ(controls.List2.items(), (Strings{"SUBSYS_002E8086", "SUBSYS_001E8086", "DEV_100E"}));
    EXPECT_EQ(controls.Label5.caption(), "Scanning DB...");
    EXPECT_TRUE(controls.window.isEnabled());

    // A subsystem refines the same base: three pieces, so nothing more to offer.
    controls.List2.select(0);
    controls.List2.onDoubleClick();
    EXPECT_EQ(form.LastQuery, R"(PCI\VEN_8086&DEV_100E)");
    ASSERT_EQ(controls.ListView2.rowCount(), 1);
    EXPECT_EQ(controls.ListView2.subItem(1, 1), "Intel PRO/1000 MT Desktop Adapter (OEM)");
    EXPECT_EQ(controls.List2.count(), 0);
    EXPECT_TRUE(controls.dialogs.questions().empty());
}

TEST_F(QueryTriggers, EachEventStartsItsQueryAndOthersNone)
{
    const DatabaseServer server(Kind::File, root());
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
        {"Other device",
         [&] {
             controls.dialogs.script(std::string(R"(USB\VID_046D)"));
             controls.Command2.onClick();
         },
         R"(USB\VID_046D)", 2},
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
    const auto &questions = controls.dialogs.questions();
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].kind, controls::HeadlessDialogs::Kind::InputBox);
    EXPECT_EQ(questions[0].text, "Enter query string");
    EXPECT_EQ(questions[0].title, "Driver Query");
    EXPECT_EQ(questions[0].defaultText, "");
}

TEST_F(QueryTriggers, RefinementEntriesExtendTheLastQuery)
{
    const DatabaseServer server(Kind::File, root());
    server.choose(controls);
    form.QueryDatabase(R"(PCI\VEN_8086)", 0);
    ASSERT_EQ(controls.List2.items(), (Strings{"DEV_100E", "DEV_10D3"}));
    // Enter with nothing chosen takes the first entry; a device piece becomes the new base.
    controls.List2.onKeyPress(13);
    EXPECT_EQ(form.LastQuery, R"(PCI\VEN_8086&DEV_100E)");
    ASSERT_EQ(controls.ListView2.rowCount(), 4);
    // Other keys do nothing; a subsystem keeps the base.
    controls.List2.select(1);
    controls.List2.onKeyPress(' ');
    EXPECT_EQ(controls.ListView2.rowCount(), 4);
    controls.List2.onKeyPress(13);
    EXPECT_EQ(form.LastQuery, R"(PCI\VEN_8086&DEV_100E)");
    EXPECT_EQ(controls.Label5.caption(), "Device not found with this detail level!");
    // With the list empty there is nothing to refine with.
    controls.List2.clear();
    controls.Label5.setCaption("");
    controls.List2.onKeyPress(13);
    controls.List2.onDoubleClick();
    EXPECT_EQ(controls.Label5.caption(), "");
}

TEST_F(QueryTriggers, IndexGrowingPastTheSizeAskedIsNotListed)
{
    // 80 bytes to the size query, then 5 MB: more than the question before a large index allows.
    const testing::FaultServer server({"http-grow", "80", "5000000"});
    controls.Option1.select(0);
    controls.host.setText("http://" + server.host());
    controls.Command1.onClick();
    EXPECT_EQ(controls.ListView2.rowCount(), 0);
    EXPECT_EQ(controls.Label5.caption(), "Device not found with this detail level!");
    EXPECT_FALSE(fs::exists(testing::localIndexCopy()));
}

TEST_F(QueryTriggers, HttpServerThatDoesNotAnswerSaysWhyOnceThenEndsAsNotFound)
{
    const auto certificate = testing::makeTestCertificate(root());
    const testing::NginxServer untrusted(root(), certificate, {}, true);
    const std::pair<std::string, std::string> rows[] = {
        {"http://127.0.0.1:" + std::to_string(testing::freePort()),
         "A connection with the server cannot be made."},
        {untrusted.url(),
         "A secure connection cannot be made or the server's certificate is not trusted."}};
    controls.Option1.select(0);
    for (const auto &[host, reason] : rows) {
        controls.dialogs.forgetQuestions();
        controls.host.setText(host);
        controls.Command1.onClick();
        EXPECT_EQ(controls.Label5.caption(), "Device not found with this detail level!");
        ASSERT_EQ(controls.dialogs.questions().size(), 1U) << host;
        EXPECT_EQ(controls.dialogs.questions()[0].text, "HTTP ERROR: " + reason);
        EXPECT_EQ(controls.dialogs.questions()[0].title, "Error");
    }
}

} // namespace
} // namespace tollen::ui
