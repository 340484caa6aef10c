#include "core/SystemFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tollen {
namespace {

/// True while `path` still names the file open at `descriptor`.
bool stillNamed(const std::filesystem::path &path, int descriptor)
{
    struct stat named = {};
    struct stat open = {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(descriptor, &open) == 0 &&
           named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

} // namespace

std::string systemErrorText(int code)
{
    return std::strerror(code);
}

const bool kInstalledProgramKeepsSettingsApart = true;

std::filesystem::path userConfigurationFolder()
{
    const char *configHome = std::getenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    if (configHome != nullptr && std::filesystem::path(configHome).is_absolute()) {
        return std::filesystem::path(configHome) / "tollen";
    }
    if (home != nullptr && std::filesystem::path(home).is_absolute()) {
        return std::filesystem::path(home) / ".config" / "tollen";
    }
    return {};
}

std::filesystem::path executablePath()
{
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable;
}

std::FILE *openNewFile(const std::filesystem::path &path, const std::filesystem::path &replaced,
                       std::filesystem::perms newFilePermissions)
{
    // A file that is replaced passes its owner and permissions on; a new one gets the mode asked
    // for, less the process's mask, which the system applies as it creates the file.
    struct stat existing = {};
    const bool replacing = ::stat(replaced.c_str(), &existing) == 0;
    const auto mode =
        static_cast<mode_t>(replacing ? 0600 : static_cast<unsigned>(newFilePermissions));
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) {
        return nullptr;
    }
    // Between the creation and the lock another start may have taken the file for one left
    // behind and removed it; the caller then makes one under a new name.
    if (::flock(descriptor, LOCK_EX) != 0 || !stillNamed(path, descriptor)) {
        ::close(descriptor);
        errno = EEXIST;
        return nullptr;
    }
    if (replacing) {
        // Only the superuser may give a file away; others keep it as their own.
        [[maybe_unused]] const int owned = ::fchown(descriptor, existing.st_uid, existing.st_gid);
        ::fchmod(descriptor, existing.st_mode & 07777);
    }
    std::FILE *file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(descriptor);
        ::unlink(path.c_str());
        errno = error;
    }
    return file;
}

FileHold::FileHold(std::FILE *file) : m_descriptor(::fcntl(::fileno(file), F_DUPFD_CLOEXEC, 0)) {}

FileHold::~FileHold()
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

FileHold::FileHold(FileHold &&other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1))
{
}

FileHold &FileHold::operator=(FileHold &&other) noexcept
{
    if (this != &other) {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
        m_descriptor = std::exchange(other.m_descriptor, -1);
    }
    return *this;
}

void removeUnusedFile(const std::filesystem::path &path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    // A writer at work holds the lock; one that ended while writing holds nothing.
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && stillNamed(path, descriptor)) {
        ::unlink(path.c_str());
    }
    ::close(descriptor);
}

bool isOwnFolder(const std::filesystem::path &path)
{
    struct stat folder = {};
    return ::lstat(path.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) &&
           folder.st_uid == ::geteuid();
}

bool flushToDisk(std::FILE *file)
{
    return ::fsync(::fileno(file)) == 0;
}

bool replaceFile(const std::filesystem::path &from, const std::filesystem::path &to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool makePrivateFolder(const std::filesystem::path &path)
{
    return ::mkdir(path.c_str(), 0700) == 0;
}

bool canWriteIn(const std::filesystem::path &folder)
{
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool canReadFile(const std::filesystem::path &file)
{
    return ::access(file.c_str(), R_OK) == 0;
}

bool canReplaceFile(const std::filesystem::path &file)
{
    return ::access(file.c_str(), W_OK) == 0;
}

} // namespace tollen
