#include "cli/PackageFolderName.h"

#include "core/Sha256.h"

#include <gtest/gtest.h>

namespace tollen::cli {
namespace {

TEST(PackageFolderName, IsThePackagesNameMadeSafeForWindowsThenDigitsOfItsPath)
{
    struct Row
    {
        std::string path;
        std::string name;
    };
    const std::vector<Row> rows = {
        {"/Intel/LAN/", "LAN"},
        {"/HP/sp 123.exe", "sp 123"},
        {"/V/drivers.tar.zip", "drivers.tar"},
        {"/V/a:b*c?d<e>f|g\"h\x01i.zip", "a_b_c_d_e_f_g_h_i"},
        {"/V/ .hidden. /", "hidden"},
        {"/V/.zip", "package"},
        {"/", "package"},
        // Cut at 40 bytes, never inside a character: "ü" is two bytes.
        {"/V/"
         "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaü.zip",
         std::string(39, 'a')},
        {"/V/"
         "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaü.zip",
         std::string(38, 'a') + "ü"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(packageFolderName(row.path), row.name + "-" + sha256Hex(row.path).substr(0, 12));
    }
    // Packages of one name in two places get two folders.
    EXPECT_NE(packageFolderName("/A/LAN/"), packageFolderName("/B/LAN/"));
}

} // namespace
} // namespace tollen::cli
