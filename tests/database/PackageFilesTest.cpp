#include "database/PackageFiles.h"

#include "core/Sha256.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

const std::string kDigest(64, 'a');

TEST(Sha256, DigestsTextAndFilesAsTheStandardVectorsSay)
{
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    Sha256 pieces;
    pieces.update("a");
    pieces.update("bc");
    EXPECT_EQ(pieces.finishHex(), sha256Hex("abc"));
    EXPECT_EQ(pieces.finishHex(), sha256Hex("")) << "a finished digest starts afresh";
    EXPECT_TRUE(isSha256Hex(sha256Hex("")));
    EXPECT_FALSE(isSha256Hex(std::string(64, 'A')));
    EXPECT_FALSE(isSha256Hex(std::string(63, 'a')));
}

TEST(PackageProof, IsReadFromTheTwoFieldsAfterTheNinthAndOnlyWhenWellFormed)
{
    const std::string nine = "Folder\"M\"D\"PCI\\VEN_1\"Net\"NTamd64\"1.0\"01/02/2020\"/a/b.inf";
    EXPECT_EQ(linePackageProof(nine), std::nullopt);
    EXPECT_EQ(linePackageProof(nine + packageProofFields({kDigest, 42})),
              (FileDigest{kDigest, 42}));
    EXPECT_EQ(linePackageProof(nine + packageProofFields({kDigest, 42}) + "\"later"),
              (FileDigest{kDigest, 42}));
    EXPECT_EQ(linePackageProof(nine + "\"" + std::string(64, 'A') + "\"42"), std::nullopt);
    EXPECT_EQ(linePackageProof(nine + "\"" + kDigest + "\"-1"), std::nullopt);
    EXPECT_EQ(linePackageProof(nine + "\"" + kDigest), std::nullopt);
}

TEST(PackagePlace, ComesFromTheRemotePathAlone)
{
    EXPECT_EQ(packagePath("/Intel/LAN/x64/e1d.inf", false), "/Intel/LAN/x64/");
    EXPECT_EQ(packagePath("/V/pkg.zip/inner/a.inf", true), "/V/pkg.zip");
    EXPECT_EQ(packageFolder("/V/pkg.zip"), "/V/");
    EXPECT_EQ(packageFolder("/Intel/LAN/"), "/Intel/LAN/");
    const std::string list = fileListPath("/Intel/LAN/");
    const std::string digest = sha256Hex("/Intel/LAN/");
    EXPECT_EQ(list, "/DIRSTRUCT/tollen-packages/" + digest.substr(0, 2) + "/" + digest + ".txt");
}

TEST(FileList, WrittenSortedAndReadBack)
{
    const std::vector<PackageFile> files = {{"x64/e1d.sys", {kDigest, 7}},
                                            {"Sub folder/naïve.cat", {sha256Hex(""), 0}},
                                            {"e1d.inf", {kDigest, 100}}};
    const std::string text = writeFileList(files);
    EXPECT_EQ(text.substr(0, text.find('\r')), "Sub folder/naïve.cat\"0\"" + sha256Hex(""));
    const FileListReading reading = readFileList(text);
    EXPECT_EQ(reading.problem, "");
    ASSERT_EQ(reading.files.size(), 3U);
    EXPECT_EQ(reading.files[2], files[0]);
}

TEST(FileList, RefusesHostileAndDamagedLists)
{
    const auto line = [](const std::string &path) { return path + "\"1\"" + kDigest + "\r\n"; };
    for (const std::string &text :
         {line("../../x"), line("a/../../x"), line("/etc/passwd"), line("C:/x"), line("a\\b"),
          line(""), line("a//b"), line("./a"), line("a:stream"), line("a\x01"),
          line("A.sys") + line("a.SYS"), std::string("a\"1\r\n"), "a\"x\"" + kDigest,
          "a\"1\"" + std::string(64, 'g'),
          "a\"" + std::to_string(kMostPackageBytes + 1) + "\"" + kDigest}) {
        const FileListReading reading = readFileList(text);
        EXPECT_NE(reading.problem, "") << text;
        EXPECT_TRUE(reading.files.empty()) << text;
    }
}

} // namespace
} // namespace tollen::database
