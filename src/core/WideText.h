#pragma once
// UTF-8 to and from the UTF-16 of the Windows calls. Windows only.

#include <string>
#include <string_view>

namespace tollen {

/// Malformed UTF-8 becomes U+FFFD.
std::wstring wideFromUtf8(std::string_view text);
/// An unpaired surrogate becomes U+FFFD.
std::string utf8FromWide(std::wstring_view text);

} // namespace tollen
