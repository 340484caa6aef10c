#include "ui/SettingsFile.h"

#include "EnvironmentOverride.h"
#include "TestServers.h"
#include "ui/DemoDatabase.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

/// Sets or clears a folder's immutable attribute, which binds the superuser too.
bool setImmutable(const fs::path &folder, bool immutable)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(descriptor);
    return done;
}

/// Makes an existing folder unwritable while the object lives: read-only permissions for an
/// ordinary user, the immutable attribute for the superuser (who ignores permissions).
class UnwritableFolder
{
public:
    explicit UnwritableFolder(fs::path folder) : m_folder(std::move(folder))
    {
        fs::permissions(m_folder, fs::perms(0555));
        m_immutable = ::access(m_folder.c_str(), W_OK) == 0 && setImmutable(m_folder, true);
    }
    ~UnwritableFolder()
    {
        if (m_immutable) {
            setImmutable(m_folder, false);
        }
        fs::permissions(m_folder, fs::perms(0700));
    }
    UnwritableFolder(const UnwritableFolder &) = delete;
    UnwritableFolder &operator=(const UnwritableFolder &) = delete;

    /// False where neither works (a file system without the attribute).
    bool isUnwritable() const { return ::access(m_folder.c_str(), W_OK) != 0; }

private:
    fs::path m_folder;
    bool m_immutable = false;
};

/// The permission bits of a file or folder, 0 when it does not exist.
unsigned modeOf(const fs::path &path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0U;
}

const transfer::NetworkSettings kInitial{false,       "file:///demo", "", "/g/driver%20archive",
                                         "anonymous", "wokx"};

TEST(SettingsFile, EachLinePresentReplacesItsValueAndMissingLinesKeepTheirs)
{
    struct Row
    {
        const char *what;
        std::string text;
        transfer::NetworkSettings expected;
    };
    const Row rows[] = {
        {"two lines, the last without an end",
         "0\r\nhttp://127.0.0.1:8080",
         {false, "http://127.0.0.1:8080", "", "/g/driver%20archive", "anonymous", "wokx"}},
        {"six lines ended by line feeds alone",
         "1\nhttp://h\n127.0.0.1\n/db\nme\nsecret\n",
         {true, "http://h", "127.0.0.1", "/db", "me", "secret"}},
        {"empty lines 2 to 6 empty the boxes",
         "0\r\n\r\n\r\n\r\n\r\n\r\n",
         {false, "", "", "", "", ""}},
        {"garbage",
         std::string("\x00\xff\x1b[2J\r\x80\x81\r\r\r\r\r\r\r", 16),
         {false, "\xe2\x82\xac\xc2\x81", "", "", "", ""}},
        {"lines past the sixth are ignored",
         "0\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n",
         {false, "a", "b", "c", "d", "e"}},
        {"Windows-1252 and UTF-8 lines",
         "0\r\nhttp://caf\xe9\r\nftp.\xc3\xbc\r\n",
         {false, "http://caf\xc3\xa9", "ftp.\xc3\xbc", "/g/driver%20archive", "anonymous", "wokx"}},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(parseSettingsFile(row.text, kInitial), row.expected) << row.what;
    }
}

TEST(SettingsFile, TheFirstLineChoosesFtpOnlyWhenItsLeadingNumberRoundsToOne)
{
    struct Row
    {
        const char *line;
        bool ftp;
    };
    const Row rows[] = {
        {"1", true},         {"0", false},   {"", false},    {" 1", true},
        {"+1", true},        {"1abc", true}, {"1.4", true},  {"0.6", true},
        {"1.5", false},      {"0.5", false}, {"2", false},   {"-1", false},
        {"abc", false},      {"1e0", true},  {"nan", false}, {"9999999999999999999999", false},
        {"\xff\xfe", false}, {"\t1", true},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(parseSettingsFile(std::string(row.line) + "\r\n", kInitial).ftpChosen, row.ftp)
            << '"' << row.line << '"';
    }
}

TEST(SettingsFile, WritesSixCrLfLinesThatReadBackAndALineBreakInAValueAsASpace)
{
    const transfer::NetworkSettings settings{true,  "http://h\u00e9", "127.0.0.1:21", "/d b", "",
                                             "p\"w"};
    EXPECT_EQ(formatSettingsFile(settings),
              "1\r\nhttp://h\u00e9\r\n127.0.0.1:21\r\n/d b\r\n\r\np\"w\r\n");
    EXPECT_EQ(parseSettingsFile(formatSettingsFile(settings), kInitial), settings);

    const transfer::NetworkSettings broken{false, "a\r\nb", "c\rd", "e\nf", "g\r\n\r\nh", "i"};
    EXPECT_EQ(formatSettingsFile(broken), "0\r\na b\r\nc d\r\ne f\r\ng  h\r\ni\r\n");
}

TEST(SettingsFile, OnlyWholeLinesWithinTheReadLimitOfAHugeFileCount)
{
    TemporaryFolder folder;
    const SettingsFolders folders{folder.path(), {}};
    testing::writeFile(folder.path() / kSettingsFileName,
                       "1\r\nhttp://h\r\n" + std::string(10 * kSettingsReadLimit, 'x') +
                           "\r\nz\r\n");
    transfer::NetworkSettings expected = kInitial;
    expected.ftpChosen = true;
    expected.httpHost = "http://h";
    EXPECT_EQ(readSettings(folders, kInitial), expected);

    testing::writeFile(folder.path() / kSettingsFileName, std::string(kSettingsReadLimit + 1, '1'));
    EXPECT_EQ(readSettings(folders, kInitial), kInitial);
    // A file of just the limit is read whole, its last line without an end too.
    testing::writeFile(folder.path() / kSettingsFileName,
                       "0\r\n" + std::string(kSettingsReadLimit - 3, 'h'));
    EXPECT_EQ(readSettings(folders, kInitial).httpHost, std::string(kSettingsReadLimit - 3, 'h'));
}

TEST(SettingsFile, IsReadAndWrittenBesideAWritableExecutableFirst)
{
    TemporaryFolder folder;
    const SettingsFolders folders{folder.path() / "bin", folder.path() / "config" / "tollen"};
    fs::create_directories(folders.executableFolder);
    EXPECT_EQ(settingsFileToRead(folders), std::nullopt);

    const transfer::NetworkSettings saved{true, "http://h", "127.0.0.1", "/db", "me", "pw"};
    ASSERT_FALSE(writeSettings(folders, saved));
    EXPECT_EQ(settingsFileToRead(folders), folders.executableFolder / kSettingsFileName);
    EXPECT_FALSE(fs::exists(folders.configFolder));
    EXPECT_EQ(modeOf(folders.executableFolder / kSettingsFileName), 0600U);
    EXPECT_EQ(readSettings(folders, kInitial), saved);

    // The user's configuration folder holds an older file: the one beside the program wins.
    fs::create_directories(folders.configFolder);
    testing::writeFile(folders.configFolder / kSettingsFileName, "0\r\nhttp://old\r\n");
    EXPECT_EQ(readSettings(folders, kInitial), saved);
    // Without a file beside the program, the configuration folder's is read.
    fs::remove(folders.executableFolder / kSettingsFileName);
    EXPECT_EQ(readSettings(folders, kInitial).httpHost, "http://old");
    // Not a file: passed over.
    fs::create_directory(folders.executableFolder / kSettingsFileName);
    EXPECT_EQ(readSettings(folders, kInitial).httpHost, "http://old");
}

TEST(SettingsFile, AFileBesideAnInstalledOrUnwritableProgramStandsInAndTheConfigFolderIsWritten)
{
    // An installed program's folder may be writable (as root can write every folder), yet
    // nothing is written beside it either.
    for (const bool installed : {true, false}) {
        TemporaryFolder folder;
        SettingsFolders folders{folder.path() / "bin", folder.path() / "home/.config/tollen"};
        folders.installed = installed;
        fs::create_directories(folders.executableFolder);
        testing::writeFile(folders.executableFolder / kSettingsFileName, "0\r\nhttp://shipped\r\n");
        std::optional<UnwritableFolder> unwritable;
        if (!installed && !unwritable.emplace(folders.executableFolder).isUnwritable()) {
            GTEST_SKIP() << "this file system cannot make a folder unwritable for this user";
        }

        EXPECT_EQ(readSettings(folders, kInitial).httpHost, "http://shipped");
        const transfer::NetworkSettings saved{true, "http://mine", "127.0.0.1", "/db", "me", "pw"};
        ASSERT_FALSE(writeSettings(folders, saved));
        EXPECT_EQ(testing::readFile(folders.executableFolder / kSettingsFileName),
                  "0\r\nhttp://shipped\r\n");
        EXPECT_EQ(modeOf(folders.configFolder), 0700U);
        EXPECT_EQ(modeOf(folder.path() / "home" / ".config"), 0700U);
        EXPECT_EQ(modeOf(folders.configFolder / kSettingsFileName), 0600U);
        EXPECT_EQ(readSettings(folders, kInitial), saved);
    }
}

TEST(SettingsFile, AFailedWriteNamesEachFileTriedAndWhy)
{
    TemporaryFolder folder;
    testing::writeFile(folder.path() / "plain", "");
    const SettingsFolders nowhere{folder.path() / "plain" / "bin",
                                  folder.path() / "plain" / "config"};
    const Error error = writeSettings(nowhere, kInitial);
    ASSERT_TRUE(error);
    EXPECT_EQ(error.message, "The settings could not be saved to " +
                                 (folder.path() / "plain" / "config" / kSettingsFileName).string() +
                                 " (Not a directory).");

    // A missing program folder is named, not made.
    const Error missing = writeSettings({folder.path() / "gone", {}}, kInitial);
    EXPECT_NE(missing.message.find("No such file or directory"), std::string::npos)
        << missing.message;
    EXPECT_FALSE(fs::exists(folder.path() / "gone"));

    // No folders: the settings are not kept, and that is no failure.
    EXPECT_FALSE(writeSettings({}, kInitial));
    EXPECT_EQ(readSettings({}, kInitial), kInitial);
}

TEST(SettingsFile, TheProgramsFoldersAreItsOwnAndTheUsersConfigurationFolder)
{
    const testing::EnvironmentOverride home("HOME", "/home/someone");
    {
        const testing::EnvironmentOverride config("XDG_CONFIG_HOME", "/srv/config");
        const SettingsFolders folders = programSettingsFolders();
        EXPECT_EQ(folders.configFolder, "/srv/config/tollen");
        EXPECT_TRUE(fs::exists(folders.executableFolder / "tollen_ui_tests"))
            << folders.executableFolder;
    }
    for (const std::optional<std::string> &unusable :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/config")}) {
        const testing::EnvironmentOverride config("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(programSettingsFolders().configFolder, "/home/someone/.config/tollen");
    }
}

TEST(DemoDatabase, IsFoundInstalledBesideTheProgramElseInTheBuildTree)
{
    const fs::path built = TOLLEN_DEMO_DATABASE;
    if (!fs::is_directory(built / "DIRSTRUCT")) {
        GTEST_SKIP() << "no demo database at " << built.string()
                     << " (the Windows build takes it from a Linux build: TOLLEN_DEMO_DATABASE)";
    }
    TemporaryFolder prefix;
    fs::create_directories(prefix.path() / "bin");
    EXPECT_EQ(findDemoDatabase(prefix.path() / "bin"), fs::weakly_canonical(built));
    fs::create_directories(prefix.path() / "share" / "tollen" / "demo-db" / "DIRSTRUCT");
    EXPECT_EQ(findDemoDatabase(prefix.path() / "bin"),
              prefix.path() / "share" / "tollen" / "demo-db");
}

} // namespace
} // namespace tollen::ui
