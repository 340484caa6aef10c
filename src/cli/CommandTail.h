#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace tollen::cli {

/// The program's command tail: the arguments after its name joined by single spaces, empty when
/// there are none.
inline std::string commandTail(const std::vector<std::string> &arguments)
{
    std::string tail;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        tail += (index > 0 ? " " : "") + arguments[index];
    }
    return tail;
}

/// The same from main's arguments, the program's name first.
inline std::string commandTail(int argc, const char *const *argv)
{
    return commandTail(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}

} // namespace tollen::cli
