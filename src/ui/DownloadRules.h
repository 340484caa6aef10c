#pragma once
// The text rules of the driver download flow: the download link of a result row, the URL of its
// folder on the server, where an archive ends inside a Remote Path, and the file name and
// extension taken from it. Pure functions of their arguments, so every rule can be checked with
// a table.
//
// A Remote Path is a path of the database on the server, as the index file gives it. In a URL
// it is percent-encoded where a URL cannot hold its characters as they stand (spaces, "#", "?",
// "%", quotes, control and non-ASCII characters ...), so the URL names exactly that path. The
// host and base path boxes already hold URL text ("/g/driver%20archive") and go in as written.

#include "database/ArchivePath.h"

#include <optional>
#include <string>
#include <string_view>

namespace tollen::ui {

/// The network settings as the download flow reads them at the moment of an event.
struct ServerSettings
{
    bool ftpChosen = false;
    std::string host;
    std::string path;
    std::string user;
    std::string pass;
};

// The split of a Remote Path at its archive, which the builder applies too.
using database::archivePath;
using database::HasArchiveExtension;

/// The text after the last "/", the whole text when it holds none.
std::string archiveName(std::string_view archivePath);

/// The text after the last "." of a file name, the whole name when it holds none.
std::string nameExtension(std::string_view name);

/// The save dialog's one-entry filter naming the extension three times.
std::string saveFilter(const std::string &extension);

/// False for a name that cannot be a file of its own in a folder: empty, ".", ".." (also with
/// spaces around them) or holding a NUL character.
bool isUsableFileName(std::string_view name);

/// A path with every byte a URL path cannot hold as it stands written as "%XX"; "/" and the
/// characters a path may hold stay.
std::string encodeUrlPath(std::string_view path);

/// The link a click puts on the clipboard. nullopt unless the Remote Path starts with "/" and
/// stays below the base (see staysBelowBase): without the "/", "@other.host/..." would name
/// another host after the host box's; a ".." segment would climb above the database.
std::optional<std::string> downloadLink(const ServerSettings &settings,
                                        std::string_view remotePath);

/// The URL of the folder that holds a plain (not archived) result, slashes cleaned up; nullopt
/// for the Remote Paths downloadLink refuses.
std::optional<std::string> folderUrl(const ServerSettings &settings, std::string_view remotePath);

/// Every run of slashes becomes one, except right after the scheme: "scheme://" keeps two
/// slashes, and a "file:" URL keeps its slashes as written ("file:///srv" names the folder /srv
/// on this machine, which two slashes would turn into a host "srv").
std::string cleanUpSlashes(std::string_view url);

} // namespace tollen::ui
