// The database query against real servers (nginx, vsftpd, and a file: tree), through the main
// window's own transfer routines on headless controls.

#include "database/DatabaseQuery.h"

#include "DatabaseFixture.h"
#include "ui/Form1.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using Kind = DatabaseServer::Kind;
using Strings = std::vector<std::string>;

const char *const kCardQuery = R"(PCI\VEN_8086&DEV_100E)";

/// The main window on headless controls over a database written at test time. It records the
/// window's state at every yield and every question, to check when it takes input.
class QueryTest : public ::testing::Test
{
protected:
    QueryTest()
    {
        writeSampleDatabase(root());
        controls.eventLoop.onYield = [this] {
            (controls.ListView2.isVisible() ? enabledInTransfers : enabledWhileReading)
                .push_back(controls.window.isEnabled());
            if (onYield) {
                onYield();
            }
        };
        controls.dialogs.onQuestion = [this](const controls::HeadlessDialogs::Question &) {
            enabledInTransfers.push_back(controls.window.isEnabled());
        };
    }

    fs::path root() const { return m_remote.path() / "root"; }

    /// The nine columns of a row of the results list.
    Strings row(int number) const
    {
        Strings columns = {controls.ListView2.text(number)};
        for (int subItem = 1; subItem <= 8; ++subItem) {
            columns.push_back(controls.ListView2.subItem(number, subItem));
        }
        return columns;
    }

    /// The window took no input while files were fetched, took it while the rows were read, and
    /// takes it again now.
    void expectInputOnlyWhileReading() const
    {
        EXPECT_TRUE(controls.window.isEnabled());
        EXPECT_TRUE(std::none_of(enabledInTransfers.begin(), enabledInTransfers.end(),
                                 [](bool enabled) { return enabled; }));
        EXPECT_TRUE(std::all_of(enabledWhileReading.begin(), enabledWhileReading.end(),
                                [](bool enabled) { return enabled; }));
        EXPECT_TRUE(controls.ListView2.isVisible());
    }

    ui::HeadlessForm1 controls;
    ui::Form1 form{controls.controls(), ui::Form1Startup{}};
    std::vector<bool> enabledInTransfers;
    std::vector<bool> enabledWhileReading;
    std::function<void()> onYield;

private:
    TemporaryFolder m_remote;
};

class QueryOverEachServer : public QueryTest, public ::testing::WithParamInterface<Kind>
{
};

INSTANTIATE_TEST_SUITE_P(Servers, QueryOverEachServer,
                         ::testing::Values(Kind::Http, Kind::Ftp, Kind::File),
                         [](const auto &info) { return std::string(kindName(info.param)); });

TEST_P(QueryOverEachServer, IndexFilesAboveOneMillionBytesAreFetchedOnlyWhenConfirmed)
{
    // Rows of 100 bytes each, CR LF included: 10,000 of them make exactly 1,000,000 bytes.
    const std::string line = indexLine({"Folder", "Acme", "Widget", R"(PCI\VEN_1234&DEV_0001)",
                                        "Net", "NTX86", "1.0", "01/01/2001", "/acme/"});
    const std::string padded = line + std::string(98 - line.size(), 'x');
    std::vector<std::string> lines(10'000, padded);
    writeIndex(root(), "pci/VEN_1234/DEV_0001", lines);
    lines.back() += "y";
    writeIndex(root(), "pci/VEN_1234/DEV_0002", lines);
    ASSERT_EQ(fs::file_size(root() / "DIRSTRUCT/pci/VEN_1234/DEV_0001/index.txt"), 1'000'000u);
    const DatabaseServer server(GetParam(), root());
    server.choose(controls);

    form.QueryDatabase(R"(PCI\VEN_1234&DEV_0001)", 0);
    EXPECT_TRUE(controls.dialogs.questions().empty());
    EXPECT_EQ(controls.ListView2.rowCount(), 10'000);
    EXPECT_EQ(controls.List2.items(), Strings{});
    ASSERT_TRUE(fs::exists(localIndexCopy()));

    controls.List2.addItem("STALE");
    controls.dialogs.script(controls::kAnswerNo);
    form.QueryDatabase(R"(PCI\VEN_1234&DEV_0002)", 0);
    ASSERT_EQ(controls.dialogs.questions().size(), 1u);
    EXPECT_EQ(controls.dialogs.questions()[0].text,
              "Database for this selection is > 1MB. Are you sure?");
    EXPECT_EQ(controls.ListView2.rowCount(), 0);
    EXPECT_EQ(controls.List2.count(), 0);
    EXPECT_EQ(controls.Label5.caption(), "Scanning DB...");
    EXPECT_FALSE(fs::exists(fs::symlink_status(localIndexCopy())));

    controls.dialogs.script(controls::kAnswerYes);
    form.QueryDatabase(R"(PCI\VEN_1234&DEV_0002)", 0);
    EXPECT_EQ(controls.ListView2.rowCount(), 10'000);
    EXPECT_EQ(controls.ListView2.subItem(10'000, 7).back(), 'y');
    expectInputOnlyWhileReading();
}

TEST_F(QueryTest, FailedDownloadEmptiesOnlyTheRefinementList)
{
    const DatabaseServer files(Kind::File, root());
    files.choose(controls);
    form.QueryDatabase(R"(USB\VID_046D)", 0);
    ASSERT_EQ(controls.ListView2.rowCount(), 2);

    // The server promises 9000 bytes and closes after 3000.
    FaultServer shortBody({"http-short", "3000", "9000"});
    controls.host.setText("http://" + shortBody.host());
    form.QueryDatabase(kCardQuery, 0);
    EXPECT_EQ(controls.Label5.caption(), "Device not found with this detail level!");
    EXPECT_EQ(controls.ListView2.rowCount(), 2);
    EXPECT_EQ(controls.List2.count(), 0);
    EXPECT_FALSE(fs::exists(localIndexCopy()));
    expectInputOnlyWhileReading();
}

/// The transfer routines' answers for a fault no real server shows on demand: the size query
/// works, then the FTP connection of the download cannot be made (-1, not a failure code).
class LostConnection : public database::RemoteFiles
{
public:
    std::int32_t GetFileSize(const std::string &) override { return 100; }
    std::int16_t DownloadFile(std::string &, std::string &, std::int64_t) override { return -1; }
    bool streamFile(const std::string &, std::uint64_t, const FileBytes &) override
    {
        return false;
    }
    const transfer::TransferFailure &lastFailure() const override { return m_failure; }

private:
    transfer::TransferFailure m_failure;
};

TEST_F(QueryTest, DownloadReportedAsDoneWithoutACopySaysNotFound)
{
    controls.ListView2.addRow("kept");
    LostConnection window;
    database::DatabaseQuery query(window, {controls.window, controls.dialogs, controls.eventLoop,
                                           controls.List2, controls.ListView2, controls.Label5});
    std::string LastQuery;
    EXPECT_EQ(query.QueryDatabase(kCardQuery, 0, LastQuery).kind,
              database::QueryOutcome::Kind::NotFound);
    EXPECT_EQ(controls.Label5.caption(), "Device not found with this detail level!");
    EXPECT_EQ(controls.ListView2.rowCount(), 1);
    EXPECT_TRUE(controls.window.isEnabled());
}

TEST_F(QueryTest, LastQueryIsTheQueryUnlessItRefinesASubsystemAndOnlyShallowQueriesRefine)
{
    const DatabaseServer server(Kind::File, root());
    server.choose(controls);
    struct Step
    {
        std::string query;
        std::int16_t flag;
        std::string lastQuery;
        int rows;
        Strings refinements;
    };
    const std::string card = kCardQuery;
    const Step steps[] = {
        {card, 0, card, 4, {"SUBSYS_002E8086", "SUBSYS_001E8086", "DEV_100E"}},
        // Refining a subsystem keeps the last query; a query that finds nothing keeps the lists.
        {card + "&SUBSYS_002E8086", 1, card, 1, {}},
        {card + "&SUBSYS_FFFF8086", 1, card, 1, {"STALE"}},
        {card + "&SUBSYS_002E8086", 0, card + "&SUBSYS_002E8086", 1, {}},
        {R"(USB\VID_046D)", 0, R"(USB\VID_046D)", 2, {"PID_C52B", "PID_C534"}},
        {R"(USB\VID_046D&PID_C52B)", 2, R"(USB\VID_046D&PID_C52B)", 1, {}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.query);
        controls.List2.clear();
        controls.List2.addItem("STALE");
        form.QueryDatabase(step.query, step.flag);
        EXPECT_EQ(form.LastQuery, step.lastQuery);
        EXPECT_EQ(controls.ListView2.rowCount(), step.rows);
        EXPECT_EQ(controls.List2.items(), step.refinements);
    }
}

TEST_F(QueryTest, DamagedIndexFilesLoadAndKeepTheWindowAlive)
{
    std::mt19937 random(8);
    std::string garbage(300'000, '\0');
    for (char &byte : garbage) {
        byte = static_cast<char>(random() % 256);
    }
    struct Row
    {
        const char *name;
        std::string bytes;
        /// The rows listed, the first of them; none for many.
        std::vector<Strings> rows;
    };
    Strings german(8, "Geräte GmbH");
    german.push_back("Folder");
    const Row rows[] = {
        {"garbage", garbage, {}},
        {"CR only",
         "T\"M\"D\"H\"C\"NTX86\"V\"1\"/p\rT2\"M2\r",
         {{"M", "D", "H", "C", "Windows 32-Bit (XP+)", "V", "1", "/p", "T"},
          {"M2", "M2", "M2", "M2", "M2", "M2", "M2", "M2", "T2"}}},
        {"Windows-1252", "Folder\"Ger\xE4te GmbH\r\n", {german}},
    };
    const DatabaseServer server(Kind::File, root());
    server.choose(controls);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(root() / "DIRSTRUCT/pci/VEN_BAD/index.txt", row.bytes);
        enabledWhileReading.clear();
        form.QueryDatabase(R"(PCI\VEN_BAD)", 0);
        const int listed = controls.ListView2.rowCount();
        if (row.rows.empty()) {
            EXPECT_GT(listed, 1000);
        } else {
            ASSERT_EQ(listed, static_cast<int>(row.rows.size()));
        }
        for (std::size_t number = 0; number < row.rows.size(); ++number) {
            EXPECT_EQ(this->row(static_cast<int>(number) + 1), row.rows[number]);
        }
        EXPECT_EQ(static_cast<int>(enabledWhileReading.size()), listed / 5);
        expectInputOnlyWhileReading();
    }
}

TEST_F(QueryTest, ASecondQueryIsNotStartedWhileTheRowsAreRead)
{
    const DatabaseServer server(Kind::File, root());
    server.choose(controls);
    writeIndex(root(), "pci/VEN_1234",
               std::vector<std::string>(
                   50, indexLine({"Folder", "Acme", "Widget", R"(PCI\VEN_1234&DEV_0001)"})));
    int attempts = 0;
    onYield = [&] {
        if (!controls.ListView2.isVisible()) {
            ++attempts;
            form.QueryDatabase(R"(USB\VID_046D)", 0);
            controls.Command1.onClick();
        }
    };
    form.QueryDatabase(R"(PCI\VEN_1234)", 0);
    EXPECT_EQ(attempts, 10);
    EXPECT_EQ(form.LastQuery, R"(PCI\VEN_1234)");
    EXPECT_EQ(controls.ListView2.rowCount(), 50);
    EXPECT_EQ(controls.List2.items(), Strings{"DEV_0001"});
    EXPECT_EQ(readFile(localIndexCopy()), readFile(root() / "DIRSTRUCT/pci/VEN_1234/index.txt"));
    expectInputOnlyWhileReading();

    onYield = nullptr;
    form.QueryDatabase(R"(USB\VID_046D)", 0);
    EXPECT_EQ(controls.ListView2.rowCount(), 2);
}

TEST_F(QueryTest, NoStepFollowsALinkPlantedAtTheLocalCopy)
{
    const DatabaseServer server(Kind::Http, root());
    server.choose(controls);
    const fs::path victim = root() / "victim.txt";
    writeFile(victim, "precious");
    const auto plant = [&] {
        fs::remove(localIndexCopy());
        fs::create_symlink(victim, localIndexCopy());
    };

    try {
        plant();
    } catch (const fs::filesystem_error &error) {
        GTEST_SKIP() << "this system makes no symbolic link here: " << error.what();
    }
    form.QueryDatabase(kCardQuery, 0);
    EXPECT_EQ(controls.ListView2.rowCount(), 4);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(localIndexCopy())));
    EXPECT_EQ(readFile(victim), "precious");

    // Declining a large file removes the link and writes nothing through it.
    writeIndex(root(), "pci/VEN_BIG", {std::string(1'000'001, 'x')});
    plant();
    controls.dialogs.script(controls::kAnswerNo);
    form.QueryDatabase(R"(PCI\VEN_BIG)", 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(localIndexCopy())));
    EXPECT_EQ(readFile(victim), "precious");
}

} // namespace
} // namespace tollen::testing
