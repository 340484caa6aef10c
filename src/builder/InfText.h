#pragma once
// The text of an INF file as the builder reads it: UTF-16LE with a byte-order mark, UTF-8 with or
// without one, otherwise Windows-1252. Whatever the file's encoding, the result is UTF-8.

#include <string>
#include <string_view>

namespace tollen::builder {

/// The file's bytes decoded to UTF-8. A UTF-16 file cut in the middle of a character loses only
/// that character: a dangling last byte is dropped and an unpaired surrogate becomes U+FFFD.
std::string decodeInfText(std::string_view bytes);

} // namespace tollen::builder
