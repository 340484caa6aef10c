#include "core/SystemFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tollen {

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

} // namespace tollen
