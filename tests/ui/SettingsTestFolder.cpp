#include "SettingsTestFolder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tollen::ui::test {
namespace {

namespace fs = std::filesystem;

bool setImmutable(const fs::path &folder, bool immutable)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(descriptor);
    return done;
}

} // namespace

UnwritableFolder::UnwritableFolder(fs::path folder) : m_folder(std::move(folder))
{
    fs::permissions(m_folder, fs::perms(0555));
    if (::access(m_folder.c_str(), W_OK) == 0) {
        m_immutable = setImmutable(m_folder, true);
    }
}

UnwritableFolder::~UnwritableFolder()
{
    if (m_immutable) {
        setImmutable(m_folder, false);
    }
    fs::permissions(m_folder, fs::perms(0700));
}

bool UnwritableFolder::isUnwritable() const
{
    return ::access(m_folder.c_str(), W_OK) != 0;
}

unsigned modeOf(const fs::path &path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0U;
}

} // namespace tollen::ui::test
