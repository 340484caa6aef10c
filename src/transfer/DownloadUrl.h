#pragma once
// The URLs a result row of the driver database leads to: the download link of its Remote Path
// and the URL of the folder that holds it, made from the network settings. A Remote Path is a
// path of the database on the server, as the index file gives it; it goes into the URL encoded
// as the transfers send it (encodeUrlPath), so the link names the very file a download fetches.
// The host and base path boxes already hold URL text ("/g/driver%20archive") and go in as
// written.

#include "transfer/NetworkSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace tollen::transfer {

/// The link a click puts on the clipboard: the chosen protocol's server followed by the encoded
/// Remote Path. nullopt unless the Remote Path starts with "/" and stays below the base (see
/// staysBelowBase): without the "/", "@other.host/..." would name another host after the host
/// box's; a ".." segment would climb above the database.
std::optional<std::string> downloadLink(const NetworkSettings &settings,
                                        std::string_view remotePath);

/// The URL of the folder that holds a plain (not archived) result, slashes cleaned up; nullopt
/// for the Remote Paths downloadLink refuses.
std::optional<std::string> folderUrl(const NetworkSettings &settings, std::string_view remotePath);

/// Every run of slashes becomes one, except right after the scheme: "scheme://" keeps two
/// slashes, and a "file:" URL keeps its slashes as written ("file:///srv" names the folder /srv
/// on this machine, which two slashes would turn into a host "srv").
std::string cleanUpSlashes(std::string_view url);

} // namespace tollen::transfer
