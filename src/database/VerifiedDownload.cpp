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
using Kind = VerifiedDownload::Kind;

Error cannotWrite(const fs::path &file)
{
    const int code = errno != 0 ? errno : EIO;
    return {code, "Cannot write " + utf8FromPath(file) + ": " + systemErrorText(code)};
}

std::string bytesText(std::uint64_t count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

/// Where a verified download puts the file's bytes, with the digest and size of all of them so
/// far.
class DownloadSink
{
public:
    virtual ~DownloadSink() = default;

    std::uint64_t size() const { return m_size; }

    Error append(std::string_view bytes)
    {
        m_hash.update(bytes);
        m_size += bytes.size();
        return keep(bytes);
    }

    /// Drops every byte taken: the file starts afresh.
    Error restart()
    {
        // Finishing drops what the digest held.
        m_hash.finishHex();
        m_size = 0;
        return startAfresh();
    }

    FileDigest finish() { return {m_hash.finishHex(), m_size}; }

protected:
    virtual Error keep(std::string_view bytes) = 0;
    virtual Error startAfresh() = 0;

    Sha256 m_hash;
    std::uint64_t m_size = 0;
};

/// The partial file being written.
class PartFile : public DownloadSink
{
public:
    explicit PartFile(fs::path path) : m_path(std::move(path)) {}

    const fs::path &path() const { return m_path; }

    /// Takes the bytes an earlier run left as the start of the file: read once for the digest,
    /// then written on after them.
    Error adopt()
    {
        if (Error error = hashFile(m_path, m_hash, m_size)) {
            return error;
        }
        return open(std::ios::app);
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

    Error keep(std::string_view bytes) override
    {
        if (m_buffer.empty() && bytes.size() >= kDirectWriteSize) {
            return write(bytes);
        }
        m_buffer += bytes;
        return m_buffer.size() >= kBufferSize ? flush() : Error{};
    }

    /// Whatever had the name goes first, so that a link there is never written through.
    Error startAfresh() override
    {
        remove();
        return open(std::ios::trunc);
    }

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
};

/// The file's bytes in memory.
class MemorySink : public DownloadSink
{
public:
    std::string &bytes() { return m_bytes; }

private:
    Error keep(std::string_view bytes) override
    {
        m_bytes += bytes;
        return {};
    }

    Error startAfresh() override
    {
        m_bytes.clear();
        return {};
    }

    std::string m_bytes;
};

/// Streams the file from the byte `sink` holds on into it. False when the transfer or the sink
/// failed; `result` then says how.
bool receiveInto(RemoteFiles &files, const std::string &remotePath, DownloadSink &sink,
                 const std::optional<FileDigest> &expected, const DownloadProgress &progress,
                 VerifiedDownload &result)
{
    Error refusal;
    Kind refusedAs = Kind::Failed;
    const RemoteFiles::FileBytes receive = [&](std::uint64_t position, std::uint64_t total,
                                               std::string_view bytes) -> Error {
        if (position != sink.size()) {
            if (position != 0) {
                refusal = {EIO, "the server sent the file from byte " + std::to_string(position) +
                                    ", not from byte " + std::to_string(sink.size())};
                return refusal;
            }
            // The server could not continue and sends the whole file again.
            if ((refusal = sink.restart())) {
                refusedAs = Kind::NotWritable;
                return refusal;
            }
            result.resumedFrom = 0;
        }
        if (expected && sink.size() + bytes.size() > expected->size) {
            refusedAs = Kind::Mismatch;
            refusal = {EIO, "expected " + expected->sha256 + " (" + bytesText(expected->size) +
                                "), got more than " + bytesText(expected->size)};
            return refusal;
        }
        if ((refusal = sink.append(bytes))) {
            refusedAs = Kind::NotWritable;
            return refusal;
        }
        if (progress) {
            progress(sink.size(), total > 0 ? total : expected ? expected->size : 0);
        }
        return {};
    };
    if (files.streamFile(remotePath, sink.size(), receive)) {
        return true;
    }
    result.digest.size = sink.size();
    if (refusal) {
        result.kind = refusedAs;
        result.reason = refusal.message;
    } else {
        result.kind = Kind::Failed;
        result.failure = files.lastFailure().kind;
        result.reason = files.lastFailure().reason;
    }
    return false;
}

/// Takes the sink's digest as the result's; false, with the mismatch told, when it is not the
/// expected one.
bool matches(DownloadSink &sink, const std::optional<FileDigest> &expected,
             VerifiedDownload &result)
{
    result.digest = sink.finish();
    if (!expected || result.digest == *expected) {
        return true;
    }
    result.kind = Kind::Mismatch;
    result.reason = "expected " + expected->sha256 + " (" + bytesText(expected->size) + "), got " +
                    result.digest.sha256 + " (" + bytesText(result.digest.size) + ")";
    return false;
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
    VerifiedDownload result;
    PartFile part(partialPath(target));
    const auto giveUp = [&] {
        // A mismatch keeps nothing; a failed transfer keeps its part for a run that continues.
        if (result.kind == Kind::Mismatch || !resume) {
            part.remove();
        }
        return result;
    };
    const auto notWritable = [&](const Error &error) {
        result.kind = Kind::NotWritable;
        result.reason = error.message;
        return giveUp();
    };

    std::error_code ignored;
    const bool earlier = resume && fs::is_regular_file(fs::symlink_status(part.path(), ignored));
    Error opened = earlier ? part.adopt() : part.restart();
    // A part longer than the file the database names is of another file.
    if (!opened && expected && part.size() > expected->size) {
        opened = part.restart();
    }
    if (opened) {
        return notWritable(opened);
    }
    result.resumedFrom = part.size();

    // A part that already holds as many bytes as the file needs no transfer: its digest decides.
    if ((!expected || part.size() < expected->size) &&
        !receiveInto(files, remotePath, part, expected, progress, result)) {
        part.close();
        return giveUp();
    }
    if (Error closed = part.close()) {
        return notWritable(closed);
    }
    if (!matches(part, expected, result)) {
        return giveUp();
    }
    // Only a whole file that matches takes the target's name.
    errno = 0;
    if (!replaceFile(part.path(), target)) {
        return notWritable(cannotWrite(target));
    }
    result.kind = Kind::Done;
    return result;
}

VerifiedBytes downloadVerifiedBytes(RemoteFiles &files, const std::string &remotePath,
                                    const FileDigest &expected, const DownloadProgress &progress)
{
    VerifiedBytes download;
    MemorySink sink;
    sink.bytes().reserve(expected.size);
    if (receiveInto(files, remotePath, sink, expected, progress, download.result) &&
        matches(sink, expected, download.result)) {
        download.result.kind = Kind::Done;
        download.bytes = std::move(sink.bytes());
    }
    return download;
}

} // namespace tollen::database
