#pragma once
// Where a "file:" URL leads on this system. The URL's host and its percent-decoded path are
// taken apart by FileResponse; this says which local (or, on Windows, network) file they name.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::transfer {

/// The file named by `host` (empty or "localhost" for this machine) and the decoded UTF-8
/// `path`; nothing when this system cannot reach it. On Linux only this machine's files are
/// reached. On Windows "/C:/dir" is the drive's folder, a host names a network share
/// ("file://server/share/dir" is \\server\share\dir), and long paths take the system's long
/// form.
std::optional<std::filesystem::path> fileUrlPath(std::string_view host, const std::string &path);

} // namespace tollen::transfer
