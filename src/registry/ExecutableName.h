#pragma once
// The running program's file name without its extension, the first half of every registry
// error's source text.

#include <string>

namespace tollen::registry {

/// Learnt once from the system; "tollen" when it does not say.
const std::string &executableBaseName();

} // namespace tollen::registry
