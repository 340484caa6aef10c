#include "ui/DownloadRules.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

TEST(DownloadRules, ArchiveSplitEndsAtTheFirstSuffixAlongThePath)
{
    struct Row
    {
        const char *remotePath;
        const char *archive;
        const char *name;
        const char *extension;
    };
    for (const Row &row : {
             Row{"/DIRSTRUCT/pci/x/pack.ZIP/inner/a.inf", "/DIRSTRUCT/pci/x/pack.ZIP", "pack.ZIP",
                 "ZIP"},
             Row{"/DIRSTRUCT/pci/x/a.inf", "/DIRSTRUCT/pci/x/a.inf", "a.inf", "inf"},
             Row{"/d/setupexe/a.inf", "/d/setupexe", "setupexe", "setupexe"},
             Row{"/d/drv.7z/x/y.rar", "/d/drv.7z", "drv.7z", "7z"},
             Row{"/d/Setup.EXE", "/d/Setup.EXE", "Setup.EXE", "EXE"},
             Row{"/d/7z/x", "/d/7z/x", "x", "x"},
             Row{"", "", "", ""},
             Row{"/d/", "/d/", "", ""},
             Row{"/d/..", "/d/..", "..", ""},
             Row{"noslash.zip.txt", "noslash.zip", "noslash.zip", "zip"},
         }) {
        const std::string archive = archivePath(row.remotePath);
        EXPECT_EQ(archive, row.archive) << row.remotePath;
        EXPECT_EQ(archiveName(archive), row.name) << row.remotePath;
        EXPECT_EQ(nameExtension(archiveName(archive)), row.extension) << row.remotePath;
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
