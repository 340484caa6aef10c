#pragma once
// The few file system calls that differ between Linux and Windows, behind one face. Failures
// set errno as the C library does, so callers describe them alike on both systems.

#include <cstdio>
#include <filesystem>
#include <string>

namespace tollen {

/// The text of an errno code.
std::string systemErrorText(int code);

/// The folder of the user's own settings for the program: $XDG_CONFIG_HOME/tollen
/// (~/.config/tollen when the variable is unset or not an absolute path) on Linux,
/// %APPDATA%\Tollen on Windows; empty when the environment names none.
std::filesystem::path userConfigurationFolder();

/// Whether an installed program keeps its settings in the user's configuration folder even
/// where its own folder can be written. On Linux it does, since root can write beside the
/// system's programs; on Windows settings stay beside a program whose folder can be written, as
/// programs unpacked from an archive keep them.
extern const bool kInstalledProgramKeepsSettingsApart;

/// The running program's file; empty when the system does not say.
std::filesystem::path executablePath();

/// Opens a new file `path` for writing in binary, marked in use by this process (see
/// removeUnusedFile); fails with EEXIST when the name is taken. On Linux it gets the owner and
/// permissions of `replaced` when that file exists, and otherwise `newFilePermissions` less the
/// process's mask; Windows files take their folder's access.
std::FILE *openNewFile(const std::filesystem::path &path, const std::filesystem::path &replaced,
                       std::filesystem::perms newFilePermissions);

/// Keeps the mark of a file opened by openNewFile after its stream is closed, until the hold is
/// destroyed. On Linux it is a second descriptor of the locked file; on Windows nothing, since
/// only the open file itself keeps other processes from removing it.
class FileHold
{
public:
    FileHold() = default;
    explicit FileHold(std::FILE *file);
    ~FileHold();
    FileHold(FileHold &&other) noexcept;
    FileHold &operator=(FileHold &&other) noexcept;
    FileHold(const FileHold &) = delete;
    FileHold &operator=(const FileHold &) = delete;

private:
    int m_descriptor = -1;
};

/// Removes the file `path` unless a living process holds it marked in use: a file that a killed
/// process left half written goes, a file being written stays.
void removeUnusedFile(const std::filesystem::path &path);

/// True when `path` is a folder (not a link to one) that belongs to the user running the program.
bool isOwnFolder(const std::filesystem::path &path);

/// Waits until the file's data has reached the disk.
bool flushToDisk(std::FILE *file);

/// Renames `from` over `to` in one step: `to` is the old file or the new one, never neither.
bool replaceFile(const std::filesystem::path &from, const std::filesystem::path &to);

/// Makes the folder `path`, readable by the user alone where the system has such a mode.
bool makePrivateFolder(const std::filesystem::path &path);

/// True when the process may make files in `folder`; errno says why not.
bool canWriteIn(const std::filesystem::path &folder);

/// True when the process may read the existing file `file`; errno says why not. A device or a
/// pipe is never opened to find out.
bool canReadFile(const std::filesystem::path &file);

/// True when the process may write over the existing file `file` (it is not read-only).
bool canReplaceFile(const std::filesystem::path &file);

} // namespace tollen
