// fetch as a user runs it: the real tollen-cli against a driver database of an archive package
// and a folder package (sub-folders, .sys and .cat files, names with spaces and non-ASCII),
// served as a file: tree, by nginx over TLS with HTTP/1.1 and HTTP/2, and by vsftpd. The
// folder it makes is compared byte for byte with the packages.

#include "ArchiveFixtures.h"
#include "ChildProcess.h"
#include "TestServers.h"
#include "core/Sha256.h"
#include "database/PackageFiles.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Json = nlohmann::json;
/// Relative path to bytes.
using Files = std::map<std::string, std::string>;

constexpr const char *kNic = "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02";
constexpr const char *kSecondNic = "PCI\\VEN_8086&DEV_10D3";
constexpr const char *kAudio = "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662";
constexpr const char *kArchive = "/packages/Vendor A/nic driver.zip";
constexpr const char *kFolder = "/packages/Größe Audio/";

/// An INF file of a driver for `ids`.
std::string infFor(const std::vector<std::string> &ids)
{
    std::string text = "[Version]\r\nClass=Net\r\nDriverVer=01/01/2024,1.0\r\n[Manufacturer]\r\n"
                       "Maker=Models,NTamd64\r\n[Models.NTamd64]\r\n";
    for (const std::string &id : ids) {
        text += "Driver = Install, " + id + "\r\n";
    }
    return text;
}

const Files kArchiveFiles = {{"NIC/e1000.inf", infFor({kNic, kSecondNic})},
                             {"NIC/x64/e1000.sys", patternBytes(300000)},
                             {"NIC/e1000.cat", "catalog"}};
const Files kFolderFiles = {{"audio.inf", infFor({kAudio})},
                            {"aud.cat", "catalog"},
                            {"x64/aud io.sys", patternBytes(70000)},
                            {"sub dir/ü.dll", "library"}};

/// The database tollen-index builds of the archive, for two network cards, and the folder
/// package, for a codec; readable by vsftpd's account.
void writeDatabase(const fs::path &root)
{
    std::vector<ArchiveMember> members;
    for (const auto &[path, bytes] : kArchiveFiles) {
        members.push_back({path, bytes});
    }
    writeFile(root / fs::path(kArchive).relative_path(), makeArchive(ArchiveFormat::Zip, members));
    for (const auto &[path, bytes] : kFolderFiles) {
        writeFile(root / fs::path(kFolder).relative_path() / path, bytes);
    }
    ASSERT_EQ(runProgram({TOLLEN_INDEX_PROGRAM, "--quiet", root.string()}), 0);
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        fs::permissions(entry.path(), entry.is_directory() ? fs::perms(0755) : fs::perms(0644));
    }
}

/// Replaces the folder package's file list with `list`, and its proof in the index lines.
void replaceList(const fs::path &root, const std::string &list)
{
    const fs::path listFile = root / fs::path(database::fileListPath(kFolder)).relative_path();
    const std::string old = readFile(listFile);
    writeFile(listFile, list);
    for (const auto &entry : fs::recursive_directory_iterator(root / "DIRSTRUCT")) {
        if (entry.path().filename() == "index.txt") {
            std::string text = readFile(entry.path());
            const std::string proof = database::packageProofFields({sha256Hex(old), old.size()});
            if (const std::size_t at = text.find(proof); at != std::string::npos) {
                text.replace(at, proof.size(),
                             database::packageProofFields({sha256Hex(list), list.size()}));
                writeFile(entry.path(), text);
            }
        }
    }
}

/// Every file below `folder` by its relative path.
Files filesBelow(const fs::path &folder)
{
    Files files;
    for (const auto &entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).generic_string()] = readFile(entry.path());
        }
    }
    return files;
}

class Fetch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_folder.path() / "bin");
        fs::copy_file(TOLLEN_CLI_PROGRAM, m_folder.path() / "bin/tollen-cli");
        writeFile(m_folder.path() / "bin/sorrel.ini", "0\r\nfile:///nowhere\r\n\r\n/\r\n\r\n\r\n");
        writeFile(profile(), std::string(kNic) + "\r\nNIC\r\n" + kSecondNic + "\r\nNIC 2\r\n" +
                                 kAudio + "\r\nCodec\r\n");
    }

    fs::path profile() const { return m_folder.path() / "machine.hwp"; }
    fs::path root() const { return m_folder.path() / "db"; }

    /// Runs tollen-cli; its exit code, standard output and standard error.
    std::tuple<std::optional<int>, std::string, std::string> cli(std::vector<std::string> arguments)
    {
        const fs::path out = m_folder.path() / "out", err = m_folder.path() / "err";
        arguments.insert(arguments.begin(), (m_folder.path() / "bin/tollen-cli").string());
        const std::optional<int> code =
            runToEnd({arguments,
                      {{"HOME", m_folder.path().string()}, {"TMPDIR", m_folder.path().string()}},
                      m_folder.path(),
                      out,
                      err},
                     120s);
        return {code, readFile(out), readFile(err)};
    }

    TemporaryFolder m_folder;
};

TEST_F(Fetch, AllDriversOverEachServerAreThePackagesFilesAndASecondRunFetchesNothing)
{
    writeDatabase(root());
    TemporaryFolder keys;
    const TestCertificate certificate = makeTestCertificate(keys.path());
    const NginxServer http1(root(), certificate);
    const NginxServer http2(root(), certificate, {}, true);
    const VsftpServer vsftpd(root());
    const std::string ca = certificate.certificate.string();
    const std::map<std::string, std::vector<std::string>> servers = {
        {"file", {"--http", "file://" + root().string()}},
        {"nginx HTTP/1.1", {"--http", http1.url(), "--ca-file", ca}},
        {"nginx HTTP/2", {"--http", http2.url(), "--ca-file", ca}},
        {"vsftpd", {"--ftp", vsftpd.host(), "--base-path", "/", "--user", "anonymous"}}};
    for (const auto &[server, options] : servers) {
        SCOPED_TRACE(server);
        const fs::path drivers = m_folder.path() / ("drivers " + server);
        std::vector<std::string> arguments = {"fetch", profile().string(), "--to", drivers.string(),
                                              "--all", "--format",         "json"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto [code, out, err] = cli(arguments);
        ASSERT_EQ(code, 0) << err;
        // Each package once, though two devices share the archive.
        EXPECT_EQ(Json::parse(out)["packages"].size(), 2U) << out;
        const Json record = Json::parse(readFile(drivers / "tollen-fetch.json"));
        ASSERT_EQ(record["devices"].size(), 3U);
        EXPECT_EQ(record["devices"][0]["Package"]["Folder"],
                  record["devices"][1]["Package"]["Folder"]);
        for (const Json &device : record["devices"]) {
            const Json &package = device["Package"];
            const Files &expected = package["Package"] == kArchive ? kArchiveFiles : kFolderFiles;
            EXPECT_EQ(filesBelow(drivers / package["Folder"].get<std::string>()), expected);
            ASSERT_EQ(package["Files"].size(), expected.size());
            for (const Json &file : package["Files"]) {
                EXPECT_EQ(file["SHA-256"], sha256Hex(expected.at(file["Path"])));
            }
        }
        EXPECT_NE(readFile(drivers / "README.txt").find("pnputil /add-driver DIR\\*.inf"),
                  std::string::npos);
        const auto [again, againOut, againErr] = cli(arguments);
        EXPECT_EQ(again, 0) << againErr;
        const Json againRecord = Json::parse(againOut);
        for (const Json &package : againRecord["packages"]) {
            EXPECT_EQ(package["Result"], "already there");
        }
    }
}

TEST_F(Fetch, AChangedArchiveAndAHostileListKeepNothingAndWriteNothingOutsideTheFolder)
{
    writeDatabase(root());
    writeFile(root() / fs::path(kArchive).relative_path(), "changed on the server after indexing");
    replaceList(root(), "../../escaped.inf\"2\"" + sha256Hex("no") + "\r\n");
    const fs::path target = m_folder.path() / "target";
    const auto [code, out, err] =
        cli({"fetch", profile().string(), "--to", (target / "drivers").string(), "--all", "--http",
             "file://" + root().string()});
    EXPECT_EQ(code, 4);
    // The archive's message names both digests.
    EXPECT_NE(err.find("expected "), std::string::npos) << err;
    EXPECT_NE(err.find(", got " + sha256Hex("changed on the server after indexing")),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("file list of " + std::string(kFolder) + " is refused"), std::string::npos)
        << err;
    EXPECT_EQ(fileNames(target), std::vector<std::string>{"drivers"});
    EXPECT_EQ(filesBelow(target / "drivers").size(), 2U);
    EXPECT_FALSE(fs::exists(m_folder.path() / "escaped.inf"));
}

} // namespace
} // namespace tollen::testing
