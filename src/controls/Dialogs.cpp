#include "controls/Dialogs.h"

namespace tollen::controls {

std::vector<std::pair<std::string, std::string>> parseFilter(const std::string &filter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const auto bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

} // namespace tollen::controls
