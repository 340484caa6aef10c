#include "database/IndexTree.h"

#include "core/Text.h"

namespace tollen::database {
namespace {

IdSplit splitAt(std::string_view text, char separator)
{
    const std::size_t position = text.find(separator);
    if (position == std::string_view::npos) {
        return {text, std::nullopt};
    }
    return {text.substr(0, position), text.substr(position + 1)};
}

} // namespace

IdSplit splitBus(std::string_view id)
{
    return splitAt(id, '\\');
}

IdSplit splitPiece(std::string_view pieces)
{
    return splitAt(pieces, '&');
}

std::string busFolderName(std::string_view bus)
{
    return asciiLower(bus);
}

} // namespace tollen::database
