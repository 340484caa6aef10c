// The one table of hostile Remote Paths: paths below the database root reach a server as that
// path and nothing else. The end-to-end runs through the window and the command line show that
// the transfers apply it.

#include "transfer/RemotePath.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

TEST(RemotePath, DotSegmentsBetweenEitherSlashLeaveTheBase)
{
    for (const char *inside : {"/DIRSTRUCT/pci/index.txt", "", "/", "//a//b", "/a..b/c.",
                               "/.a/..b/", "/%2e%2e/index.txt", "/a/.../b", "/pkgs/--help.exe"}) {
        EXPECT_TRUE(staysBelowBase(inside)) << inside;
    }
    for (const char *outside :
         {"..", ".", "/..", "/../index.txt", "/DIRSTRUCT/pci/../../x", "/a/./b", "/a\\..\\b",
          "a\\.", "/a/..\\b", "/DIRSTRUCT/..", "/pkgs/.", "/..\\secret.txt"}) {
        EXPECT_FALSE(staysBelowBase(outside)) << outside;
    }
}

TEST(RemotePath, UrlPathsKeepOnlyPlainCharacters)
{
    struct Row
    {
        const char *path;
        const char *encoded;
    };
    const Row rows[] = {
        {"/a b/c~d-e_f.g", "/a%20b/c~d-e_f.g"},
        {"/100%/x#y?z=1&w", "/100%25/x%23y%3Fz%3D1%26w"},
        {"/Gerät\\x", "/Ger%C3%A4t%5Cx"},
        {"/a\r\nb\t\x7F", "/a%0D%0Ab%09%7F"},
        {"/\"<>`|^{}", "/%22%3C%3E%60%7C%5E%7B%7D"},
        {"/a;b&c$(d)'e'!*+,=:@", "/a%3Bb%26c%24%28d%29%27e%27%21%2A%2B%2C%3D%3A%40"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(encodeUrlPath(row.path), row.encoded) << row.path;
    }
    EXPECT_EQ(encodeUrlPath(std::string("/a\0b", 4)), "/a%00b");
    EXPECT_TRUE(fitsFtpCommand("/a b/%2e/Gerät"));
    EXPECT_FALSE(fitsFtpCommand("/a\r\nDELE x"));
    EXPECT_FALSE(fitsFtpCommand(std::string("/a\0b", 4)));
}

} // namespace
} // namespace tollen::transfer
