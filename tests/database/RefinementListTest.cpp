#include "database/RefinementList.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

TEST(RefinementPiece, TheNextPieceAfterTheQuery)
{
    struct Row
    {
        const char *hardwareId;
        const char *query;
        const char *piece;
    };
    const Row rows[] = {
        {R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02)", R"(PCI\VEN_8086&DEV_100E)",
         "SUBSYS_002E8086"},
        {R"(PCI\VEN_8086&DEV_100E&subsys_002e8086)", R"(PCI\VEN_8086&DEV_100E)", "SUBSYS_002E8086"},
        {R"(USB\VID_046D&PID_C52B)", R"(USB\VID_046D)", "PID_C52B"},
        // Written in another case than the query: nothing is removed, so the piece after the
        // first "&" is taken.
        {R"(pci\ven_8086&dev_100e&subsys_002e8086)", R"(PCI\VEN_8086&DEV_100E)", "DEV_100E"},
        // The identifier is the query itself: nothing follows it.
        {R"(PCI\VEN_8086&DEV_100E)", R"(PCI\VEN_8086&DEV_100E)", ""},
        {"", R"(PCI\VEN_8086)", ""},
        // An identifier without "&" that is not the query is taken whole.
        {R"(ACPI\PNP0A03)", R"(PCI\VEN_8086)", R"(ACPI\PNP0A03)"},
        // Every occurrence of the query goes, wherever it stands.
        {R"(PCI\VEN_1&X&PCI\VEN_1&Y)", R"(PCI\VEN_1)", "X"},
        // An empty query removes nothing.
        {R"(PCI\VEN_1&DEV_2&SUBSYS_3)", "", "DEV_2"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(refinementPiece(row.hardwareId, row.query), row.piece) << row.hardwareId;
    }
}

TEST(RefinementList, EachPieceOnceInOrderOfFirstAppearanceIgnoringCase)
{
    controls::ListBox List2;
    RefinementList list(List2, R"(PCI\VEN_8086)");
    for (const char *hardwareId : {
             R"(PCI\VEN_8086&DEV_100E&SUBSYS_1)",
             R"(PCI\VEN_8086&DEV_10D3)",
             R"(PCI\VEN_8086&dev_100e&SUBSYS_2)",
             R"(PCI\VEN_8086)",
             R"(PCI\VEN_8086&DEV_10D3&REV_01)",
         }) {
        list.gather(hardwareId);
    }
    EXPECT_EQ(List2.items(), (std::vector<std::string>{"DEV_100E", "DEV_10D3"}));
}

} // namespace
} // namespace tollen::database
