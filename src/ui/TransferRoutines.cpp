#include "ui/TransferRoutines.h"

#include "core/AtomicFileWriter.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "transfer/HttpStatus.h"
#include "ui/RemotePath.h"

#include <array>
#include <cmath>
#include <limits>

namespace tollen::ui {
namespace {

constexpr std::size_t kHttpChunk = 1024;
constexpr auto kYieldInterval = std::chrono::milliseconds(4);
const std::string kRangeHeader = "Range: bytes=0-\r\n";

/// Keeps the main window disabled for its lifetime, so every way out enables it again.
class DisabledWindow
{
public:
    explicit DisabledWindow(Window &window) : m_window(window) { m_window.setEnabled(false); }
    ~DisabledWindow() { m_window.setEnabled(true); }
    DisabledWindow(const DisabledWindow &) = delete;
    DisabledWindow &operator=(const DisabledWindow &) = delete;

private:
    Window &m_window;
};

/// The leading digits of a header value as a number; no digits give 0.
std::int64_t leadingNumber(const std::string &text)
{
    std::int64_t value = 0;
    for (const char character : trimSpaces(text)) {
        if (character < '0' || character > '9') {
            break;
        }
        if (value > (std::numeric_limits<std::int64_t>::max() - 9) / 10) {
            return std::numeric_limits<std::int64_t>::max();
        }
        value = value * 10 + (character - '0');
    }
    return value;
}

std::int32_t clampedSize(std::int64_t size)
{
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(size, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

TransferRoutines::TransferRoutines(cFTP &q, Inet &Inet1, const Form1Controls &controls)
    : m_q(q), m_inet(Inet1), m_controls(controls), m_yieldPacer(kYieldInterval)
{
    m_q.setFileTransferProgress([this](std::int64_t current, std::int64_t total) {
        q_FileTransferProgress(current, total);
    });
    m_q.setEventLoopYield([this] { chunkYield(); });
}

TransferRoutines::RemoteLocation TransferRoutines::remoteLocation(const std::string &strurl,
                                                                  const std::string &basePath)
{
    // A "/" in the last position is not a split point: a directory path keeps its last name.
    const auto slash = strurl.size() < 2 ? std::string::npos : strurl.rfind('/', strurl.size() - 2);
    RemoteLocation location;
    if (slash == std::string::npos) {
        location.directory = strurl;
    } else {
        location.directory = strurl.substr(0, slash);
        location.file = strurl.substr(slash + 1);
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
        m_controls.dialogs.messageBox("FTP ERROR: Can't establish connection", MessageButtons::Ok);
        return false;
    }
    m_q.SetTransferBinary();
    return true;
}

bool TransferRoutines::enterDirectoryOf(const std::string &strurl, std::string &file)
{
    const RemoteLocation location = remoteLocation(strurl, m_controls.path.text());
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
    }
    m_q.CloseConnection();
    return result;
}

std::int16_t TransferRoutines::FTPDownloadFile(const std::string &strurl,
                                               std::string &strdestination)
{
    std::string file;
    std::int16_t result = -1;
    if (connect()) {
        result =
            enterDirectoryOf(strurl, file) && m_q.FTPDownloadFile(strdestination, file) ? 1 : 0;
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

int TransferRoutines::httpStatus(const std::string &url)
{
    m_inet.setURL(url);
    if (m_inet.Execute("GET", kRangeHeader)) {
        return 0;
    }
    while (m_inet.StillExecuting()) {
        m_controls.eventLoop.yield();
    }
    return httpStatusCode(m_inet.GetHeader());
}

bool TransferRoutines::sendable(const std::string &strurl) const
{
    return staysBelowBase(strurl) && (!ftpChosen() || fitsFtpCommand(strurl));
}

std::int32_t TransferRoutines::GetFileSize(const std::string &strurl)
{
    if (!sendable(strurl)) {
        return -1;
    }
    const DisabledWindow disabled(m_controls.window);
    if (ftpChosen()) {
        return FTPGetFileSize(strurl);
    }
    m_controls.eventLoop.yield();
    const int status = httpStatus(m_controls.host.text() + encodeHttpPath(strurl));
    if (status != 200 && status != 206) {
        return -1;
    }
    return clampedSize(leadingNumber(m_inet.GetHeader("Content-Length")));
}

std::int16_t TransferRoutines::DownloadFile(std::string &strurl, std::string &strdestination)
{
    if (!sendable(strurl)) {
        return 0;
    }
    if (ftpChosen()) {
        const DisabledWindow disabled(m_controls.window);
        return FTPDownloadFile(strurl, strdestination);
    }
    m_controls.eventLoop.yield();
    const DisabledWindow disabled(m_controls.window);
    strurl = m_controls.host.text() + "/" + encodeHttpPath(strurl);
    const int status = httpStatus(strurl);
    if (status != 200 && status != 206) {
        return 0;
    }
    // Without a usable Content-Length the size is unknown: the bar shows that it is busy, the
    // label stays blank and the body is read to its end.
    const std::int64_t total = leadingNumber(m_inet.GetHeader("Content-Length"));
    m_controls.eventLoop.yield();
    // Written beside the destination and renamed over it only when complete, so a failed
    // download neither destroys the file that was there nor leaves a partial one.
    AtomicFileWriter destination = AtomicFileWriter::forDownload(pathFromUtf8(strdestination));
    if (destination.open()) {
        return 0;
    }
    m_controls.ProgressBar1.setMaximum(static_cast<double>(total));
    if (total <= 0) {
        showCaption(m_controls.Label9, "");
    }
    std::int64_t received = 0;
    std::array<char, kHttpChunk> chunk{};
    std::size_t length = 0;
    do {
        length = m_inet.GetChunk(chunk);
        if (destination.write(std::string_view(chunk.data(), length))) {
            return 0;
        }
        received += static_cast<std::int64_t>(length);
        m_controls.ProgressBar1.setValue(static_cast<double>(received));
        if (total > 0) {
            // Rounded to the nearest whole percent, halves to the even neighbour.
            showPercent(static_cast<std::int64_t>(std::nearbyint(
                static_cast<double>(received) / static_cast<double>(total) * 100.0)));
        }
        chunkYield();
    } while (length > 1);
    // A body cut short (or longer than announced) is a failed download, not a success.
    if (m_inet.ResponseError() || (total > 0 && received != total)) {
        return 0;
    }
    return destination.commit() ? 0 : 1;
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

void TransferRoutines::showCaption(Label &label, const std::string &caption)
{
    if (label.caption() != caption) {
        label.setCaption(caption);
    }
}

} // namespace tollen::ui
