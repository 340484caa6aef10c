#include "database/IdPlacement.h"

#include "core/Text.h"

namespace tollen::database {
namespace {

constexpr std::size_t kDeepestLevel = 4;
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

/// Checks the bus and every piece; calls `onPart` with each piece while they are fine.
template <typename OnPart> IdPlacementResult walkParts(std::string_view hardwareId, OnPart onPart)
{
    const std::size_t backslash = hardwareId.find('\\');
    if (backslash == std::string_view::npos) {
        return IdPlacementResult::NoBus;
    }
    const std::string_view bus = hardwareId.substr(0, backslash);
    if (const IdPlacementResult result = checkPart(bus, true);
        result != IdPlacementResult::Placed) {
        return result;
    }
    std::string_view rest = hardwareId.substr(backslash + 1);
    for (std::size_t level = 1;; ++level) {
        const std::size_t ampersand = rest.find('&');
        const std::string_view piece = rest.substr(0, ampersand);
        if (const IdPlacementResult result = checkPart(piece, level <= kDeepestLevel);
            result != IdPlacementResult::Placed) {
            return result;
        }
        onPart(bus, piece, level);
        if (ampersand == std::string_view::npos) {
            return IdPlacementResult::Placed;
        }
        rest.remove_prefix(ampersand + 1);
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
            if (level > kDeepestLevel) {
                return;
            }
            if (level == 1) {
                folder = asciiLower(bus);
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
