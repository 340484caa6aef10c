#include "core/AtomicFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tollen {
namespace {

constexpr std::size_t kDownloadBufferSize = 1024 * 1024;

Error systemError(const std::string &what, const std::filesystem::path &path)
{
    return Error{errno != 0 ? errno : EIO,
                 what + " " + path.string() + ": " + std::strerror(errno)};
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : m_target(std::move(target)) {}

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
    : m_target(std::move(other.m_target)), m_temporary(std::move(other.m_temporary)),
      m_file(std::exchange(other.m_file, nullptr)), m_sync(other.m_sync),
      m_bufferSize(other.m_bufferSize), m_buffer(std::move(other.m_buffer)),
      m_buffered(std::exchange(other.m_buffered, 0))
{
}

AtomicFileWriter &AtomicFileWriter::operator=(AtomicFileWriter &&other) noexcept
{
    if (this != &other) {
        discard();
        m_target = std::move(other.m_target);
        m_temporary = std::move(other.m_temporary);
        m_file = std::exchange(other.m_file, nullptr);
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
    const auto directory = m_target.has_parent_path() ? m_target.parent_path() : ".";
    std::string pattern = (directory / ("." + m_target.filename().string() + ".XXXXXX")).string();
    errno = 0;
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) {
        return systemError("Cannot create a file in", directory);
    }
    m_temporary = pattern;
    m_file = ::fdopen(descriptor, "wb");
    if (m_file == nullptr) {
        const Error error = systemError("Cannot write", m_temporary);
        ::close(descriptor);
        std::filesystem::remove(m_temporary);
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
    // mkstemp creates the file readable by its owner only; give it the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    std::error_code ignored;
    std::filesystem::permissions(m_temporary, static_cast<std::filesystem::perms>(0666 & ~mask),
                                 ignored);
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const Error error = systemError("Cannot replace", m_target);
        discard();
        return error;
    }
    m_temporary.clear();
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
}

Error writeFileAtomically(const std::filesystem::path &target, std::string_view bytes)
{
    AtomicFileWriter writer(target);
    if (Error error = writer.open()) {
        return error;
    }
    if (Error error = writer.write(bytes)) {
        return error;
    }
    return writer.commit();
}

} // namespace tollen
