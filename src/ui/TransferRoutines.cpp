#include "ui/TransferRoutines.h"

#include "core/PathText.h"
#include "core/SystemFiles.h"
#include "core/Text.h"
#include "transfer/HttpStatus.h"
#include "transfer/RemotePath.h"
#include "transfer/TransferError.h"
#include "ui/DownloadDestination.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHttpChunk = 1024;
/// The pieces of a streamed file, which no progress bar of the window shows: large enough that
/// a gigabyte is not a million rounds of progress, caption and yield.
constexpr std::size_t kStreamChunk = 64 * 1024;
constexpr const char *kPathRefused = "the path does not lie below the database";
constexpr auto kYieldInterval = std::chrono::milliseconds(4);

/// Keeps the main window disabled for its lifetime, so every way out enables it again.
class DisabledWindow
{
public:
    explicit DisabledWindow(controls::Window &window) : m_window(window)
    {
        m_window.setEnabled(false);
    }
    ~DisabledWindow() { m_window.setEnabled(true); }
    DisabledWindow(const DisabledWindow &) = delete;
    DisabledWindow &operator=(const DisabledWindow &) = delete;

private:
    controls::Window &m_window;
};

using transfer::FailureKind;

std::string firstLine(const std::string &text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

std::int32_t clampedSize(std::int64_t size)
{
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(size, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

TransferRoutines::TransferRoutines(transfer::cFTP &q, transfer::Inet &Inet1,
                                   const Form1Controls &controls)
    : m_q(q), m_inet(Inet1), m_controls(controls), m_yieldPacer(kYieldInterval)
{
    m_q.setFileTransferProgress([this](std::int64_t current, std::int64_t total) {
        q_FileTransferProgress(current, total);
    });
    m_q.setEventLoopYield([this] { chunkYield(); });
}

TransferRoutines::RemoteLocation TransferRoutines::remoteLocation(const std::string &remotePath,
                                                                  const std::string &basePath)
{
    // A "/" in the last position is not a split point: a directory path keeps its last name.
    const auto slash =
        remotePath.size() < 2 ? std::string::npos : remotePath.rfind('/', remotePath.size() - 2);
    RemoteLocation location;
    if (slash == std::string::npos) {
        location.directory = remotePath;
    } else {
        location.directory = remotePath.substr(0, slash);
        location.file = remotePath.substr(slash + 1);
    }
    // Twice "//" to "/", as the settings' base path is joined: up to four slashes become one.
    std::string joined = basePath + "/" + location.directory;
    for (int pass = 0; pass < 2; ++pass) {
        std::string once;
        for (std::size_t i = 0; i < joined.size(); ++i) {
            once += joined[i];
            if (joined[i] == '/' && i + 1 < joined.size() && joined[i + 1] == '/') {
                ++i;
            }
        }
        joined = once;
    }
    location.directory = joined;
    return location;
}

bool TransferRoutines::connect()
{
    if (!m_q.OpenConnection(m_controls.host.text(), m_controls.user.text(),
                            m_controls.pass.text())) {
        m_controls.dialogs.messageBox(std::string(kFtpNoConnection), controls::MessageButtons::Ok);
        fail(FailureKind::NoConnection,
             std::string(kFtpNoConnection) + " to " + m_controls.host.text());
        return false;
    }
    m_q.SetTransferBinary();
    return true;
}

bool TransferRoutines::enterDirectoryOf(const std::string &remotePath, std::string &file)
{
    const RemoteLocation location = remoteLocation(remotePath, m_controls.path.text());
    file = location.file;
    // A directory that cannot be entered holds no file: looking the name up in the login
    // directory instead would find a file outside the database.
    return m_q.SetFTPDirectory(location.directory) == TaggedValue(true);
}

std::int32_t TransferRoutines::FTPGetFileSize(const std::string &strurl)
{
    std::string file;
    std::int32_t result = -1;
    if (connect()) {
        result = enterDirectoryOf(strurl, file) ? m_q.GetFTPFileSize(file) : -1;
        if (result < 0) {
            ftpNotFound();
        }
    }
    m_q.CloseConnection();
    return result;
}

std::int16_t TransferRoutines::FTPDownloadFile(const std::string &strurl,
                                               std::string &strdestination, std::int64_t sizeLimit)
{
    std::string file;
    std::int16_t result = 0;
    if (!connect()) {
        result = -1;
    } else if (!enterDirectoryOf(strurl, file)) {
        ftpNotFound();
    } else if (m_q.FTPDownloadFile(strdestination, file, sizeLimit)) {
        result = 1;
    } else if (const Error &local = m_q.localFileError()) {
        fail(FailureKind::LocalFile, local.message);
    } else {
        fail(FailureKind::TransferCut, m_q.GetLastErrorMessage());
    }
    strdestination = trimSpaces(strdestination);
    m_q.CloseConnection();
    return result;
}

void TransferRoutines::q_FileTransferProgress(std::int64_t lCurrentBytes, std::int64_t lTotalBytes)
{
    const double maximum = static_cast<float>(lTotalBytes);
    if (m_controls.ProgressBar1.maximum() != maximum) {
        m_controls.ProgressBar1.setMaximum(maximum);
    }
    m_controls.ProgressBar1.setValue(static_cast<double>(lCurrentBytes));
    // The whole percent below the ratio; an empty transfer is complete.
    showPercent(lTotalBytes > 0 ? lCurrentBytes * 100 / lTotalBytes : 100);
    chunkYield();
}

std::optional<transfer::HttpPart> TransferRoutines::requestPart(const std::string &url,
                                                                std::int64_t start)
{
    m_inet.setURL(url);
    if (m_inet.Execute("GET", transfer::rangeRequest(start))) {
        return std::nullopt;
    }
    while (m_inet.StillExecuting()) {
        m_controls.eventLoop.yield();
    }
    const std::string header = m_inet.GetHeader();
    std::optional<transfer::HttpPart> part = transfer::answeredPart(header, start);
    const int status = transfer::httpStatusCode(header);
    if (!part && (status == 200 || status == 206)) {
        refuseAnswer(transfer::transferError(transfer::TransferCode::UnaskedPart));
    }
    return part;
}

bool TransferRoutines::sendable(const std::string &remotePath) const
{
    return transfer::staysBelowBase(remotePath) &&
           (!ftpChosen() || transfer::fitsFtpCommand(remotePath));
}

std::int32_t TransferRoutines::GetFileSize(const std::string &strurl)
{
    m_failure = {};
    if (!sendable(strurl)) {
        fail(FailureKind::PathRefused, kPathRefused);
        return -1;
    }
    const DisabledWindow disabled(m_controls.window);
    if (ftpChosen()) {
        return FTPGetFileSize(strurl);
    }
    m_controls.eventLoop.yield();
    const std::optional<transfer::HttpPart> part =
        requestPart(m_controls.host.text() + transfer::encodeUrlPath(strurl), 0);
    if (m_inet.GetHeader().empty()) {
        // No answer came at all (no connection, a name that cannot be looked up, a certificate
        // that is not trusted, a silent server): the box says why. The server's own answers
        // (404 and the like) are a file that is not there.
        m_controls.dialogs.messageBox("HTTP ERROR: " + m_inet.ResponseError().message,
                                      controls::MessageButtons::Ok, "Error");
    }
    if (!part) {
        judgeHttpFailure();
        return -1;
    }
    // A 206 gives the size of the whole file, not of the part it holds.
    return clampedSize(part->fileSize);
}

std::int16_t TransferRoutines::DownloadFile(std::string &strurl, std::string &strdestination,
                                            std::int64_t sizeLimit)
{
    m_failure = {};
    if (!sendable(strurl)) {
        fail(FailureKind::PathRefused, kPathRefused);
        return 0;
    }
    // The FTP routine writes the name without the spaces around it.
    if (const Error problem = destinationProblem(
            pathFromUtf8(ftpChosen() ? trimSpaces(strdestination) : strdestination))) {
        fail(FailureKind::LocalFile, problem.message);
        return 0;
    }
    if (ftpChosen()) {
        const DisabledWindow disabled(m_controls.window);
        return FTPDownloadFile(strurl, strdestination, sizeLimit);
    }
    m_controls.eventLoop.yield();
    const DisabledWindow disabled(m_controls.window);
    strurl = m_controls.host.text() + "/" + transfer::encodeUrlPath(strurl);
    if (!httpDownload(strurl, strdestination, sizeLimit)) {
        judgeHttpFailure();
        return 0;
    }
    return 1;
}

bool TransferRoutines::streamFile(const std::string &strurl, std::uint64_t from,
                                  const FileBytes &receive)
{
    m_failure = {};
    if (!sendable(strurl)) {
        return fail(FailureKind::PathRefused, kPathRefused);
    }
    const DisabledWindow disabled(m_controls.window);
    if (ftpChosen()) {
        return ftpTransfer(strurl, from, receive);
    }
    m_controls.eventLoop.yield();
    const std::string url = m_controls.host.text() + "/" + transfer::encodeUrlPath(strurl);
    if (!httpTransfer(url, static_cast<std::int64_t>(from), kAnySize, kStreamChunk, receive)) {
        judgeHttpFailure();
        return false;
    }
    return true;
}

bool TransferRoutines::ftpTransfer(const std::string &strurl, std::uint64_t from,
                                   const FileBytes &receive)
{
    std::string file;
    bool done = false;
    if (connect()) {
        const transfer::cFTP::ChunkSink sink = [&](std::int64_t position, std::int64_t total,
                                                   std::string_view bytes) {
            return receive(static_cast<std::uint64_t>(position), static_cast<std::uint64_t>(total),
                           bytes);
        };
        using Read = transfer::cFTP::ReadResult;
        const Read read = enterDirectoryOf(strurl, file)
                              ? m_q.FTPReadFile(file, static_cast<std::int64_t>(from), sink)
                              : Read::NoSuchFile;
        done = read == Read::Done;
        if (read == Read::NoSuchFile) {
            ftpNotFound();
        } else if (read == Read::Failed) {
            fail(FailureKind::TransferCut, m_q.GetLastErrorMessage());
        }
    }
    m_q.CloseConnection();
    return done;
}

bool TransferRoutines::httpDownload(const std::string &url, const std::string &destinationName,
                                    std::int64_t sizeLimit)
{
    // Written beside the destination and renamed over it only when complete, so a failed
    // download neither destroys the file that was there nor leaves a partial one. It is opened
    // with the first piece of the body, which comes (empty for an empty file) once an answer
    // holding the file is in.
    AtomicFileWriter destination = AtomicFileWriter::forDownload(pathFromUtf8(destinationName));
    bool opened = false;
    const FileBytes write = [&](std::uint64_t, std::uint64_t, std::string_view bytes) -> Error {
        if (!opened) {
            opened = true;
            if (Error error = destination.open()) {
                return error;
            }
        }
        return destination.write(bytes);
    };
    if (!httpTransfer(url, 0, sizeLimit, kHttpChunk, write)) {
        return false;
    }
    if (const Error error = destination.commit()) {
        return fail(FailureKind::LocalFile, error.message);
    }
    return true;
}

bool TransferRoutines::httpTransfer(const std::string &url, std::int64_t from,
                                    std::int64_t sizeLimit, std::size_t chunkSize,
                                    const FileBytes &receive)
{
    std::optional<transfer::HttpPart> part = requestPart(url, from);
    if (!part && from > 0 && transfer::httpStatusCode(m_inet.GetHeader()) == 200) {
        // A server that cannot continue sends the whole file again: it is taken from its start.
        m_failure = {};
        part = transfer::answeredPart(m_inet.GetHeader(), 0);
    }
    if (!part) {
        return false;
    }
    // Without a usable size the bar shows that it is busy, the label stays blank and the body
    // is read to its end.
    const std::int64_t total = part->fileSize;
    const std::string version = transfer::fileVersion(m_inet.GetHeader());
    if (part->endsEarly() && version.empty()) {
        return refuseAnswer(transfer::transferError(transfer::TransferCode::PartsOfUnknownVersion));
    }
    m_controls.eventLoop.yield();
    m_controls.ProgressBar1.setMaximum(static_cast<double>(total));
    if (total <= 0) {
        showCaption(m_controls.Label9, "");
    }
    std::int64_t received = part->first;
    bool complete = readPart(*part, total, sizeLimit, chunkSize, receive, received);
    while (complete && part->endsEarly()) {
        // The rest of the same version of the file, from the byte after the part.
        part = requestPart(url, received);
        if (!part) {
            return false;
        }
        if (part->fileSize != total || transfer::fileVersion(m_inet.GetHeader()) != version) {
            return refuseAnswer(transfer::transferError(transfer::TransferCode::UnaskedPart));
        }
        complete = readPart(*part, total, sizeLimit, chunkSize, receive, received);
    }
    // A body cut short (or longer than announced) is a failed download, not a success.
    return complete && (total <= 0 || received == total);
}

bool TransferRoutines::readPart(const transfer::HttpPart &part, std::int64_t total,
                                std::int64_t sizeLimit, std::size_t chunkSize,
                                const FileBytes &receive, std::int64_t &received)
{
    const std::int64_t end = part.length ? part.first + *part.length : kAnySize;
    std::size_t length = 0;
    do {
        const std::string_view chunk = m_inet.GetChunkView(chunkSize);
        length = chunk.size();
        const std::int64_t position = received;
        received += static_cast<std::int64_t>(length);
        if (received > end) {
            return refuseAnswer(transfer::transferError(transfer::TransferCode::UnaskedPart));
        }
        if (received > sizeLimit) {
            return refuseAnswer(transfer::transferError(transfer::TransferCode::SizeChanged));
        }
        if (const Error error =
                receive(static_cast<std::uint64_t>(position),
                        static_cast<std::uint64_t>(std::max<std::int64_t>(total, 0)), chunk)) {
            return fail(FailureKind::LocalFile, error.message);
        }
        m_controls.ProgressBar1.setValue(static_cast<double>(received));
        if (total > 0) {
            // Rounded to the nearest whole percent, halves to the even neighbour.
            showPercent(static_cast<std::int64_t>(std::nearbyint(
                static_cast<double>(received) / static_cast<double>(total) * 100.0)));
        }
        chunkYield();
    } while (length > 1);
    return !m_inet.ResponseError() && (!part.length || received == end);
}

bool TransferRoutines::fail(FailureKind kind, std::string reason)
{
    m_failure = transfer::TransferFailure{kind, std::move(reason)};
    return false;
}

bool TransferRoutines::refuseAnswer(const Error &error)
{
    return fail(FailureKind::TransferCut, error.message + " (" + m_inet.URL() + ")");
}

void TransferRoutines::judgeHttpFailure()
{
    // A local file that could not be written says the most; a broken connection comes before
    // what the routines refused in the answer it brought.
    const Error broken = m_inet.ResponseError();
    if (m_failure.kind == FailureKind::LocalFile || (m_failure && !broken)) {
        return;
    }
    const std::string &url = m_inet.URL();
    const std::string header = m_inet.GetHeader();
    if (broken) {
        fail(header.empty() ? FailureKind::NoConnection : FailureKind::TransferCut,
             broken.message + " (" + url + ")");
        return;
    }
    if (header.empty()) {
        fail(FailureKind::NoConnection, "no answer from " + url);
        return;
    }
    const int status = transfer::httpStatusCode(header);
    const std::string answer = url + " answered " + firstLine(header);
    if (status == 404 || status == 410) {
        fail(FailureKind::NotFound, answer);
    } else if (status >= 200 && status < 300) {
        // A success whose body ended before the file did.
        fail(FailureKind::TransferCut, answer);
    } else {
        fail(FailureKind::ServerRefused, answer);
    }
}

void TransferRoutines::ftpNotFound()
{
    fail(FailureKind::NotFound, m_q.GetLastErrorMessage());
}

void TransferRoutines::chunkYield()
{
    if (m_yieldPacer.due()) {
        m_controls.eventLoop.yield();
    }
}

void TransferRoutines::showPercent(std::int64_t percent)
{
    // The text is made again only when the figure changes, not for each of the many chunks
    // that show the same one.
    if (percent != m_shownPercent) {
        m_shownPercent = percent;
        m_percentText = std::to_string(percent) + "%";
    }
    showCaption(m_controls.Label9, m_percentText);
}

void TransferRoutines::showCaption(controls::Label &label, const std::string &caption)
{
    if (label.caption() != caption) {
        label.setCaption(caption);
    }
}

} // namespace tollen::ui
