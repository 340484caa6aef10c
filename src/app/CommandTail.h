#pragma once

#include <string>

namespace tollen::app {

/// The program's command tail: its arguments joined by single spaces, empty when there are none.
inline std::string commandTail(int argc, const char *const *argv)
{
    std::string tail;
    for (int index = 1; index < argc; ++index) {
        if (index > 1) {
            tail += ' ';
        }
        tail += argv[index];
    }
    return tail;
}

} // namespace tollen::app
