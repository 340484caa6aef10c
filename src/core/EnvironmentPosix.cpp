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

} // namespace tollen
