#pragma once
// The running program's file name without its extension, the first half of every registry
// error's source text.

#include <string>

namespace tollen::registry {

/// Read once from /proc/self/exe; "tollen" when the link cannot be read.
const std::string &executableBaseName();

} // namespace tollen::registry
