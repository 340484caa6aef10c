#include "core/Environment.h"
#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

namespace tollen {
namespace {

/// errno for the Windows error codes file calls end with; EIO for the rest.
int errnoFromWindowsError(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
        return EINVAL;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    default:
        return EIO;
    }
}

bool failWithLastError()
{
    errno = errnoFromWindowsError(GetLastError());
    return false;
}

} // namespace

std::string systemErrorText(int code)
{
    return std::strerror(code);
}

const bool kInstalledProgramKeepsSettingsApart = false;

std::filesystem::path userConfigurationFolder()
{
    const auto appData = environmentVariable("APPDATA");
    if (!appData) {
        return {};
    }
    const std::filesystem::path folder = pathFromUtf8(*appData);
    return folder.is_absolute() ? folder / "Tollen" : std::filesystem::path();
}

std::filesystem::path executablePath()
{
    std::wstring name(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name);
        }
        name.resize(name.size() * 2);
    }
}

std::FILE *openNewFile(const std::filesystem::path &path, const std::filesystem::path &,
                       std::filesystem::perms)
{
    int descriptor = -1;
    const errno_t failed = _wsopen_s(&descriptor, path.c_str(),
                                     _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                     _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (failed != 0) {
        errno = failed;
        return nullptr;
    }
    std::FILE *file = _wfdopen(descriptor, L"wb");
    if (file == nullptr) {
        const int error = errno;
        _close(descriptor);
        DeleteFileW(path.c_str());
        errno = error;
    }
    return file;
}

// The temporary file is opened without FILE_SHARE_DELETE, so no other process can remove it
// while its stream is open; nothing more is held.
FileHold::FileHold(std::FILE *) {}
FileHold::~FileHold() = default;
FileHold::FileHold(FileHold &&) noexcept = default;
FileHold &FileHold::operator=(FileHold &&) noexcept = default;

void removeUnusedFile(const std::filesystem::path &path)
{
    // Fails with a sharing violation while a writer has the file open.
    DeleteFileW(path.c_str());
}

bool isOwnFolder(const std::filesystem::path &path)
{
    // The temporary folder is under the user's own profile, and so is what is in it.
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() ==
           std::filesystem::file_type::directory;
}

bool flushToDisk(std::FILE *file)
{
    return _commit(_fileno(file)) == 0;
}

bool replaceFile(const std::filesystem::path &from, const std::filesystem::path &to)
{
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           failWithLastError();
}

bool makePrivateFolder(const std::filesystem::path &path)
{
    // Folders under the user's profile are the user's alone already.
    return CreateDirectoryW(path.c_str(), nullptr) != 0 || failWithLastError();
}

bool canWriteIn(const std::filesystem::path &folder)
{
    // Access rights on Windows are lists that only an attempt reads right: make a file and let
    // the system remove it again.
    if (folder.empty()) {
        errno = ENOENT;
        return false;
    }
    static std::mt19937_64 generator{std::random_device{}()};
    const std::filesystem::path probe =
        folder / (L".tollen-probe-" + std::to_wstring(generator() & 0xFFFFFFFFULL));
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failWithLastError();
    }
    CloseHandle(file);
    return true;
}

bool canReadFile(const std::filesystem::path &file)
{
    // Only an attempt reads the access list right. Callers have made sure the name is a file,
    // so no device or pipe is opened here.
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return failWithLastError();
    }
    CloseHandle(handle);
    return true;
}

bool canReplaceFile(const std::filesystem::path &file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return failWithLastError();
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

} // namespace tollen
