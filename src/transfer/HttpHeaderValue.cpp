#include "transfer/HttpHeaderValue.h"

#include "core/Text.h"

namespace tollen::transfer {
namespace {

/// Without the spaces and tabs around it (HTTP's optional white space) and its line end.
std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view kBlank = " \t\r";
    const auto first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

} // namespace

std::string httpHeaderValue(std::string_view header, std::string_view name)
{
    std::string_view lines = header;
    while (!lines.empty()) {
        const auto end = lines.find('\n');
        const std::string_view line = lines.substr(0, end);
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
        const auto colon = line.find(':');
        if (colon != std::string_view::npos &&
            equalsIgnoringCase(trimmed(line.substr(0, colon)), name)) {
            return std::string(trimmed(line.substr(colon + 1)));
        }
    }
    return {};
}

} // namespace tollen::transfer
