#pragma once
// An expected failure handed back as a value: a code and a message for the user or the log.

#include <string>

namespace tollen {

struct Error
{
    int code = 0;
    std::string message;

    explicit operator bool() const { return code != 0 || !message.empty(); }
};

} // namespace tollen
