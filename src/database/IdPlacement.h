#pragma once
// Where a hardware ID's line goes in the index tree. The bus is the text before the first "\",
// lower-cased; the rest is split at "&" into pieces. The line is listed in
// <bus>/<piece 1>/index.txt and, for each further piece up to the fourth, in the index file of
// that longer prefix, so an ID of five pieces is listed in four files.
//
// The tree must be copyable to any disk and must never reach outside itself, so an ID is refused
// when its bus or any piece (also past the fourth) is empty, "." or "..", or holds "/", "\", a
// control character or one of < > : " | ? *, and when its bus or one of its first four pieces is
// longer than a folder name may be. An ID with a second "\" is therefore refused. So is a bus
// named as the tree's own files (the folder of package file lists, the database's description),
// whose folder would take their place.

#include <string>
#include <string_view>
#include <vector>

namespace tollen::database {

enum class IdPlacementResult {
    Placed,
    /// No "\" at all: the ID names no bus and goes nowhere (such as *PNP0303).
    NoBus,
    EmptyPart,
    DotPart,
    ForbiddenCharacter,
    PartTooLong,
    ReservedBus,
};

/// The reason a refused ID is refused, for the user.
std::string_view describe(IdPlacementResult result);

struct IdPlacement
{
    IdPlacementResult result = IdPlacementResult::NoBus;
    /// The index folders below the tree's root, shortest first ("pci/VEN_8086",
    /// "pci/VEN_8086/DEV_100E", ...); empty unless the ID is placed.
    std::vector<std::string> folders;
};

/// Where the line of `hardwareId` goes. The bus is lower-cased (ASCII letters only); the pieces
/// are used as they stand, since the ID is upper-cased already.
IdPlacement placeHardwareId(std::string_view hardwareId);

/// Whether the ID would be placed, without building its folders.
IdPlacementResult checkHardwareId(std::string_view hardwareId);

} // namespace tollen::database
