#pragma once
// Registry exports that tests and benchmarks write: the text of a REG_MULTI_SZ value, which a
// .reg file can only give in regedit's hex(7) form (UTF-16LE bytes, each string ended by a
// null, the list by one more).

#include <string>
#include <vector>

namespace tollen::testing {

/// "hex(7):50,00,43,00,..." of the strings (ASCII).
std::string regMultiString(const std::vector<std::string> &texts);

} // namespace tollen::testing
