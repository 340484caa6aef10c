#include "database/ArchivePath.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

TEST(ArchivePath, EndsAtTheFirstSuffixAlongThePath)
{
    for (const auto &[remotePath, archive] : std::vector<std::pair<std::string, std::string>>{
             {"/DIRSTRUCT/pci/x/pack.ZIP/inner/a.inf", "/DIRSTRUCT/pci/x/pack.ZIP"},
             {"/DIRSTRUCT/pci/x/a.inf", "/DIRSTRUCT/pci/x/a.inf"},
             {"/d/setupexe/a.inf", "/d/setupexe"},
             {"/d/drv.7z/x/y.rar", "/d/drv.7z"},
             {"/d/Setup.EXE", "/d/Setup.EXE"},
             {"/d/7z/x", "/d/7z/x"},
             {"", ""},
             {"noslash.zip.txt", "noslash.zip"},
         }) {
        EXPECT_EQ(archivePath(remotePath), archive) << remotePath;
    }
}

} // namespace
} // namespace tollen::database
