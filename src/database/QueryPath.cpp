#include "database/QueryPath.h"

#include "database/IndexTree.h"

namespace tollen::database {

QueryPath QueryPath::fromQuery(const std::string &query)
{
    QueryPath path;
    const IdSplit bus = splitBus(query);
    path.bus = busFolderName(bus.front);
    std::string_view rest = bus.rest.value_or(std::string_view());
    path.pieceCount = kMaximumPieces + 1;
    for (int number = 1; number <= kMaximumPieces; ++number) {
        const IdSplit piece = splitPiece(rest);
        path.pieces.emplace_back(piece.front);
        // An "&" at the very end starts no piece.
        rest = piece.rest.value_or(std::string_view());
        if (rest.empty()) {
            path.pieceCount = number;
            break;
        }
    }
    return path;
}

std::string QueryPath::directory() const
{
    std::string directory = "/" + std::string(kIndexTreeName) + "/" + bus;
    for (const std::string &piece : pieces) {
        directory += "/" + piece;
    }
    return directory;
}

std::string QueryPath::indexFile() const
{
    return directory() + "/" + std::string(kIndexFileName);
}

bool QueryPath::refinementMode() const
{
    if (bus == "hdaudio" || bus == "pci") {
        return pieceCount == 1 || pieceCount == 2;
    }
    return bus == "usb" && pieceCount == 1;
}

} // namespace tollen::database
