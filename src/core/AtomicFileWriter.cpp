#include "core/AtomicFileWriter.h"

#include "core/PathText.h"
#include "core/SystemError.h"
#include "core/SystemFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>

namespace tollen {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDownloadBufferSize = 1024 * 1024;
/// As many links as the system itself follows before it gives up.
constexpr int kMaximumLinks = 40;

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
            return systemError("Cannot follow the link " + utf8FromPath(path));
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    errno = ELOOP;
    return systemError("Cannot follow the links of " + utf8FromPath(target));
}

constexpr std::string_view kTemporaryPrefix = ".tollen-";
constexpr std::string_view kTemporarySuffix = ".tmp";

bool isTemporaryName(const std::string &name)
{
    return name.size() > kTemporaryPrefix.size() + kTemporarySuffix.size() &&
           name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix);
}

/// Creates a new file with a short name of its own in the folder, whatever the length of the
/// target's name (names have at most 255 bytes).
std::FILE *createTemporary(const fs::path &folder, const fs::path &replaced, fs::perms permissions,
                           std::string_view tag, fs::path &temporary)
{
    // One per thread: threads that fetch at once make temporary files side by side.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char number[16];
        std::snprintf(number, sizeof number, "%012llx",
                      static_cast<unsigned long long>(generator() & 0xFFFFFFFFFFFFULL));
        const fs::path candidate = folder / (std::string(kTemporaryPrefix) + std::string(tag) +
                                             number + std::string(kTemporarySuffix));
        errno = 0;
        std::FILE *file = openNewFile(candidate, replaced, permissions);
        if (file != nullptr || errno != EEXIST) {
            temporary = candidate;
            return file;
        }
    }
    return nullptr;
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

AtomicFileWriter AtomicFileWriter::forOwnFile(std::filesystem::path target, std::string_view tag)
{
    AtomicFileWriter writer(std::move(target));
    writer.m_sync = false;
    writer.m_followLinks = false;
    writer.m_temporaryTag = tag;
    return writer;
}

AtomicFileWriter::~AtomicFileWriter()
{
    discard();
}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter &&other) noexcept
    : m_target(std::move(other.m_target)), m_newFilePermissions(other.m_newFilePermissions),
      m_resolved(std::move(other.m_resolved)), m_temporary(std::move(other.m_temporary)),
      m_followLinks(other.m_followLinks), m_temporaryTag(std::move(other.m_temporaryTag)),
      m_file(std::exchange(other.m_file, nullptr)), m_hold(std::move(other.m_hold)),
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
        m_followLinks = other.m_followLinks;
        m_temporaryTag = std::move(other.m_temporaryTag);
        m_file = std::exchange(other.m_file, nullptr);
        m_hold = std::move(other.m_hold);
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
    // A link that is replaced passes nothing on to the new file.
    fs::path replaced;
    if (m_followLinks) {
        if (Error error = followLinks(m_target, m_resolved)) {
            return error;
        }
        replaced = m_resolved;
    } else {
        m_resolved = m_target;
        std::error_code error;
        if (!fs::is_symlink(m_target, error)) {
            replaced = m_target;
        }
    }
    const fs::path folder = m_resolved.has_parent_path() ? m_resolved.parent_path() : ".";
    removeStaleTemporaries(folder);
    errno = 0;
    m_file = createTemporary(folder, replaced, m_newFilePermissions, m_temporaryTag, m_temporary);
    if (m_file == nullptr) {
        m_temporary.clear();
        return systemError("Cannot create a file in " + utf8FromPath(folder));
    }
    m_hold = FileHold(m_file);
    // Not initialised: only bytes written into it go out.
    m_buffer.reset(m_bufferSize > 0 ? new char[m_bufferSize] : nullptr);
    m_buffered = 0;
    return {};
}

Error AtomicFileWriter::write(std::string_view bytes)
{
    if (m_file == nullptr) {
        return Error{EBADF, "No file is open for " + utf8FromPath(m_target)};
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
        return systemError("Cannot write " + utf8FromPath(m_target));
    }
    return {};
}

Error AtomicFileWriter::commit()
{
    if (m_file == nullptr) {
        return Error{EBADF, "No file is open for " + utf8FromPath(m_target)};
    }
    if (Error error = flushBuffer()) {
        discard();
        return error;
    }
    errno = 0;
    const bool flushed = std::fflush(m_file) == 0 && (!m_sync || flushToDisk(m_file));
    const bool closed = std::fclose(std::exchange(m_file, nullptr)) == 0;
    if (!flushed || !closed) {
        const Error error = systemError("Cannot write " + utf8FromPath(m_target));
        discard();
        return error;
    }
    if (!replaceFile(m_temporary, m_resolved)) {
        const Error error = systemError("Cannot replace " + utf8FromPath(m_target));
        discard();
        return error;
    }
    m_temporary.clear();
    m_hold = {};
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
    m_hold = {};
}

void removeStaleTemporaries(const std::filesystem::path &folder)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (isTemporaryName(utf8FromPath(entry->path().filename())) &&
            entry->is_regular_file(error) && !entry->is_symlink(error)) {
            removeUnusedFile(entry->path());
        }
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
