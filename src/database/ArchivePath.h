#pragma once
// Where an archive ends inside a Remote Path. The download flow fetches the part of a row's
// Remote Path up to the first place where the text so far ends in an archive suffix, and the
// builder refuses packages whose path that rule would cut anywhere but at the archive itself,
// so both take the rule from here.

#include <string>
#include <string_view>

namespace tollen::database {

/// True when the last three characters, lower-cased, are "exe", "rar", ".7z" or "zip".
bool HasArchiveExtension(std::string_view text);

/// The Remote Path up to and including the first place where the text so far ends in an archive
/// suffix; the whole Remote Path when it has none.
std::string archivePath(std::string_view remotePath);

} // namespace tollen::database
