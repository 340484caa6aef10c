// The demo database as the build leaves it: well-formed index files whose lines belong where
// they stand, and every remote path present in the tree.

#include "ui/DemoDatabase.h"

#include "DatabaseFixture.h"
#include "core/Text.h"
#include "database/IndexLine.h"
#include "ui/DownloadRules.h"
#include "ui/Form1.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kDemoDatabase = TOLLEN_DEMO_DATABASE;

/// The Windows build takes the demo database from a Linux build tree, which may not be there.
#define SKIP_WITHOUT_DEMO_DATABASE()                                                               \
    if (!fs::is_directory(kDemoDatabase / "DIRSTRUCT")) {                                          \
        GTEST_SKIP() << "no demo database at " << kDemoDatabase.string();                          \
    }

/// The query an index file answers: "pci/VEN_1AF4/DEV_1041" gives "PCI\VEN_1AF4&DEV_1041".
std::string queryOf(const fs::path &directory)
{
    std::string query;
    for (const fs::path &part : directory) {
        query += query.empty() ? toUpper(part.string()) + "\\" : part.string() + "&";
    }
    query.pop_back();
    return query;
}

TEST(DemoDatabase, EveryLineBelongsToItsFileAndPointsIntoTheTree)
{
    SKIP_WITHOUT_DEMO_DATABASE();
    const fs::path indexRoot = kDemoDatabase / "DIRSTRUCT";
    ASSERT_TRUE(fs::is_directory(indexRoot));
    int files = 0;
    int archives = 0;
    for (const auto &entry : fs::recursive_directory_iterator(indexRoot)) {
        if (entry.path().filename() != "index.txt") {
            continue;
        }
        ++files;
        const std::string query = queryOf(entry.path().parent_path().lexically_relative(indexRoot));
        const std::string text = readFile(entry.path());
        ASSERT_TRUE(isValidUtf8(text)) << entry.path();
        database::IndexLineReader lines(text);
        std::string_view line;
        while (lines.next(line)) {
            SCOPED_TRACE(std::string(line));
            EXPECT_EQ(std::count(line.begin(), line.end(), database::kFieldSeparator), 8);
            EXPECT_EQ(line.find('\n'), std::string_view::npos);
            const database::IndexFields fields = database::splitIndexLine(line);
            const std::string &hardwareId = fields[database::IndexField::HardwareId];
            EXPECT_TRUE(hardwareId.starts_with(query) &&
                        (hardwareId.size() == query.size() || hardwareId[query.size()] == '&'))
                << query;
            // An archived package's path goes on inside its archive: the archive is the file.
            const std::string remotePath = fields[database::IndexField::RemotePath];
            const fs::path package = kDemoDatabase / ui::archivePath(remotePath).substr(1);
            ASSERT_TRUE(fs::is_regular_file(package));
            if (fields[database::IndexField::Type] == "Archived") {
                ++archives;
                EXPECT_TRUE(ui::HasArchiveExtension(package.string()));
                EXPECT_GT(remotePath.size(), ui::archivePath(remotePath).size());
            } else {
                EXPECT_EQ(fields[database::IndexField::Type], "Folder");
                EXPECT_EQ(package.extension(), ".inf");
            }
        }
    }
    EXPECT_GE(files, 20);
    EXPECT_GT(archives, 0);
}

TEST(DemoDatabase, AnswersTheVirtioNetworkDeviceWithItsSubsystems)
{
    SKIP_WITHOUT_DEMO_DATABASE();
    ui::HeadlessForm1 controls;
    ui::Form1 form(controls.controls(), ui::Form1Startup{});
    controls.Option1.select(0);
    controls.host.setText(ui::fileUrl(kDemoDatabase));
    form.QueryDatabase(R"(PCI\VEN_1AF4&DEV_1041)", 0);
    EXPECT_EQ(controls.ListView2.rowCount(), 5);
    EXPECT_EQ(controls.List2.items(),
              (std::vector<std::string>{"SUBSYS_10411AF4", "SUBSYS_11001AF4"}));
}

} // namespace
} // namespace tollen::testing
