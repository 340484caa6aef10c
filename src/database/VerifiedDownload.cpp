#include "database/VerifiedDownload.h"

#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <cerrno>
#include <fstream>
#include <system_error>
#include <utility>

namespace tollen::database {
namespace {

namespace fs = std::filesystem;

Error cannotWrite(const fs::path &file)
{
    const int code = errno != 0 ? errno : EIO;
    return {code, "Cannot write " + utf8FromPath(file) + ": " + systemErrorText(code)};
}

/// The partial file being written, with the digest and size of every byte in it so far.
class PartFile
{
public:
    explicit PartFile(fs::path path) : m_path(std::move(path)) {}

    const fs::path &path() const { return m_path; }
    std::uint64_t size() const { return m_size; }

    /// Takes the bytes an earlier run left as the start of the file: read once for the digest,
    /// then written on after them.
    Error adopt()
    {
        if (Error error = hashFile(m_path, m_hash, m_size)) {
            return error;
        }
        return open(std::ios::app);
    }

    /// Starts the file afresh, empty. Whatever had the name goes first, so that a link there is
    /// never written through.
    Error restart()
    {
        m_buffer.clear();
        m_stream.close();
        std::error_code ignored;
        fs::remove(m_path, ignored);
        // Finishing drops what the digest held.
        m_hash.finishHex();
        m_size = 0;
        return open(std::ios::trunc);
    }

    Error append(std::string_view bytes)
    {
        m_hash.update(bytes);
        m_size += bytes.size();
        if (m_buffer.empty() && bytes.size() >= kDirectWriteSize) {
            // Large enough to write as it is: no copy through the buffer.
            return write(bytes);
        }
        m_buffer += bytes;
        return m_buffer.size() >= kBufferSize ? flush() : Error{};
    }

    Error close()
    {
        if (!m_stream.is_open()) {
            return {};
        }
        if (Error error = flush()) {
            return error;
        }
        errno = 0;
        m_stream.close();
        return m_stream.fail() ? cannotWrite(m_path) : Error{};
    }

    FileDigest finish() { return {m_hash.finishHex(), m_size}; }

    void remove()
    {
        m_buffer.clear();
        m_stream.close();
        std::error_code ignored;
        fs::remove(m_path, ignored);
    }

private:
    /// Transfers hand over a kilobyte or so at a time, and the stream writes pieces that large
    /// straight through: the bytes are gathered here and written a megabyte at a time.
    static constexpr std::size_t kBufferSize = 1 << 20;
    /// Pieces of at least this size (a streamed file's) are written as they come.
    static constexpr std::size_t kDirectWriteSize = 64 * 1024;

    Error flush()
    {
        const Error written = write(m_buffer);
        m_buffer.clear();
        return written;
    }

    Error write(std::string_view bytes)
    {
        errno = 0;
        const bool written = static_cast<bool>(
            m_stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
        return written ? Error{} : cannotWrite(m_path);
    }

    Error open(std::ios::openmode mode)
    {
        errno = 0;
        m_stream.open(m_path, std::ios::binary | std::ios::out | mode);
        return m_stream ? Error{} : cannotWrite(m_path);
    }

    fs::path m_path;
    std::ofstream m_stream;
    std::string m_buffer;
    Sha256 m_hash;
    std::uint64_t m_size = 0;
};

std::string bytesText(std::uint64_t count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

fs::path partialPath(const fs::path &target)
{
    fs::path part = target;
    part += ".part";
    return part;
}

VerifiedDownload downloadVerified(RemoteFiles &files, const std::string &remotePath,
                                  const fs::path &target, const std::optional<FileDigest> &expected,
                                  bool resume, const DownloadProgress &progress)
{
    using Kind = VerifiedDownload::Kind;
    VerifiedDownload result;
    PartFile part(partialPath(target));
    const auto giveUp = [&](Kind kind, std::string reason) {
        result.kind = kind;
        result.reason = std::move(reason);
        // A mismatch keeps nothing; a failed transfer keeps its part for a run that continues.
        if (kind == Kind::Mismatch || !resume) {
            part.remove();
        }
        return result;
    };

    std::error_code ignored;
    const bool earlier = resume && fs::is_regular_file(fs::symlink_status(part.path(), ignored));
    Error opened = earlier ? part.adopt() : part.restart();
    // A part longer than the file the database names is of another file.
    if (!opened && expected && part.size() > expected->size) {
        opened = part.restart();
    }
    if (opened) {
        return giveUp(Kind::NotWritable, opened.message);
    }
    result.resumedFrom = part.size();

    // A part that already holds as many bytes as the file needs no transfer: its digest decides.
    if (!expected || part.size() < expected->size) {
        Error refusal;
        Kind refusedAs = Kind::Failed;
        const RemoteFiles::FileBytes receive = [&](std::uint64_t position, std::uint64_t total,
                                                   std::string_view bytes) -> Error {
            if (position != part.size()) {
                if (position != 0) {
                    refusal = {EIO, "the server sent the file from byte " +
                                        std::to_string(position) + ", not from byte " +
                                        std::to_string(part.size())};
                    return refusal;
                }
                // The server could not continue and sends the whole file again.
                if ((refusal = part.restart())) {
                    refusedAs = Kind::NotWritable;
                    return refusal;
                }
                result.resumedFrom = 0;
            }
            if (expected && part.size() + bytes.size() > expected->size) {
                refusedAs = Kind::Mismatch;
                refusal = {EIO, "expected " + expected->sha256 + " (" + bytesText(expected->size) +
                                    "), got more than " + bytesText(expected->size)};
                return refusal;
            }
            if ((refusal = part.append(bytes))) {
                refusedAs = Kind::NotWritable;
                return refusal;
            }
            if (progress) {
                progress(part.size(), total > 0 ? total : expected ? expected->size : 0);
            }
            return {};
        };
        if (!files.streamFile(remotePath, part.size(), receive)) {
            part.close();
            result.digest.size = part.size();
            if (refusal) {
                return giveUp(refusedAs, refusal.message);
            }
            result.failure = files.lastFailure().kind;
            return giveUp(Kind::Failed, files.lastFailure().reason);
        }
    }
    if (Error closed = part.close()) {
        return giveUp(Kind::NotWritable, closed.message);
    }
    result.digest = part.finish();
    if (expected && result.digest != *expected) {
        return giveUp(Kind::Mismatch, "expected " + expected->sha256 + " (" +
                                          bytesText(expected->size) + "), got " +
                                          result.digest.sha256 + " (" +
                                          bytesText(result.digest.size) + ")");
    }
    // Only a whole file that matches takes the target's name.
    errno = 0;
    if (!replaceFile(part.path(), target)) {
        return giveUp(Kind::NotWritable, cannotWrite(target).message);
    }
    result.kind = Kind::Done;
    return result;
}

} // namespace tollen::database
