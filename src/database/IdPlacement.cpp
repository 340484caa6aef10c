#include "database/IdPlacement.h"

#include "database/DatabaseDescription.h"
#include "database/IndexTree.h"
#include "database/PackageFiles.h"

namespace tollen::database {
namespace {

/// The longest file name most file systems take, in bytes.
constexpr std::size_t kLongestFolderName = 255;
constexpr std::string_view kForbiddenCharacters = "/\\<>:\"|?*";

/// Checks a bus or piece; `becomesFolder` when it names a folder of the tree (the bus and the
/// first four pieces), which limits its length.
IdPlacementResult checkPart(std::string_view part, bool becomesFolder)
{
    if (part.empty()) {
        return IdPlacementResult::EmptyPart;
    }
    if (part == "." || part == "..") {
        return IdPlacementResult::DotPart;
    }
    if (becomesFolder && part.size() > kLongestFolderName) {
        return IdPlacementResult::PartTooLong;
    }
    for (const char character : part) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte == 0x7F ||
            kForbiddenCharacters.find(character) != std::string_view::npos) {
            return IdPlacementResult::ForbiddenCharacter;
        }
    }
    return IdPlacementResult::Placed;
}

/// Whether the bus's folder would take the place of one of the tree's own files.
bool isReservedBus(std::string_view bus)
{
    for (const std::string_view reserved : {kFileListFolderName, kDatabaseDescriptionName}) {
        if (bus.size() == reserved.size() && busFolderName(bus) == reserved) {
            return true;
        }
    }
    return false;
}

/// Checks the bus and every piece; calls `onPart` with each piece while they are fine.
template <typename OnPart> IdPlacementResult walkParts(std::string_view hardwareId, OnPart onPart)
{
    const IdSplit split = splitBus(hardwareId);
    if (!split.rest) {
        return IdPlacementResult::NoBus;
    }
    const std::string_view bus = split.front;
    if (const IdPlacementResult result = checkPart(bus, true);
        result != IdPlacementResult::Placed) {
        return result;
    }
    if (isReservedBus(bus)) {
        return IdPlacementResult::ReservedBus;
    }
    std::string_view rest = *split.rest;
    for (std::size_t level = 1;; ++level) {
        const IdSplit piece = splitPiece(rest);
        if (const IdPlacementResult result = checkPart(piece.front, level <= kDeepestPiece);
            result != IdPlacementResult::Placed) {
            return result;
        }
        onPart(bus, piece.front, level);
        if (!piece.rest) {
            return IdPlacementResult::Placed;
        }
        rest = *piece.rest;
    }
}

} // namespace

std::string_view describe(IdPlacementResult result)
{
    switch (result) {
    case IdPlacementResult::Placed:
        return "placed";
    case IdPlacementResult::NoBus:
        return "no bus: the ID has no \\";
    case IdPlacementResult::EmptyPart:
        return "an empty bus or piece";
    case IdPlacementResult::DotPart:
        return "a bus or piece that is . or ..";
    case IdPlacementResult::ForbiddenCharacter:
        return "a bus or piece with a control character or one of / \\ < > : \" | ? *";
    case IdPlacementResult::PartTooLong:
        return "a bus or piece longer than 255 bytes";
    case IdPlacementResult::ReservedBus:
        return "a bus named as the index tree's own files";
    }
    return "unknown";
}

IdPlacement placeHardwareId(std::string_view hardwareId)
{
    IdPlacement placement;
    std::string folder;
    std::vector<std::string> folders;
    placement.result =
        walkParts(hardwareId, [&](std::string_view bus, std::string_view piece, std::size_t level) {
            if (level > kDeepestPiece) {
                return;
            }
            if (level == 1) {
                folder = busFolderName(bus);
            }
            folder += '/';
            folder += piece;
            folders.push_back(folder);
        });
    if (placement.result == IdPlacementResult::Placed) {
        placement.folders = std::move(folders);
    }
    return placement;
}

IdPlacementResult checkHardwareId(std::string_view hardwareId)
{
    return walkParts(hardwareId, [](std::string_view, std::string_view, std::size_t) {});
}

} // namespace tollen::database
