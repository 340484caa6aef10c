#include "database/IdPlacement.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

using Folders = std::vector<std::string>;

TEST(IdPlacement, ListsAnIdInTheIndexOfEachPrefixUpToTheFourthPiece)
{
    struct Row
    {
        const char *id;
        Folders folders;
    };
    const Row rows[] = {
        {R"(USB\VID_046D)", {"usb/VID_046D"}},
        {R"(PCI\VEN_8086&DEV_100E)", {"pci/VEN_8086", "pci/VEN_8086/DEV_100E"}},
        {R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086)",
         {"pci/VEN_8086", "pci/VEN_8086/DEV_100E", "pci/VEN_8086/DEV_100E/SUBSYS_002E8086"}},
        {R"(HDAUDIO\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C8000&REV_1000)",
         {"hdaudio/FUNC_01", "hdaudio/FUNC_01/VEN_10EC", "hdaudio/FUNC_01/VEN_10EC/DEV_0662",
          "hdaudio/FUNC_01/VEN_10EC/DEV_0662/SUBSYS_103C8000"}},
        // The bus is lower-cased, ASCII letters only; pieces stay as they stand.
        {"\xC3\x89XTRA\\PIECE", {"\xC3\x89xtra/PIECE"}},
        {R"(A B\C D)", {"a b/C D"}},
    };
    for (const Row &row : rows) {
        const IdPlacement placement = placeHardwareId(row.id);
        EXPECT_EQ(placement.result, IdPlacementResult::Placed) << row.id;
        EXPECT_EQ(placement.folders, row.folders) << row.id;
        EXPECT_EQ(checkHardwareId(row.id), IdPlacementResult::Placed) << row.id;
    }
}

TEST(IdPlacement, RefusesIdsThatCouldNotBeFoldersOnAnyDisk)
{
    struct Row
    {
        std::string id;
        IdPlacementResult result;
    };
    const std::string longPiece(256, 'A');
    std::vector<Row> rows = {
        {"*PNP0303", IdPlacementResult::NoBus},
        {"", IdPlacementResult::NoBus},
        {R"(\VEN_1)", IdPlacementResult::EmptyPart},
        {R"(PCI\)", IdPlacementResult::EmptyPart},
        {R"(PCI\VEN_1&&DEV_2)", IdPlacementResult::EmptyPart},
        {R"(PCI\VEN_1&)", IdPlacementResult::EmptyPart},
        {R"(PCI\A&B&C&D&)", IdPlacementResult::EmptyPart}, // past the fourth piece too
        {R"(PCI\..)", IdPlacementResult::DotPart},
        {R"(PCI\VEN_1&.)", IdPlacementResult::DotPart},
        {R"(..\X)", IdPlacementResult::DotPart},
        {R"(PCI/X\A)", IdPlacementResult::ForbiddenCharacter},
        {R"(PCI\A&B&C&D&E*F)", IdPlacementResult::ForbiddenCharacter},
        {"PCI\\" + longPiece, IdPlacementResult::PartTooLong},
        {R"(Tollen-Packages\X)", IdPlacementResult::ReservedBus},
        {R"(TOLLEN-DATABASE.JSON\X)", IdPlacementResult::ReservedBus},
    };
    for (const char forbidden : std::string("\\/:\"<>|?*\t\x7F\0", 12)) {
        rows.push_back(
            {std::string("PCI\\A") + forbidden + "B", IdPlacementResult::ForbiddenCharacter});
    }
    for (const Row &row : rows) {
        const IdPlacement placement = placeHardwareId(row.id);
        EXPECT_EQ(placement.result, row.result) << row.id;
        EXPECT_TRUE(placement.folders.empty()) << row.id;
        EXPECT_EQ(checkHardwareId(row.id), row.result) << row.id;
    }
    EXPECT_EQ(checkHardwareId("PCI\\" + std::string(255, 'A')), IdPlacementResult::Placed);
    // Only the pieces that name folders are held to a folder name's length.
    EXPECT_EQ(checkHardwareId(R"(PCI\A&B&C&D&)" + longPiece), IdPlacementResult::Placed);
    EXPECT_EQ(checkHardwareId(R"(PCI\A&B&C&)" + longPiece), IdPlacementResult::PartTooLong);
}

} // namespace
} // namespace tollen::database
