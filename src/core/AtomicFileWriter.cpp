#include "core/AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tollen {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDownloadBufferSize = 1024 * 1024;
/// As many links as the system itself follows before it gives up.
constexpr int kMaximumLinks = 40;

Error systemError(const std::string &what, const fs::path &path)
{
    const int code = errno != 0 ? errno : EIO;
    return Error{code, what + " " + path.string() + ": " + std::strerror(code)};
}

/// The file the target names once every symbolic link on the way to it is followed; a link to a
/// file not yet made gives the path of that file.
Error followLinks(const fs::path &target, fs::path &resolved)
{
    fs::path path = target;
    for (int link = 0; link <= kMaximumLinks; ++link) {
        std::error_code error;
        if (!fs::is_symlink(path, error)) {
            resolved = path;
            return {};
        }
        const fs::path next = fs::read_symlink(path, error);
        if (error) {
            errno = error.value();
            return systemError("Cannot follow the link", path);
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    errno = ELOOP;
    return systemError("Cannot follow the links of", target);
}

constexpr std::string_view kTemporaryPrefix = ".tollen-";
constexpr std::string_view kTemporarySuffix = ".tmp";

bool isTemporaryName(const std::string &name)
{
    return name.size() > kTemporaryPrefix.size() + kTemporarySuffix.size() &&
           name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix);
}

/// True while `path` still names the file open at `descriptor`.
bool stillNamed(const fs::path &path, int descriptor)
{
    struct stat named = {};
    struct stat open = {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(descriptor, &open) == 0 &&
           named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

/// Creates a new file with a short name of its own in the folder, whatever the length of the
/// target's name (names have at most 255 bytes), and locks it. The mode is applied less the
/// process's mask.
int createTemporary(const fs::path &folder, mode_t mode, fs::path &temporary)
{
    static std::mt19937_64 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".tollen-%012llx.tmp",
                      static_cast<unsigned long long>(generator() & 0xFFFFFFFFFFFFULL));
        const fs::path candidate = folder / name;
        const int descriptor =
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor < 0 && errno != EEXIST) {
            temporary = candidate;
            return descriptor;
        }
        if (descriptor < 0) {
            continue;
        }
        // Between the creation and the lock another start may have taken the file for one left
        // behind and removed it; then it is made again under a new name.
        if (::flock(descriptor, LOCK_EX) == 0 && stillNamed(candidate, descriptor)) {
            temporary = candidate;
            return descriptor;
        }
        ::close(descriptor);
    }
    return -1;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target,
                                   std::filesystem::perms newFilePermissions)
    : m_target(std::move(target)), m_newFilePermissions(newFilePermissions)
{
}

AtomicFileWriter AtomicFileWriter::forDownload(std::filesystem::path target)
{
    AtomicFileWriter writer(std::move(target));
    writer.m_sync = false;
    writer.m_bufferSize = kDownloadBufferSize;
    return writer;
}

AtomicFileWriter::~AtomicFileWriter()
{
    discard();
}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter &&other) noexcept
    : m_target(std::move(other.m_target)), m_newFilePermissions(other.m_newFilePermissions),
      m_resolved(std::move(other.m_resolved)), m_temporary(std::move(other.m_temporary)),
      m_file(std::exchange(other.m_file, nullptr)), m_lock(std::exchange(other.m_lock, -1)),
      m_sync(other.m_sync), m_bufferSize(other.m_bufferSize), m_buffer(std::move(other.m_buffer)),
      m_buffered(std::exchange(other.m_buffered, 0))
{
}

AtomicFileWriter &AtomicFileWriter::operator=(AtomicFileWriter &&other) noexcept
{
    if (this != &other) {
        discard();
        m_target = std::move(other.m_target);
        m_newFilePermissions = other.m_newFilePermissions;
        m_resolved = std::move(other.m_resolved);
        m_temporary = std::move(other.m_temporary);
        m_file = std::exchange(other.m_file, nullptr);
        m_lock = std::exchange(other.m_lock, -1);
        m_sync = other.m_sync;
        m_bufferSize = other.m_bufferSize;
        m_buffer = std::move(other.m_buffer);
        m_buffered = std::exchange(other.m_buffered, 0);
    }
    return *this;
}

Error AtomicFileWriter::open()
{
    discard();
    if (Error error = followLinks(m_target, m_resolved)) {
        return error;
    }
    const fs::path folder = m_resolved.has_parent_path() ? m_resolved.parent_path() : ".";
    removeStaleTemporaries(folder);
    // A file that is replaced passes its owner and permissions on; a new one gets the mode asked
    // for, less the process's mask, which the system applies as it creates the file.
    struct stat existing = {};
    const bool replacing = ::stat(m_resolved.c_str(), &existing) == 0;
    const auto mode =
        static_cast<mode_t>(replacing ? 0600 : static_cast<unsigned>(m_newFilePermissions));
    errno = 0;
    const int descriptor = createTemporary(folder, mode, m_temporary);
    if (descriptor < 0) {
        m_temporary.clear();
        return systemError("Cannot create a file in", folder);
    }
    if (replacing) {
        // Only the superuser may give a file away; others keep it as their own.
        [[maybe_unused]] const int owned = ::fchown(descriptor, existing.st_uid, existing.st_gid);
        ::fchmod(descriptor, existing.st_mode & 07777);
    }
    m_lock = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    m_file = ::fdopen(descriptor, "wb");
    if (m_file == nullptr) {
        const Error error = systemError("Cannot write", m_temporary);
        ::close(descriptor);
        discard();
        return error;
    }
    // Not initialised: only bytes written into it go out.
    m_buffer.reset(m_bufferSize > 0 ? new char[m_bufferSize] : nullptr);
    m_buffered = 0;
    return {};
}

Error AtomicFileWriter::write(std::string_view bytes)
{
    if (m_file == nullptr) {
        return Error{EBADF, "No file is open for " + m_target.string()};
    }
    if (bytes.empty()) {
        return {};
    }
    // Small pieces are gathered in the buffer and reach the file in large blocks; this costs a
    // copy per piece, far less than a call into the C library's locked stream per piece.
    if (bytes.size() > m_bufferSize - m_buffered) {
        if (Error error = flushBuffer()) {
            return error;
        }
        if (bytes.size() >= m_bufferSize) {
            return writeThrough(bytes);
        }
    }
    std::memcpy(m_buffer.get() + m_buffered, bytes.data(), bytes.size());
    m_buffered += bytes.size();
    return {};
}

Error AtomicFileWriter::flushBuffer()
{
    const std::size_t buffered = std::exchange(m_buffered, 0);
    return buffered == 0 ? Error{} : writeThrough(std::string_view(m_buffer.get(), buffered));
}

Error AtomicFileWriter::writeThrough(std::string_view bytes)
{
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        return systemError("Cannot write", m_target);
    }
    return {};
}

Error AtomicFileWriter::commit()
{
    if (m_file == nullptr) {
        return Error{EBADF, "No file is open for " + m_target.string()};
    }
    if (Error error = flushBuffer()) {
        discard();
        return error;
    }
    errno = 0;
    const bool flushed = std::fflush(m_file) == 0 && (!m_sync || ::fsync(::fileno(m_file)) == 0);
    const bool closed = std::fclose(std::exchange(m_file, nullptr)) == 0;
    if (!flushed || !closed) {
        const Error error = systemError("Cannot write", m_target);
        discard();
        return error;
    }
    if (std::rename(m_temporary.c_str(), m_resolved.c_str()) != 0) {
        const Error error = systemError("Cannot replace", m_target);
        discard();
        return error;
    }
    m_temporary.clear();
    ::close(std::exchange(m_lock, -1));
    return {};
}

void AtomicFileWriter::discard()
{
    m_buffered = 0;
    if (m_file != nullptr) {
        std::fclose(std::exchange(m_file, nullptr));
    }
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
        m_temporary.clear();
    }
    if (m_lock >= 0) {
        ::close(std::exchange(m_lock, -1));
    }
}

void removeStaleTemporaries(const std::filesystem::path &folder)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!isTemporaryName(entry->path().filename().string()) || !entry->is_regular_file(error) ||
            entry->is_symlink(error)) {
            continue;
        }
        const int descriptor =
            ::open(entry->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) {
            continue;
        }
        // A writer at work holds the lock; one that ended while writing holds nothing.
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && stillNamed(entry->path(), descriptor)) {
            ::unlink(entry->path().c_str());
        }
        ::close(descriptor);
    }
}

Error writeFileAtomically(const std::filesystem::path &target, std::string_view bytes,
                          std::filesystem::perms newFilePermissions)
{
    AtomicFileWriter writer(target, newFilePermissions);
    if (Error error = writer.open()) {
        return error;
    }
    if (Error error = writer.write(bytes)) {
        return error;
    }
    return writer.commit();
}

} // namespace tollen
