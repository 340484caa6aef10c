#include "core/Environment.h"

#include "core/Text.h"

#include <cstdlib>
#include <unistd.h>

namespace tollen {

std::optional<std::string> environmentVariable(std::string_view name)
{
    if (const char *exact = std::getenv(std::string(name).c_str())) {
        return std::string(exact);
    }
    for (char **entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view pair(*entry);
        const auto equals = pair.find('=');
        if (equals != std::string_view::npos && equalsIgnoringCase(pair.substr(0, equals), name)) {
            return std::string(pair.substr(equals + 1));
        }
    }
    return std::nullopt;
}

std::filesystem::path temporaryDirectory()
{
    for (const char *name : {"TEMP", "TMPDIR"}) {
        if (const auto value = environmentVariable(name); value && !value->empty()) {
            return *value;
        }
    }
    return "/tmp";
}

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
