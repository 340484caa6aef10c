#include "ui/DownloadRules.h"

#include <array>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

TEST(DownloadRules, NameAndExtensionComeFromTheArchivesLastPart)
{
    for (const auto &[archive, name, extension] : std::vector<std::array<std::string, 3>>{
             {"/DIRSTRUCT/pci/x/pack.ZIP", "pack.ZIP", "ZIP"},
             {"/d/setupexe", "setupexe", "setupexe"},
             {"/d/drv.7z", "drv.7z", "7z"},
             {"/d/", "", ""},
             {"/d/..", "..", ""},
             {"noslash.zip", "noslash.zip", "zip"},
         }) {
        EXPECT_EQ(archiveName(archive), name) << archive;
        EXPECT_EQ(nameExtension(archiveName(archive)), extension) << archive;
    }
}

TEST(DownloadRules, NamesThatAreNoFileOfTheirOwnAreRefused)
{
    for (const char *name : {"", ".", "..", " ", " .. ", ". "}) {
        EXPECT_FALSE(isUsableFileName(name)) << '"' << name << '"';
    }
    EXPECT_FALSE(isUsableFileName(std::string("a\0b.zip", 7)));
    for (const char *name : {"a.zip", "...", "..zip", "a b;$(x).zip", "é.zip"}) {
        EXPECT_TRUE(isUsableFileName(name)) << name;
    }
}

} // namespace
} // namespace tollen::ui
