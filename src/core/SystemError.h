#pragma once
// A failed system call handed back as a value: errno's code and its text after what was tried.

#include "core/Error.h"

#include <string>

namespace tollen {

/// The failure errno describes, as "what: reason"; EIO when errno names none.
Error systemError(const std::string &what);

} // namespace tollen
