#include "builder/IndexBuilder.h"

#include "ArchiveFixtures.h"
#include "TestServers.h"
#include "database/DatabaseDescription.h"
#include "database/PackageFiles.h"

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tollen::builder {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

struct RecordingObserver final : BuildObserver
{
    void packageStarted(std::size_t, std::size_t, const std::string &remotePath,
                        bool fromCache) override
    {
        (fromCache ? cached : read).push_back(remotePath);
        if (onStart) {
            onStart(remotePath);
        }
    }
    void fileSkipped(const SkippedFile &file) override { skipped.push_back(file); }
    void idRefused(const RefusedId &id) override { refused.push_back(id); }
    void writingTree() override { treeWritten = true; }

    std::vector<std::string> read;
    std::vector<std::string> cached;
    std::vector<SkippedFile> skipped;
    std::vector<RefusedId> refused;
    bool treeWritten = false;
    std::function<void(const std::string &)> onStart;
};

/// An INF whose models section lists `ids`, each on a model line named `device`, with the
/// decorations given.
std::string infFile(const std::string &device, const std::vector<std::string> &ids,
                    const std::vector<std::string> &decorations = {})
{
    std::string text = "[Version]\r\nClass=Net\r\nDriverVer=01/02/2003,1.0\r\n[Manufacturer]\r\n"
                       "Acme=Models";
    for (const std::string &decoration : decorations) {
        text += "," + decoration;
    }
    text += "\r\n";
    std::string modelLines;
    for (const std::string &id : ids) {
        modelLines += device + " = Install, " + id + "\r\n";
    }
    text += "[Models]\r\n" + modelLines;
    for (const std::string &decoration : decorations) {
        text += "[Models." + decoration + "]\r\n" + modelLines;
    }
    return text;
}

std::string line(const std::string &device, const std::string &id, const std::string &decoration,
                 const std::string &path, const std::string &type = "Folder")
{
    return type + "\"Acme\"" + device + "\"" + id + "\"Net\"" + decoration + "\"1.0\"01/02/2003\"" +
           path;
}

class IndexBuilderTest : public ::testing::Test
{
protected:
    fs::path root() const { return m_folder.path(); }
    fs::path tree() const { return root() / "DIRSTRUCT"; }

    void put(const std::string &path, const std::string &bytes, int modifiedSecondsAgo = 100)
    {
        const fs::path file = root() / path;
        fs::create_directories(file.parent_path());
        writeFile(file, bytes);
        // Distinct modification times, so a rewritten file never looks unchanged.
        fs::last_write_time(file, fs::file_time_type::clock::now() -
                                      std::chrono::seconds(modifiedSecondsAgo));
    }

    BuildResult build()
    {
        m_observer = {};
        return buildIndex(root(), m_observer);
    }

    std::string indexFile(const std::string &folder) const
    {
        std::string lines;
        for (const std::string &line : linesOf(tree() / folder / "index.txt")) {
            lines += line + "\r\n";
        }
        return lines;
    }

    /// The lines of an index file without the proof after their ninth field, which the proof
    /// test checks.
    static std::vector<std::string> linesOf(const fs::path &file)
    {
        std::vector<std::string> lines;
        const std::string text = readFile(file);
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find("\r\n", start);
            std::size_t quotes = 0;
            std::size_t ninth = start;
            while (ninth < end && (text[ninth] != '"' || ++quotes < 9)) {
                ++ninth;
            }
            lines.push_back(text.substr(start, ninth - start));
            start = end + 2;
        }
        return lines;
    }

    /// Every line of every index file, with the file's folder in front.
    std::multiset<std::string> treeLines() const
    {
        std::multiset<std::string> lines;
        for (const auto &entry : fs::recursive_directory_iterator(tree())) {
            if (entry.path().filename() == "index.txt") {
                const std::string folder = fs::relative(entry.path().parent_path(), tree());
                for (const std::string &line : linesOf(entry.path())) {
                    lines.insert(folder + " " + line);
                }
            }
        }
        return lines;
    }

    testing::TemporaryFolder m_folder;
    RecordingObserver m_observer;
};

TEST_F(IndexBuilderTest, ListsEachLineInTheIndexOfEveryPrefixSortedAndEndedWithCrLf)
{
    const std::string shortId = R"(PCI\VEN_8086&DEV_100E)";
    const std::string longId = shortId + "&SUBSYS_002E8086";
    put("b/net.inf", infFile("Net", {longId, shortId}, {"NTx86", "NTamd64"}));
    put("a/net.inf", infFile("Net", {shortId, R"(PCI\..)"}));
    const BuildResult result = build();
    ASSERT_FALSE(result.error) << result.error.message;

    // Hardware ID first, then remote path, then decoration, comparing bytes.
    const std::string longOnly = line("Net", longId, "", "/b/net.inf") + "\r\n" +
                                 line("Net", longId, "NTamd64", "/b/net.inf") + "\r\n" +
                                 line("Net", longId, "NTx86", "/b/net.inf") + "\r\n";
    EXPECT_EQ(indexFile("pci/VEN_8086/DEV_100E"),
              line("Net", shortId, "", "/a/net.inf") + "\r\n" +
                  line("Net", shortId, "", "/b/net.inf") + "\r\n" +
                  line("Net", shortId, "NTamd64", "/b/net.inf") + "\r\n" +
                  line("Net", shortId, "NTx86", "/b/net.inf") + "\r\n" + longOnly);
    EXPECT_EQ(indexFile("pci/VEN_8086/DEV_100E/SUBSYS_002E8086"), longOnly);
    EXPECT_EQ(result.summary.infFilesRead, 2U);
    EXPECT_EQ(result.summary.lines, 7U);
    EXPECT_EQ(result.summary.indexFiles, 3U);
    EXPECT_EQ(result.summary.refusedIds, 1U);
    EXPECT_EQ(m_observer.refused.size(), 1U);
}

TEST_F(IndexBuilderTest, ARerunReadsOnlyWhatChangedAndChangesExactlyItsLinesUnlessARebuildIsAsked)
{
    put("c/changed.inf", infFile("Old", {R"(PCI\VEN_1&DEV_1)"}), 300);
    put("r/removed.inf", infFile("Gone", {R"(PCI\VEN_2&DEV_2)"}));
    put("kept/pack.zip",
        testing::makeArchive(testing::ArchiveFormat::Zip,
                             {{"x.inf", infFile("Kept", {R"(PCI\VEN_1&DEV_3)", R"(USB\VID_1)"})}}));
    ASSERT_FALSE(build().error);
    const std::multiset<std::string> before = treeLines();

    // Touched without a change: read again, the tree stays, and the cache learns the new stamp.
    put("r/removed.inf", infFile("Gone", {R"(PCI\VEN_2&DEV_2)"}), 50);
    EXPECT_TRUE(build().summary.treeUnchanged);
    EXPECT_EQ(m_observer.read, std::vector<std::string>{"/r/removed.inf"});

    // Unchanged: nothing is read and the tree is left as it is.
    BuildResult again = build();
    ASSERT_FALSE(again.error) << again.error.message;
    EXPECT_TRUE(again.summary.treeUnchanged);
    EXPECT_FALSE(m_observer.treeWritten);
    EXPECT_TRUE(m_observer.read.empty());
    EXPECT_EQ(m_observer.cached.size(), 3U);
    EXPECT_EQ(again.summary.lines, 4U);
    EXPECT_EQ(again.summary.indexFiles, 6U);

    // Replaced as rsync or cp -p would: the same size and modification time.
    const auto modified = fs::last_write_time(root() / "c/changed.inf");
    writeFile(root() / "c/changed.new", infFile("New", {R"(PCI\VEN_1&DEV_1)"}));
    fs::last_write_time(root() / "c/changed.new", modified);
    fs::rename(root() / "c/changed.new", root() / "c/changed.inf");
    put("added/new.inf", infFile("Added", {R"(PCI\VEN_3)"}));
    fs::remove(root() / "r/removed.inf");
    const BuildResult changed = build();
    ASSERT_FALSE(changed.error) << changed.error.message;
    EXPECT_FALSE(changed.summary.treeUnchanged);
    EXPECT_EQ(m_observer.read, (std::vector<std::string>{"/added/new.inf", "/c/changed.inf"}));
    EXPECT_EQ(m_observer.cached, (std::vector<std::string>{"/kept/pack.zip"}));

    std::multiset<std::string> expected = before;
    for (const std::string folder : {"pci/VEN_1", "pci/VEN_1/DEV_1"}) {
        expected.erase(folder + " " + line("Old", R"(PCI\VEN_1&DEV_1)", "", "/c/changed.inf"));
        expected.insert(folder + " " + line("New", R"(PCI\VEN_1&DEV_1)", "", "/c/changed.inf"));
    }
    for (const std::string folder : {"pci/VEN_2", "pci/VEN_2/DEV_2"}) {
        expected.erase(folder + " " + line("Gone", R"(PCI\VEN_2&DEV_2)", "", "/r/removed.inf"));
    }
    expected.insert("pci/VEN_3 " + line("Added", R"(PCI\VEN_3)", "", "/added/new.inf"));
    EXPECT_EQ(treeLines(), expected);
    EXPECT_FALSE(fs::exists(tree() / "pci/VEN_2"));

    m_observer = {};
    ASSERT_FALSE(buildIndex(root(), m_observer, {.rebuild = true}).error);
    EXPECT_EQ(m_observer.read.size(), 3U);
    EXPECT_TRUE(m_observer.treeWritten);
}

TEST_F(IndexBuilderTest, ADamagedTreeOrCacheOrALeftoverBuildIsRepaired)
{
    put("a/a.inf", infFile("A", {R"(PCI\VEN_1&DEV_1)"}));
    ASSERT_FALSE(build().error);
    const std::multiset<std::string> written = treeLines();
    const std::pair<std::function<void()>, bool> damages[] = {
        {[&] { fs::remove(tree() / "pci/VEN_1/index.txt"); }, false},
        {[&] { fs::remove(tree() / "tollen-database.json"); }, false},
        {[&] { writeFile(tree() / "pci/VEN_1/DEV_1/index.txt", "garbage"); }, false},
        {[&] {
             put(".tollen-index-build/pci/index.txt", "left by a run that died");
             writeFile(root() / ".tollen-index-cache", "garbage");
         },
         true},
    };
    for (const auto &[damage, rereads] : damages) {
        damage();
        const BuildResult repaired = build();
        ASSERT_FALSE(repaired.error) << repaired.error.message;
        EXPECT_EQ(m_observer.read,
                  rereads ? std::vector<std::string>{"/a/a.inf"} : std::vector<std::string>{});
        EXPECT_EQ(treeLines(), written);
        EXPECT_FALSE(fs::exists(root() / ".tollen-index-build"));
    }
    EXPECT_TRUE(build().summary.treeUnchanged);
}

TEST_F(IndexBuilderTest, SkipsPathsADownloadWouldCutShortOrAnIndexLineCannotCarry)
{
    const std::string inf = infFile("A", {R"(PCI\VEN_1)"});
    const std::string zip = testing::makeArchive(testing::ArchiveFormat::Zip, {{"a.inf", inf}});
    for (const char *path :
         {"Library/a.zip", "WinZip/a.zip", "7-Zip/a.zip", "d/setupexe/a.exe", "ziptool.zip"}) {
        put(path, zip);
    }
    for (const char *path : {"Acme \"Pro\"/a.inf", "cr\r/a.inf", "lf\n/a.inf"}) {
        put(path, inf);
    }
    // The row of a loose file opens its folder; no archive is split from its path.
    put("Library/a.inf", inf);
    const BuildResult result = build();
    ASSERT_FALSE(result.error) << result.error.message;
    EXPECT_EQ(indexFile("pci/VEN_1"), line("A", R"(PCI\VEN_1)", "", "/Library/a.inf") + "\r\n");
    const auto count = [&](SkipReason reason) {
        return result.summary.skipped[static_cast<std::size_t>(reason)];
    };
    EXPECT_EQ(count(SkipReason::ArchiveSplitTooEarly), 5U);
    EXPECT_EQ(count(SkipReason::NameNotInLine), 3U);
    EXPECT_EQ(m_observer.skipped.front(),
              (SkippedFile{"/7-Zip/a.zip", SkipReason::ArchiveSplitTooEarly, "/7-Zip"}));
}

TEST_F(IndexBuilderTest, KeepsTheOldTreeWhenTheNewOneCannotBeWritten)
{
    put("o/one.inf", infFile("One", {R"(PCI\VEN_1)"}));
    ASSERT_FALSE(build().error);
    const std::multiset<std::string> before = treeLines();
    put("t/two.inf", infFile("Two", {R"(PCI\VEN_1)", R"(PCI\VEN_2)"}));

    // Files may not grow past 100 bytes, as on a full disk; the index of VEN_1 needs more.
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const BuildResult failed = build();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(failed.error);
    EXPECT_EQ(treeLines(), before);
    EXPECT_FALSE(fs::exists(root() / ".tollen-index-build"));

    const BuildResult retried = build();
    ASSERT_FALSE(retried.error) << retried.error.message;
    EXPECT_EQ(treeLines().size(), before.size() + 2);
}

TEST_F(IndexBuilderTest, LinksPlantedUnderItsOwnNamesLeadNowhereAndALockedRootIsLeftAlone)
{
    put("d/a.inf", infFile("A", {R"(PCI\VEN_1)"}));
    testing::TemporaryFolder outside;
    fs::create_directories(outside.path() / "folder");
    writeFile(outside.path() / "folder/kept.txt", "kept");
    for (const auto &[name, target] :
         std::vector<std::pair<std::string, std::string>>{{".tollen-index-cache", "cache"},
                                                          {".tollen-index-build", "folder"},
                                                          {".tollen-index-old", "folder"}}) {
        fs::create_symlink(outside.path() / target, root() / name);
    }
    const BuildResult result = build();
    ASSERT_FALSE(result.error) << result.error.message;
    EXPECT_EQ(indexFile("pci/VEN_1"), line("A", R"(PCI\VEN_1)", "", "/d/a.inf") + "\r\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(root() / ".tollen-index-cache")));
    EXPECT_FALSE(fs::exists(outside.path() / "cache"));
    EXPECT_EQ(readFile(outside.path() / "folder/kept.txt"), "kept");

    // A link under the lock's name stops the run before it writes anything.
    fs::remove(root() / ".tollen-index-lock");
    fs::create_symlink(outside.path() / "lock", root() / ".tollen-index-lock");
    put("e/b.inf", infFile("B", {R"(PCI\VEN_2)"}));
    EXPECT_TRUE(build().error);
    EXPECT_FALSE(fs::exists(outside.path() / "lock"));

    // So does a lock another run holds.
    fs::remove(root() / ".tollen-index-lock");
    const int lock = ::open((root() / ".tollen-index-lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    const BuildResult busy = build();
    ::close(lock);
    EXPECT_NE(busy.error.message.find("another tollen-index"), std::string::npos);
    EXPECT_FALSE(fs::exists(tree() / "pci/VEN_2"));
}

TEST_F(IndexBuilderTest, APackageThatCannotBeReadIsReadAgainOnTheNextRun)
{
    put("a/a.inf", infFile("A", {R"(PCI\VEN_1)"}));
    put("d/x.inf", infFile("X", {R"(PCI\VEN_2)"}));
    // Its folder moves away while the run reads it, and back after: the file is as it was.
    m_observer.onStart = [&](const std::string &remotePath) {
        if (remotePath == "/d/x.inf") {
            fs::rename(root() / "d", root() / "moved");
        }
    };
    ASSERT_FALSE(buildIndex(root(), m_observer).error);
    fs::rename(root() / "moved", root() / "d");
    EXPECT_EQ(m_observer.skipped.at(0).reason, SkipReason::Unreadable);
    EXPECT_FALSE(fs::exists(tree() / "pci/VEN_2"));

    ASSERT_FALSE(build().error);
    EXPECT_EQ(m_observer.read, std::vector<std::string>{"/d/x.inf"});
    EXPECT_EQ(indexFile("pci/VEN_2"), line("X", R"(PCI\VEN_2)", "", "/d/x.inf") + "\r\n");
}

TEST_F(IndexBuilderTest, ProvesEachPackageByItsArchiveOrTheListOfItsFolderAndDescribesTheTree)
{
    put("Intel/LAN Pro/e1000.inf", infFile("Net", {R"(PCI\VEN_1&DEV_1)"}));
    put("Intel/LAN Pro/x64/e1d \xC3\xBC.sys", "driver");
    put("Intel/LAN Pro/x64/e1d.cat", "catalog");
    put("Acme/pack.zip", testing::makeArchive(testing::ArchiveFormat::Zip,
                                              {{"w7/a.inf", infFile("Zip", {R"(PCI\VEN_2)"})}}));
    put("root.inf", infFile("Root", {R"(PCI\VEN_3)"}));
    ASSERT_FALSE(build().error);

    const auto digestOf = [](const fs::path &file) {
        FileDigest digest;
        EXPECT_FALSE(digestFile(file, digest));
        return digest;
    };
    const auto proofIn = [&](const std::string &folder) {
        const std::string text = readFile(tree() / folder / "index.txt");
        return database::linePackageProof(text.substr(0, text.find("\r\n")));
    };
    const auto listOf = [&](const std::string &package) {
        return root() / database::fileListPath(package).substr(1);
    };
    const auto listed = [&](const std::string &package) {
        return database::readFileList(readFile(listOf(package))).files;
    };
    const FileDigest archive = digestOf(root() / "Acme/pack.zip");
    EXPECT_EQ(proofIn("pci/VEN_2"), archive);
    EXPECT_EQ(listed("/Acme/pack.zip"),
              (std::vector<database::PackageFile>{{"pack.zip", archive}}));
    const FileDigest folderList = digestOf(listOf("/Intel/LAN Pro/"));
    EXPECT_EQ(proofIn("pci/VEN_1/DEV_1"), folderList);
    const fs::path folder = root() / "Intel/LAN Pro";
    EXPECT_EQ(listed("/Intel/LAN Pro/"),
              (std::vector<database::PackageFile>{
                  {"e1000.inf", digestOf(folder / "e1000.inf")},
                  {"x64/e1d \xC3\xBC.sys", digestOf(folder / "x64/e1d \xC3\xBC.sys")},
                  {"x64/e1d.cat", digestOf(folder / "x64/e1d.cat")}}));
    // A loose INF file at the root has no folder of its own to be its package.
    EXPECT_EQ(m_observer.skipped,
              (std::vector<SkippedFile>{{"/root.inf", SkipReason::InfAtDatabaseRoot, ""}}));
    EXPECT_FALSE(fs::exists(tree() / "pci/VEN_3"));
    const auto description =
        database::readDatabaseDescription(readFile(tree() / "tollen-database.json")).description;
    ASSERT_TRUE(description);
    EXPECT_EQ(*description,
              (database::DatabaseDescription{1, "tollen-index", description->built, 2, 2, 2, 3}));

    EXPECT_TRUE(build().summary.treeUnchanged);
    // A replaced .sys changes its folder's list, so the proof of the folder's rows.
    put("Intel/LAN Pro/x64/e1d \xC3\xBC.sys", "driver 2");
    const BuildResult changed = build();
    EXPECT_FALSE(changed.summary.treeUnchanged);
    EXPECT_EQ(m_observer.read, std::vector<std::string>{"/Intel/LAN Pro/e1000.inf"});
    EXPECT_EQ(proofIn("pci/VEN_1/DEV_1"), digestOf(listOf("/Intel/LAN Pro/")));
    EXPECT_NE(proofIn("pci/VEN_1/DEV_1"), folderList);
    EXPECT_EQ(proofIn("pci/VEN_2"), archive);
}

} // namespace
} // namespace tollen::builder
