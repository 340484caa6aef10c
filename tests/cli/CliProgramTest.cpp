// tollen-cli run as a user or a script runs it: the real program, a driver database made for
// the tests and served as a file: tree, by nginx and by vsftpd on 127.0.0.1, its output read
// back (JSON with a real parser) and its exit codes checked.

#include "ChildProcess.h"
#include "TestServers.h"
#include "core/Sha256.h"
#include "database/IdPlacement.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Json = nlohmann::json;

/// Exit codes of tollen-cli.
enum Exit { kSuccess, kUsage, kUnreadable, kNothingFound, kTransfer, kSome };

constexpr const char *kNic = "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02";
constexpr const char *kMei = "PCI\\VEN_8086&DEV_1E3A&SUBSYS_11112222&REV_04";
constexpr const char *kReceiver = "USB\\VID_046D&PID_C52B";
constexpr const char *kCodec = "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0&REV_1001";
constexpr const char *kUnknownCodec = "HDAUDIO\\FUNC_01&VEN_1234&DEV_0001";
constexpr const char *kUnknownUsb = "USB\\VID_FFFF&PID_0001";
/// The package every download test fetches, and a driver row's path through it.
constexpr const char *kPackage = "/packages/intel/pro1000.zip";
constexpr const char *kPackageRow = "/packages/intel/pro1000.zip/PRO1000/Win64/e1000.inf";

std::string indexLine(const std::string &manufacturer, const std::string &name,
                      const std::string &hardwareId, const std::string &date,
                      const std::string &remotePath)
{
    return "Archived\"" + manufacturer + "\"" + name + "\"" + hardwareId +
           "\"Net\"NTamd64.6.1\"1.0\"" + date + "\"" + remotePath + "\r\n";
}

/// Lists a driver row in the index file of every folder its Hardware ID is placed in, as
/// tollen-index does.
void addDriver(const fs::path &tree, const std::string &manufacturer, const std::string &name,
               const std::string &hardwareId, const std::string &date,
               const std::string &remotePath)
{
    const std::string line = indexLine(manufacturer, name, hardwareId, date, remotePath);
    for (const std::string &folder : database::placeHardwareId(hardwareId).folders) {
        fs::create_directories(tree / folder);
        std::ofstream(tree / folder / "index.txt", std::ios::binary | std::ios::app) << line;
    }
}

/// The driver database the tests search: drivers for the devices the match tests list, for
/// other devices of their vendors (never theirs), generic ones, and an index over 1,000,000
/// bytes.
void writeDatabase(const fs::path &root)
{
    const fs::path tree = root / "DIRSTRUCT";
    addDriver(tree, "Intel", "Intel family", "PCI\\VEN_8086", "01/01/2015",
              "/packages/intel/family.zip/x.inf");
    addDriver(tree, "Intel", "Intel other device", "PCI\\VEN_8086&DEV_1234", "01/01/2020",
              "/packages/intel/other.zip/y.inf");
    addDriver(tree, "Intel", "PRO/1000 MT exact", kNic, "03/01/2010", kPackageRow);
    addDriver(tree, "Intel", "PRO/1000 generic", "PCI\\VEN_8086&DEV_100E", "2021-06-30",
              "/packages/intel/generic.zip/e1000.inf");
    addDriver(tree, "Intel", "PRO/1000 OEM", "PCI\\VEN_8086&DEV_100E&SUBSYS_11111111", "12/31/2023",
              "/packages/intel/oem.zip/e1000.inf");
    addDriver(tree, "Logitech", "Receiver interface", "USB\\VID_046D&PID_C52B&MI_00", "05/05/2019",
              "/packages/logitech/receiver.exe");
    addDriver(tree, "Any", "Any audio function", "HDAUDIO\\FUNC_01", "01/01/2024",
              "/packages/any/audio.zip");
    addDriver(tree, "Realtek", "HD Audio", "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0888", "01/02/2022",
              "/packages/realtek/hda.7z/x.inf");
    std::string large;
    while (large.size() <= 1'000'000) {
        large += indexLine("NVIDIA", "GeForce", "PCI\\VEN_10DE&DEV_" + std::to_string(large.size()),
                           "01/01/2024", "/packages/nvidia/driver.exe");
    }
    writeFile(tree / "pci/VEN_10DE/index.txt", large);
    writeFile(root / std::string(kPackage).substr(1), patternBytes(5000));
}

const std::vector<std::pair<std::string, std::string>> kHiveDevices = {
    {"PCI\\VEN_1AF4&DEV_1041&SUBSYS_11001AF4&REV_00", "Red Hat VirtIO Ethernet Adapter"},
    {"USB\\VID_0627&PID_0001", "USB Input Device"}};

std::string profileText(const std::vector<std::pair<std::string, std::string>> &devices)
{
    std::string text;
    for (const auto &[id, name] : devices) {
        text += id + "\r\n" + name + "\r\n";
    }
    return text;
}

std::string fileUrl(const fs::path &folder)
{
    return "file://" + folder.string();
}

struct Result
{
    std::optional<int> code;
    std::string out;
    std::string err;

    Json json() const { return Json::parse(out); }
    /// Standard error holds exactly one line.
    bool oneErrorLine() const { return !err.empty() && err.find('\n') == err.size() - 1; }
    /// Standard error holds the window's box on an HTTP server that did not answer, then one
    /// line.
    bool noAnswerBoxAndOneErrorLine() const
    {
        return err.starts_with("Error: HTTP ERROR: ") &&
               std::count(err.begin(), err.end(), '\n') == 2;
    }
};

class CliProgram : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = std::make_unique<TemporaryFolder>();
        fs::create_directories(s_folder->path() / "bin");
        fs::copy_file(TOLLEN_CLI_PROGRAM, program());
        writeDatabase(database());
        // vsftpd reads as the "ftp" account: the tree must be readable by others.
        for (const auto &entry : fs::recursive_directory_iterator(database())) {
            fs::permissions(entry.path(), entry.is_directory() ? fs::perms(0755) : fs::perms(0644));
        }
        s_nginx = std::make_unique<NginxServer>(database());
        s_vsftpd = std::make_unique<VsftpServer>(database());
    }

    static void TearDownTestSuite()
    {
        s_vsftpd.reset();
        s_nginx.reset();
        s_folder.reset();
    }

    void SetUp() override
    {
        m_work = std::make_unique<TemporaryFolder>();
        // The settings the window would use: the test database as a file: tree.
        writeFile(settingsFile(),
                  "0\r\n" + fileUrl(database()) + "\r\n\r\n/\r\nanonymous\r\nguest\r\n");
    }

    static fs::path program() { return s_folder->path() / "bin" / "tollen-cli"; }
    static fs::path database() { return s_folder->path() / "db"; }
    static fs::path settingsFile() { return s_folder->path() / "bin" / "sorrel.ini"; }
    const fs::path &work() const { return m_work->path(); }

    /// The network options that reach the test database over each of the three ways.
    static std::map<std::string, std::vector<std::string>> servers()
    {
        return {{"file", {"--http", fileUrl(database())}},
                {"nginx", {"--http", s_nginx->url()}},
                {"vsftpd", {"--ftp", s_vsftpd->host(), "--base-path", "/", "--user", "anonymous"}}};
    }

    /// Runs tollen-cli in the test's own folder, with a home and configuration folder of its own.
    Result cli(std::vector<std::string> arguments) const
    {
        static int runs = 0;
        ++runs;
        const fs::path out = work() / ("out-" + std::to_string(runs));
        const fs::path err = work() / ("err-" + std::to_string(runs));
        arguments.insert(arguments.begin(), program().string());
        Result result;
        result.code = runToEnd({arguments,
                                {{"HOME", work().string()},
                                 {"XDG_CONFIG_HOME", (work() / "config").string()},
                                 {"TMPDIR", work().string()},
                                 {"TEMP", std::nullopt}},
                                work(),
                                out,
                                err},
                               120s);
        result.out = readFile(out);
        result.err = readFile(err);
        // Whatever its end, a run leaves no folder of its own in the temporary directory.
        for (const auto &entry : fs::directory_iterator(work())) {
            EXPECT_FALSE(entry.path().filename().string().starts_with("tollen-")) << entry.path();
        }
        return result;
    }

    static std::unique_ptr<TemporaryFolder> s_folder;
    static std::unique_ptr<NginxServer> s_nginx;
    static std::unique_ptr<VsftpServer> s_vsftpd;
    std::unique_ptr<TemporaryFolder> m_work;
};

std::unique_ptr<TemporaryFolder> CliProgram::s_folder;
std::unique_ptr<NginxServer> CliProgram::s_nginx;
std::unique_ptr<VsftpServer> CliProgram::s_vsftpd;

std::vector<std::string> concat(std::vector<std::string> first,
                                const std::vector<std::string> &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST_F(CliProgram, HelpAndVersion)
{
    const Result help = cli({"--help"});
    EXPECT_EQ(help.code, kSuccess);
    EXPECT_NE(help.out.find("4  a transfer failed"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
    const Result version = cli({"--version"});
    EXPECT_EQ(version.code, kSuccess);
    EXPECT_EQ(version.out.rfind("tollen-cli ", 0), 0U);
}

TEST_F(CliProgram, DevicesOfAProfileInEachFormat)
{
    const fs::path profile = work() / "office pc.hwp";
    writeFile(profile, "pci\\ven_8086&dev_100e&subsys_002e8086&rev_02\r\nIntel NIC\r\n"
                       "USB\\VID_046D&PID_C52B\r\nGerät ✓\r\n");
    const Result tsv = cli({"devices", profile.string(), "--format", "tsv"});
    EXPECT_EQ(tsv.code, kSuccess);
    // A profile holds IDs and names only: what driver a device has is unknown.
    EXPECT_EQ(tsv.out, "Device ID\tDevice Name\tStatus\tDriver\tProvider\tVersion\tDate\tINF\t"
                       "Matching ID\n" +
                           std::string(kNic) + "\tIntel NIC\tunknown\t\t\t\t\t\t\n" + kReceiver +
                           "\tGerät ✓\tunknown\t\t\t\t\t\t\n");
    const Result text = cli({"devices", profile.string()});
    EXPECT_EQ(text.out.rfind("Device ID", 0), 0U);
    EXPECT_NE(text.out.find(kReceiver), std::string::npos);
    const Json json = cli({"devices", profile.string(), "--format", "json"}).json();
    EXPECT_EQ(json["source"], profile.string());
    EXPECT_EQ(json["devices"][1]["Device Name"], "Gerät ✓");
    // Without a source: this machine's devices; without a command: devices.
    EXPECT_EQ(cli({}).out, cli({"devices"}).out);
    EXPECT_TRUE(cli({"devices", "--format", "json"}).json()["source"].is_null());
}

TEST_F(CliProgram, ProfileSaveWritesTheWindowsProfileAndNeverAPartialFile)
{
    // A registry export; its root hubs are not listed: no driver package is made for them.
    const fs::path source =
        fs::path(TOLLEN_SOURCE_DIR) / "tests/fixtures/inventory/hive-system.reg";
    const fs::path saved = work() / "converted.hwp";
    const Result result =
        cli({"profile", "save", saved.string(), source.string(), "--format", "json"});
    ASSERT_EQ(result.code, kSuccess) << result.err;
    EXPECT_EQ(result.json()["File"], saved.string());
    EXPECT_EQ(result.json()["Devices"], 2);
    EXPECT_EQ(readFile(saved), profileText(kHiveDevices));
    // A source that cannot be read leaves the file saved before as it was.
    const Result failed = cli({"profile", "save", saved.string(), (work() / "none.reg").string()});
    EXPECT_EQ(failed.code, kUnreadable);
    EXPECT_TRUE(failed.oneErrorLine()) << failed.err;
    EXPECT_EQ(readFile(saved), profileText(kHiveDevices));
}

TEST_F(CliProgram, CriteriaMarkThePreselectedEntryInEachFormat)
{
    const Result json = cli({"criteria", kNic, "--format", "json"});
    ASSERT_EQ(json.code, kSuccess) << json.err;
    const Json document = json.json();
    EXPECT_EQ(document["Device ID"], kNic);
    ASSERT_EQ(document["criteria"].size(), 4U);
    EXPECT_EQ(document["criteria"][1]["Criterion"], "PCI\\VEN_8086&DEV_100E");
    EXPECT_EQ(document["criteria"][1]["Preselected"], true);
    EXPECT_EQ(document["criteria"][2]["Preselected"], false);
    // Then the IDs a driver is matched against, in Windows' order.
    ASSERT_EQ(document["ids"].size(), 5U);
    EXPECT_EQ(document["ids"][0], Json({{"Rank", 1}, {"ID", kNic}, {"Kind", "hardware"}}));
    EXPECT_EQ(document["ids"][4],
              Json({{"Rank", 5}, {"ID", "PCI\\VEN_8086"}, {"Kind", "compatible"}}));
    // An ID pasted in lspci's form.
    EXPECT_EQ(cli({"criteria", "046d:C52B", "--bus", "usb", "--format", "tsv"}).out,
              "Criterion\tPreselected\nUSB\\VID_046D\tno\nUSB\\VID_046D&PID_C52B\tyes\n\n"
              "Rank\tID\tKind\n1\tUSB\\VID_046D&PID_C52B\thardware\n");
}

TEST_F(CliProgram, SearchAndRefineOverAFileTreeNginxAndVsftpd)
{
    for (const auto &[server, options] : servers()) {
        SCOPED_TRACE(server);
        const Result json =
            cli(concat({"search", "PCI\\VEN_8086&DEV_100E", "--format", "json"}, options));
        ASSERT_EQ(json.code, kSuccess) << json.err;
        const Json document = json.json();
        EXPECT_EQ(document["query"], "PCI\\VEN_8086&DEV_100E");
        ASSERT_EQ(document["drivers"].size(), 3U);
        const Json &first = document["drivers"][0];
        EXPECT_EQ(first["Device Name"], "PRO/1000 MT exact");
        EXPECT_EQ(first["Remote Path"], kPackageRow);
        EXPECT_EQ(document["refinements"], Json::array({"SUBSYS_002E8086", "SUBSYS_11111111"}));
        EXPECT_TRUE(document.at("message").is_null());

        const Result refined = cli(concat(
            {"search", "PCI\\VEN_8086&DEV_100E", "--refine", "subsys_002e8086", "--format", "json"},
            options));
        ASSERT_EQ(refined.code, kSuccess) << refined.err;
        EXPECT_EQ(refined.json()["refine"], Json::array({"subsys_002e8086"}));
        ASSERT_EQ(refined.json()["drivers"].size(), 1U);
        EXPECT_EQ(refined.json()["drivers"][0]["Hardware ID"], kNic);
    }
    const Result tsv = cli({"search", "PCI\\VEN_8086&DEV_100E", "--format", "tsv"});
    EXPECT_EQ(tsv.out.rfind("Manufacturer\tDevice Name\tHardware ID\tClass\tOS (Guess)\t"
                            "Version\tDate\tRemote Path\tType\nIntel\tPRO/1000 MT exact\t",
                            0),
              0U)
        << tsv.out;
    EXPECT_NE(tsv.out.find("\n\nSubsys/DEVs\nSUBSYS_002E8086\nSUBSYS_11111111\n"),
              std::string::npos)
        << tsv.out;
    const Result text = cli({"search", "PCI\\VEN_8086&DEV_100E"});
    EXPECT_EQ(text.out.rfind("Manufacturer  Device Name ", 0), 0U) << text.out;
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(cli({"search", "8086:100e"}).out, text.out);
}

TEST_F(CliProgram, EveryFailureIsOneJsonDocumentWithEmptyRowsAndTheReason)
{
    const std::string missing = (work() / "missing.hwp").string();
    // A profile of plain lines but for one control byte: the window's "Load profile" refuses it
    // with "Error opening file", and so does the command line.
    const fs::path control = work() / "control.hwp";
    writeFile(control, "PCI\\VEN_8086&DEV_100E\r\nIntel\x1B[2J NIC\r\n");
    const fs::path readOnly = work() / "read-only.zip";
    writeFile(readOnly, "kept");
    fs::permissions(readOnly, fs::perms(0444));
    const std::string closed = "http://127.0.0.1:" + std::to_string(freePort());
    struct Row
    {
        std::vector<std::string> arguments;
        int code;
        /// The member that holds what the command found.
        std::string rows;
        std::string says;
    };
    const Row rows[] = {
        {{"devices", missing}, kUnreadable, "devices", "cannot read " + missing + ": no such file"},
        {{"match", "/dev/zero"}, kUnreadable, "matches", "is a device or a pipe"},
        {{"devices", control.string()},
         kUnreadable,
         "devices",
         "is not a hardware profile, registry export or offline hive"},
        {{"profile", "save", missing + "/x.hwp"}, kUnreadable, "Devices", "cannot write"},
        {{"criteria", "PCI\tVEN"}, kUsage, "criteria", "ID"},
        {{"search", "PCI\\VEN_8086\x1B[2J"}, kUsage, "drivers", "QUERY holds a control character"},
        // The flow's rules find no file name to save the package under.
        {{"download", "/packages/.."},
         kUsage,
         "Bytes",
         "REMOTE-PATH /packages/.. names no package"},
        // A line break would reach the FTP server as a command of its own.
        {{"search", "PCI\\VEN_8086", "--ftp", "127.0.0.1:1", "--user", "anonymous\r\nDELE x"},
         kUsage,
         "drivers",
         "--user holds a control character"},
        {{"search", "USB\\VID_DEAD"}, kNothingFound, "drivers", "nothing found for USB\\VID_DEAD"},
        {{"search", "PCI\\VEN_8086", "--http", closed}, kTransfer, "drivers", "transfer failed"},
        {{"search", "PCI\\VEN_8086&DEV_100E", "--refine", "SUBSYS_DEADBEEF"},
         kNothingFound,
         "drivers",
         "SUBSYS_DEADBEEF is not a refinement entry"},
        {{"match", "--ca-file", missing}, kUnreadable, "matches", "certificate file"},
        {{"search", "PCI\\VEN_8086", "--ftp", closed.substr(7), "--password-file", missing},
         kUnreadable,
         "drivers",
         "password file"},
        {{"download", "/packages/none.zip", "--http", s_nginx->url()},
         kTransfer,
         "Bytes",
         "download of /packages/none.zip failed"},
        {{"download", kPackage, "-o", readOnly.string(), "--http", s_nginx->url()},
         kUnreadable,
         "Bytes",
         readOnly.string() + ": Permission denied"},
    };
    for (const Row &row : rows) {
        const Result result = cli(concat(row.arguments, {"--format", "json"}));
        EXPECT_EQ(result.code, row.code) << row.says << ": " << result.err;
        const Json document = Json::parse(result.out, nullptr, false);
        ASSERT_TRUE(document.is_object()) << row.says << ": " << result.out;
        EXPECT_TRUE(document.at(row.rows).empty()) << result.out;
        EXPECT_NE(document.value("message", "").find(row.says), std::string::npos) << result.out;
        EXPECT_NE(result.err.find(row.says), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile(readOnly), "kept");
}

TEST_F(CliProgram, AnIndexOverAMillionBytesIsFetchedOnlyWithYesAndShowsProgressOnATerminal)
{
    // Standard error is no terminal here: one line, no progress.
    const Result skipped = cli({"search", "PCI\\VEN_10DE", "--http", s_nginx->url()});
    EXPECT_EQ(skipped.code, kNothingFound);
    EXPECT_TRUE(skipped.oneErrorLine()) << skipped.err;
    EXPECT_NE(skipped.err.find("skipped the index for PCI\\VEN_10DE: it is larger than 1,000,000 "
                               "bytes; add --yes to fetch it"),
              std::string::npos)
        << skipped.err;
    // script(1) gives the program a terminal; its output holds what the terminal showed.
    const std::string command = "'" + program().string() + "' search 'PCI\\VEN_10DE' --yes " +
                                "--format tsv --http " + s_nginx->url() + " >/dev/null";
    const fs::path typescript = work() / "typescript";
    ASSERT_EQ(runToEnd({{"/usr/bin/script", "-qec", command, typescript.string()},
                        {{"HOME", work().string()}, {"TMPDIR", work().string()}},
                        work(),
                        work() / "script.out",
                        work() / "script.err"},
                       120s),
              0)
        << readFile(work() / "script.err");
    const std::string shown = readFile(work() / "script.out");
    EXPECT_NE(shown.find("\r\x1B[KScanning DB... "), std::string::npos) << shown;
    EXPECT_NE(shown.find("%"), std::string::npos) << shown;
    // The progress line is removed before the program ends.
    EXPECT_EQ(shown.substr(shown.rfind('\r')), "\r\x1B[K") << shown;
}

TEST_F(CliProgram, MatchTakesOnlyRowsOfTheDevicesOwnIdsBestRankedFirst)
{
    const fs::path profile = work() / "machine.hwp";
    writeFile(profile, profileText({{kNic, "Intel NIC"},
                                    {kMei, "Intel MEI"},
                                    {kReceiver, "Receiver"},
                                    {kCodec, "Codec"},
                                    {kUnknownUsb, "Unknown USB"}}));
    // The best row and why; the receiver's row names an interface of it, never the device, and
    // the other Intel rows serve other devices.
    const std::map<std::string, std::pair<std::string, std::string>> expected = {
        {kNic, {kNic, "hardware 1/5"}},
        {kMei, {"PCI\\VEN_8086", "compatible 5/5"}},
        {kCodec, {"HDAUDIO\\FUNC_01", "compatible 6/6"}},
    };
    for (const auto &[server, options] : servers()) {
        SCOPED_TRACE(server);
        const Result json = cli(concat(
            {"match", profile.string(), "--format", "json", "--all-rows", "--vendor"}, options));
        EXPECT_EQ(json.code, kSome) << json.err;
        EXPECT_NE(json.err.find("drivers fit 3 of 5 devices"), std::string::npos) << json.err;
        const Json document = json.json();
        ASSERT_EQ(document["matches"].size(), 5U);
        for (const Json &match : document["matches"]) {
            const std::string id = match["Device ID"];
            SCOPED_TRACE(id);
            EXPECT_EQ(match["Status"], "unknown");
            const auto want = expected.find(id);
            if (want == expected.end()) {
                EXPECT_TRUE(match["Best Driver"].is_null());
                EXPECT_TRUE(match["Drivers"].empty());
                continue;
            }
            EXPECT_EQ(match["Best Driver"]["Hardware ID"], want->second.first);
            EXPECT_EQ(match["Best Driver"]["Matched By"], want->second.second);
            EXPECT_EQ(match["Best Driver"]["Applies"], "applies");
        }
        const Json &nic = document["matches"][0];
        EXPECT_EQ(nic["Best Driver"]["Remote Path"], kPackageRow);
        std::vector<std::string> ranked;
        for (const Json &row : nic["Drivers"]) {
            ranked.push_back(row["Hardware ID"]);
        }
        EXPECT_EQ(ranked,
                  (std::vector<std::string>{kNic, "PCI\\VEN_8086&DEV_100E", "PCI\\VEN_8086"}));
        std::vector<std::string> vendor;
        for (const Json &row : nic["Vendor Drivers"]) {
            vendor.push_back(row["Hardware ID"]);
        }
        std::ranges::sort(vendor);
        EXPECT_EQ(vendor, (std::vector<std::string>{"PCI\\VEN_8086&DEV_100E&SUBSYS_11111111",
                                                    "PCI\\VEN_8086&DEV_1234"}));
    }
    // One device given by its ID, in lspci's form.
    const Result one = cli({"match", "8086:100E", "--format", "tsv"});
    EXPECT_EQ(one.code, kSuccess) << one.err;
    EXPECT_EQ(one.out.rfind("Device ID\tDevice Name\tStatus\t", 0), 0U) << one.out;
    EXPECT_NE(one.out.find("\nPCI\\VEN_8086&DEV_100E\t\tunknown\t"), std::string::npos) << one.out;
    EXPECT_NE(one.out.find("\thardware 1/2\tapplies\tIntel\tPRO/1000 generic\t"), std::string::npos)
        << one.out;
}

TEST_F(CliProgram, MatchOfAHiveTellsMissingDriversAndUpdatesByTheirExitCodes)
{
    // An export of a SYSTEM hive: the NIC has an older driver than the database's, the MEI
    // none, the receiver one the database has nothing for.
    const std::string classes = R"(HKEY_LOCAL_MACHINE\SYSTEM\ControlSet001\Control\Class\)";
    const std::string devices = R"(HKEY_LOCAL_MACHINE\SYSTEM\ControlSet001\Enum\)";
    const fs::path machine = work() / "machine.reg";
    writeFile(machine,
              "Windows Registry Editor Version 5.00\r\n\r\n[" + devices + kNic +
                  "\\3&1&0&1]\r\n\"DeviceDesc\"=\"Intel NIC\"\r\n\"Driver\"=\"{net}\\\\0001\"\r\n"
                  "\r\n[" +
                  classes +
                  "{net}\\0001]\r\n\"DriverDesc\"=\"Intel PRO/1000\"\r\n"
                  "\"DriverVersion\"=\"0.9.0.0\"\r\n\"DriverDate\"=\"1-1-2009\"\r\n"
                  "\"ProviderName\"=\"Intel\"\r\n\"InfPath\"=\"oem3.inf\"\r\n\r\n[" +
                  devices + kMei + "\\3&1&0&2]\r\n\"DeviceDesc\"=\"Intel MEI\"\r\n\r\n[" + devices +
                  kReceiver +
                  "\\5&1&0&1]\r\n\"DeviceDesc\"=\"Receiver\"\r\n"
                  "\"Driver\"=\"{hid}\\\\0002\"\r\n");
    const Result all = cli({"match", machine.string(), "--format", "tsv"});
    EXPECT_EQ(all.code, kSome) << all.err;
    EXPECT_NE(all.out.find(std::string(kNic) + "\tIntel NIC\tok\tIntel PRO/1000\tIntel\t0.9.0.0\t"
                                               "1-1-2009\toem3.inf\t\tupdate\thardware 1/5\t"),
              std::string::npos)
        << all.out;
    struct Row
    {
        std::vector<std::string> options;
        std::vector<std::string> listed;
        int code;
    };
    const Row rows[] = {
        {{"--missing"}, {kMei}, kSuccess},
        {{"--updates"}, {kNic}, kSuccess},
        {{"--missing", "--updates"}, {kNic, kMei}, kSuccess},
        // What is not x86 or amd64 finds nothing among rows made for amd64.
        {{"--arch", "arm64"}, {kNic, kMei, kReceiver}, kNothingFound},
        {{"--updates", "--os", "6.0"}, {}, kSuccess},
    };
    for (const Row &row : rows) {
        const Result result =
            cli(concat({"match", machine.string(), "--format", "json"}, row.options));
        EXPECT_EQ(result.code, row.code) << row.options.front() << ": " << result.err;
        std::vector<std::string> listed;
        const Json document = result.json();
        for (const Json &match : document["matches"]) {
            listed.push_back(match["Device ID"]);
        }
        EXPECT_EQ(listed, row.listed) << row.options.front();
    }
    // The verdict "new" for a device without a driver.
    const Json missing = cli({"match", machine.string(), "--missing", "--format", "json"}).json();
    EXPECT_EQ(missing["matches"][0]["Status"], "none");
    EXPECT_EQ(missing["matches"][0]["Verdict"], "new");
    // A server that cannot be reached ends the run at once.
    const Result unreachable = cli(
        {"match", machine.string(), "--http", "http://127.0.0.1:" + std::to_string(freePort())});
    EXPECT_EQ(unreachable.code, kTransfer);
    EXPECT_TRUE(unreachable.oneErrorLine()) << unreachable.err;
}

TEST_F(CliProgram, DownloadSavesThePackageAsAFileIntoAFolderOrHere)
{
    const std::string package = patternBytes(5000);
    const fs::path saved = work() / "saved.zip";
    const Result json = cli({"download", kPackageRow, "-o", saved.string(), "--format", "json"});
    ASSERT_EQ(json.code, kSuccess) << json.err;
    EXPECT_EQ(json.json()["Remote Path"], kPackageRow);
    EXPECT_EQ(json.json()["File"], saved.string());
    EXPECT_EQ(json.json()["Bytes"], 5000);
    EXPECT_EQ(readFile(saved), package);

    // Into a folder, and into the current folder: under the package's own name.
    const fs::path folder = work() / "folder";
    fs::create_directories(folder);
    EXPECT_EQ(cli({"download", kPackageRow, "-o", folder.string(), "--http", s_nginx->url()}).code,
              kSuccess);
    EXPECT_EQ(readFile(folder / "pro1000.zip"), package);
    const Result tsv = cli(concat({"download", kPackage, "--format", "tsv"}, servers()["vsftpd"]));
    EXPECT_EQ(tsv.code, kSuccess) << tsv.err;
    EXPECT_EQ(tsv.out, "Remote Path\tFile\tBytes\tSHA-256\tCheck\n" + std::string(kPackage) +
                           "\tpro1000.zip\t5000\t" + sha256Hex(package) + "\tunverified\n");
    EXPECT_EQ(readFile(work() / "pro1000.zip"), package);
}

TEST_F(CliProgram, SearchOverHttpsWithHttp2AndHttp11)
{
    const TemporaryFolder keys;
    const TestCertificate certificate = makeTestCertificate(keys.path());
    for (const bool http2 : {false, true}) {
        SCOPED_TRACE(http2 ? "HTTP/2" : "HTTP/1.1");
        const NginxServer server(database(), certificate, {}, http2);
        const Result search = cli({"search", "PCI\\VEN_8086&DEV_100E", "--format", "json", "--http",
                                   server.url(), "--ca-file", certificate.certificate.string()});
        ASSERT_EQ(search.code, kSuccess) << search.err;
        EXPECT_EQ(search.json()["drivers"].size(), 3U);
        const std::string protocol = http2 ? " HTTP/2.0" : " HTTP/1.1";
        for (const std::string &request : server.requests()) {
            EXPECT_TRUE(request.ends_with(protocol)) << request;
        }
        // Certificates are verified: the server's own is not trusted without --ca-file.
        const Result untrusted = cli({"search", "PCI\\VEN_8086&DEV_100E", "--http", server.url()});
        EXPECT_EQ(untrusted.code, kTransfer) << untrusted.err;
        EXPECT_TRUE(untrusted.noAnswerBoxAndOneErrorLine()) << untrusted.err;
        EXPECT_EQ(untrusted.out, "");
    }
}

TEST_F(CliProgram, NetworkSettingsComeFromTheSettingsFileAndOverridesAreNotWrittenBack)
{
    const std::string settings = readFile(settingsFile());
    // The settings file names the test database as a file: tree.
    const Result bySettings = cli({"search", "PCI\\VEN_8086&DEV_100E", "--format", "json"});
    ASSERT_EQ(bySettings.code, kSuccess) << bySettings.err;
    EXPECT_EQ(bySettings.json()["drivers"].size(), 3U);

    const fs::path password = work() / "password";
    writeFile(password, "secret\r\nignored second line\r\n");
    PyFtpServer guarded(database(), "technician", "secret");
    const Result withPassword =
        cli({"search", "PCI\\VEN_8086&DEV_100E", "--ftp", guarded.host(), "--user", "technician",
             "--password-file", password.string(), "--base-path", "/", "--format", "json"});
    ASSERT_EQ(withPassword.code, kSuccess) << withPassword.err;
    EXPECT_EQ(withPassword.json()["drivers"].size(), 3U);

    EXPECT_EQ(readFile(settingsFile()), settings);
    EXPECT_FALSE(fs::exists(work() / "config" / "tollen"));

    // Without a settings file none is made: the run uses the demo database as the window would.
    fs::remove(settingsFile());
    EXPECT_EQ(cli({"criteria", kNic}).code, kSuccess);
    EXPECT_EQ(cli({"devices", "--format", "json"}).code, kSuccess);
    EXPECT_FALSE(fs::exists(settingsFile()));
    EXPECT_FALSE(fs::exists(work() / "config" / "tollen"));
}

TEST_F(CliProgram, OutputThatCannotBeWrittenIsAFailure)
{
    const Result result = cli({"criteria", kNic});
    ASSERT_EQ(result.code, kSuccess);
    // /dev/full takes nothing: the program must not report success.
    ChildOptions options{{program().string(), "criteria", kNic},
                         {{"HOME", work().string()}},
                         work(),
                         "/dev/full",
                         work() / "full.err"};
    EXPECT_EQ(runToEnd(options, 60s), kUnreadable);
    EXPECT_NE(readFile(work() / "full.err").find("cannot write output"), std::string::npos);
}

TEST_F(CliProgram, BashCompletionOffersCommandsOptionsAndFormats)
{
    const fs::path script = fs::path(TOLLEN_SOURCE_DIR) / "packaging" / "tollen-cli.bash";
    const std::string driver =
        "source '" + script.string() +
        "'\n"
        "t() { COMP_WORDS=(\"$@\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=();\n"
        "      _tollen_cli; echo \"${COMPREPLY[*]}\"; }\n"
        "t tollen-cli ''\nt tollen-cli se\nt tollen-cli --format j\nt tollen-cli profile ''\n"
        "t tollen-cli match --up\nt tollen-cli devices --y\nt tollen-cli download --ca\n";
    const fs::path out = work() / "completions";
    ASSERT_EQ(runToEnd({{"/bin/bash", "-c", driver}, {}, work(), out, work() / "bash.err"}, 30s), 0)
        << readFile(work() / "bash.err");
    EXPECT_EQ(readFile(out),
              "devices profile criteria search match download fetch info\nsearch\njson\n"
              "save\n--updates\n\n--ca-file\n");
}

TEST_F(CliProgram, InfoShowsTheDatabasesDescriptionAndAHostWithoutOneMayBeNoDatabaseRoot)
{
    using Strings = std::vector<std::string>;
    const Strings nginx = {"--http", s_nginx->url()};
    // The test database was written without a description.
    const Result none = cli(concat({"info"}, nginx));
    EXPECT_EQ(none.code, kNothingFound);
    EXPECT_NE(none.err.find("holds no DIRSTRUCT/tollen-database.json"), std::string::npos);
    for (const Strings &query :
         {Strings{"search", "USB\\VID_DEAD"}, Strings{"match", kUnknownUsb}}) {
        const Result result = cli(concat(query, nginx));
        EXPECT_EQ(result.code, kNothingFound);
        EXPECT_NE(result.err.find("so it may not be a database root"), std::string::npos)
            << result.err;
    }
    const fs::path description = database() / "DIRSTRUCT/tollen-database.json";
    writeFile(description, R"({"format": 1, "builder": "tollen-index 9.9", "later": [1],
        "built": "2026-12-07T23:41:05Z", "packages": 2, "infFiles": 3, "lines": 40,
        "indexFiles": 9})");
    const Result info = cli(concat({"info", "--format", "json"}, nginx));
    const Result search = cli(concat({"search", "USB\\VID_DEAD"}, nginx));
    fs::remove(description);
    EXPECT_EQ(info.code, kSuccess) << info.err;
    EXPECT_EQ(info.json(), Json::parse(R"({"Format": 1, "Builder": "tollen-index 9.9",
        "Built": "2026-12-07T23:41:05Z", "Packages": 2, "INF Files": 3, "Lines": 40,
        "Index Files": 9, "message": null})"));
    EXPECT_EQ(search.code, kNothingFound);
    EXPECT_EQ(search.err.find("database root"), std::string::npos) << search.err;
}

} // namespace
} // namespace tollen::testing
