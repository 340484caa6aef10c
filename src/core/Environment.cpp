#include "core/Environment.h"

namespace tollen {

std::string expandEnvironmentReferences(std::string_view text)
{
    std::string result;
    std::size_t position = 0;
    while (position < text.size()) {
        const auto open = text.find('%', position);
        const auto close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            result.append(text.substr(position));
            break;
        }
        result.append(text.substr(position, open - position));
        const auto name = text.substr(open + 1, close - open - 1);
        if (const auto value = name.empty() ? std::nullopt : environmentVariable(name)) {
            result.append(*value);
            position = close + 1;
        } else {
            // Not a variable: keep the first "%" and look for a reference from the second.
            result += '%';
            position = open + 1;
        }
    }
    return result;
}

} // namespace tollen
