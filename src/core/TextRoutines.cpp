#include "core/TextRoutines.h"

namespace tollen {

std::string TextAfter(const std::string &text, char separator)
{
    const auto position = text.find(separator);
    return position == std::string::npos ? text : text.substr(position + 1);
}

std::string TextBefore(const std::string &text, char separator)
{
    const auto position = text.find(separator);
    return position == std::string::npos ? text : text.substr(0, position);
}

std::string TextBeforeLast(const std::string &text, char separator)
{
    if (text.size() < 2) {
        return text;
    }
    // The search starts one before the end: a separator in the final position does not count.
    const auto position = text.rfind(separator, text.size() - 2);
    return position == std::string::npos ? text : text.substr(0, position);
}

} // namespace tollen
