#include "database/QueryPath.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

TEST(QueryPath, BusInLowerCaseAndUpToFourPiecesAsWritten)
{
    struct Row
    {
        const char *query;
        const char *indexFile;
        int pieceCount;
        bool refinementMode;
    };
    const Row rows[] = {
        {R"(PCI\VEN_8086&DEV_100E)", "/DIRSTRUCT/pci/VEN_8086/DEV_100E/index.txt", 2, true},
        {R"(PCI\VEN_8086)", "/DIRSTRUCT/pci/VEN_8086/index.txt", 1, true},
        {R"(Pci\ven_8086&Dev_100e)", "/DIRSTRUCT/pci/ven_8086/Dev_100e/index.txt", 2, true},
        {R"(HDAUDIO\FUNC_01&VEN_10EC)", "/DIRSTRUCT/hdaudio/FUNC_01/VEN_10EC/index.txt", 2, true},
        {R"(HDAUDIO\FUNC_01&VEN_10EC&DEV_0662)",
         "/DIRSTRUCT/hdaudio/FUNC_01/VEN_10EC/DEV_0662/index.txt", 3, false},
        {R"(USB\VID_046D)", "/DIRSTRUCT/usb/VID_046D/index.txt", 1, true},
        {R"(USB\VID_046D&PID_C52B)", "/DIRSTRUCT/usb/VID_046D/PID_C52B/index.txt", 2, false},
        {R"(ISAPNP\ReadDataPort)", "/DIRSTRUCT/isapnp/ReadDataPort/index.txt", 1, false},
        {R"(ACPI\PNP0A03)", "/DIRSTRUCT/acpi/PNP0A03/index.txt", 1, false},
        // The bus is lowered as the builder names its folder: ASCII letters only.
        {"GER\u00c4T\\X", "/DIRSTRUCT/ger\u00c4t/X/index.txt", 1, false},
        // Without a backslash the whole query is the bus and the one piece is empty.
        {"xyz", "/DIRSTRUCT/xyz//index.txt", 1, false},
        // An "&" at the end starts no piece; two in a row make an empty one.
        {R"(PCI\VEN_1&)", "/DIRSTRUCT/pci/VEN_1/index.txt", 1, true},
        {R"(PCI\A&&B)", "/DIRSTRUCT/pci/A//B/index.txt", 3, false},
        // More than four pieces: the first four make the path.
        {R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02&X&Y)",
         "/DIRSTRUCT/pci/VEN_8086/DEV_100E/SUBSYS_002E8086/REV_02/index.txt", 5, false},
        // A second backslash belongs to the pieces.
        {R"(ROOT\X\Y&Z)", "/DIRSTRUCT/root/X\\Y/Z/index.txt", 2, false},
    };
    for (const Row &row : rows) {
        const QueryPath path = QueryPath::fromQuery(row.query);
        EXPECT_EQ(path.indexFile(), row.indexFile) << row.query;
        EXPECT_EQ(path.pieceCount, row.pieceCount) << row.query;
        EXPECT_EQ(path.refinementMode(), row.refinementMode) << row.query;
    }
}

} // namespace
} // namespace tollen::database
