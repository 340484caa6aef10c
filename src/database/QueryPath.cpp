#include "database/QueryPath.h"

#include "core/Text.h"
#include "core/TextRoutines.h"

namespace tollen::database {
namespace {

/// The text after the first `length` characters and the one that follows them.
std::string afterPieceAndSeparator(const std::string &text, std::size_t length)
{
    return length + 1 >= text.size() ? std::string() : text.substr(length + 1);
}

} // namespace

QueryPath QueryPath::fromQuery(const std::string &query)
{
    QueryPath path;
    const std::string bus = TextBefore(query, '\\');
    path.bus = toLower(bus);
    std::string rest = afterPieceAndSeparator(query, bus.size());
    path.pieceCount = kMaximumPieces + 1;
    for (int number = 1; number <= kMaximumPieces; ++number) {
        path.pieces.push_back(TextBefore(rest, '&'));
        rest = afterPieceAndSeparator(rest, path.pieces.back().size());
        if (rest.empty()) {
            path.pieceCount = number;
            break;
        }
    }
    return path;
}

std::string QueryPath::directory() const
{
    std::string directory = "/DIRSTRUCT/" + bus;
    for (const std::string &piece : pieces) {
        directory += "/" + piece;
    }
    return directory;
}

bool QueryPath::refinementMode() const
{
    if (bus == "hdaudio" || bus == "pci") {
        return pieceCount == 1 || pieceCount == 2;
    }
    return bus == "usb" && pieceCount == 1;
}

} // namespace tollen::database
