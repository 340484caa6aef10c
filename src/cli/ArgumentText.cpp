#include "cli/ArgumentText.h"

#include "core/Text.h"

#include <algorithm>

namespace tollen::cli {

std::optional<std::string> argumentProblem(std::string_view name, std::string_view text,
                                           std::size_t limit, bool mayBeEmpty)
{
    const std::string what(name);
    if (text.empty() && !mayBeEmpty) {
        return what + " is empty";
    }
    if (text.size() > limit) {
        return what + " is too long (" + std::to_string(text.size()) + " bytes; at most " +
               std::to_string(limit) + ")";
    }
    if (std::ranges::any_of(text, [](char byte) {
            return static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F;
        })) {
        return what + " holds a control character";
    }
    if (!isValidUtf8(text)) {
        return what + " is not UTF-8 text";
    }
    return std::nullopt;
}

} // namespace tollen::cli
