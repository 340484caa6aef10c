#include "transfer/CurlFtpSession.h"

#include "core/Text.h"
#include "transfer/FtpUrl.h"
#include "transfer/TransferError.h"

#include <algorithm>
#include <utility>

namespace tollen::transfer {
namespace {

constexpr long kReceiveBufferSize = 512 * 1024;
constexpr int kDownloadWaitMilliseconds = 100;
// After the server accepts an upload, polling misses the data socket; short waits cover it.
constexpr int kUploadWaitMilliseconds = 1;

bool isReplyEnd(std::string_view line)
{
    return line.size() >= 3 && isAsciiDigit(line[0]) && isAsciiDigit(line[1]) &&
           isAsciiDigit(line[2]) && (line.size() == 3 || line[3] == ' ');
}

bool isAcceptance(const std::string &reply)
{
    return !reply.empty() && (reply[0] == '2' || reply[0] == '3');
}

/// The directory of a 257 reply: '257 "/a ""b""" is current' gives /a "b".
std::string quotedPath(const std::string &reply)
{
    const auto open = reply.find('"');
    if (open == std::string::npos) {
        return {};
    }
    std::string path;
    for (std::size_t i = open + 1; i < reply.size(); ++i) {
        if (reply[i] == '"') {
            if (i + 1 < reply.size() && reply[i + 1] == '"') {
                path += '"';
                ++i;
                continue;
            }
            return path;
        }
        path += reply[i];
    }
    return {};
}

} // namespace

std::unique_ptr<FtpSession> FtpSession::create(TransferOptions options)
{
    return std::make_unique<CurlFtpSession>(std::move(options));
}

CurlFtpSession::CurlFtpSession(TransferOptions options)
    : m_options(std::move(options)), m_curl(std::make_unique<CurlSession>())
{
}

Error CurlFtpSession::login(const std::string &server, const std::string &user,
                            const std::string &password, bool passive)
{
    close();
    const auto address = ftpServerAddress(server);
    if (!address) {
        return transferError(TransferCode::BadServerName);
    }
    m_root = address->root;
    m_tls = address->tls;
    m_user = user;
    m_password = password;
    m_passive = passive;

    prepareRequest(m_root + "/");
    curl_easy_setopt(m_curl->easy(), CURLOPT_NOBODY, 1L);
    if (Error error = runToEnd(kDownloadWaitMilliseconds)) {
        close();
        return error;
    }
    char *entryPath = nullptr;
    curl_easy_getinfo(m_curl->easy(), CURLINFO_FTP_ENTRY_PATH, &entryPath);
    m_workingDirectory = entryPath != nullptr && entryPath[0] == '/' ? entryPath : "/";
    m_connected = true;
    return {};
}

void CurlFtpSession::close()
{
    // A new multi handle drops the old one's connection cache and with it the connection.
    m_curl = std::make_unique<CurlSession>();
    m_connected = false;
    m_workingDirectory.clear();
    m_buffer.clear();
}

void CurlFtpSession::prepareRequest(const std::string &url)
{
    m_curl->stop();
    CURL *easy = m_curl->easy();
    // Resetting options keeps the connections: they live in the multi handle's cache.
    curl_easy_reset(easy);
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_USERNAME, m_user.c_str());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, m_password.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT,
                     static_cast<long>(m_options.connectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     static_cast<long>(m_options.silenceTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS,
                     static_cast<long>(m_options.connectTimeout.count() * 1000));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                     static_cast<long>(m_options.silenceTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    if (!m_passive) {
        curl_easy_setopt(easy, CURLOPT_FTPPORT, "-");
    }
    if (m_tls) {
        curl_easy_setopt(easy, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    }
    if (!m_options.trustedCertificates.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, m_options.trustedCertificates.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &CurlFtpSession::onDebug);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlFtpSession::onData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &CurlFtpSession::onRead);
    curl_easy_setopt(easy, CURLOPT_READDATA, this);

    m_exchanges.clear();
    m_partialReply.clear();
    m_lastReply.clear();
    m_buffer.clear();
    m_uploadEnded = false;
    m_uploadStarted = false;
    m_collectAll = false;
    m_tooLarge = false;
    m_ending = false;
    m_extraData = false;
}

Error CurlFtpSession::runToEnd(int waitMilliseconds)
{
    m_curl->start();
    while (m_curl->running()) {
        m_curl->resumeIfPaused();
        m_curl->pumpOnce(waitMilliseconds);
    }
    return currentError();
}

Error CurlFtpSession::currentError() const
{
    return errorFromCurl(m_curl->result(), m_lastReply);
}

Error CurlFtpSession::command(const std::vector<std::string> &commands)
{
    if (!m_connected) {
        return transferError(TransferCode::NotConnected);
    }
    prepareRequest(m_root + "/");
    curl_easy_setopt(m_curl->easy(), CURLOPT_NOBODY, 1L);
    m_quote.reset();
    for (const auto &command : commands) {
        // "*" keeps libcurl from dropping the connection when the server refuses the command.
        if (!append(m_quote, "*" + command)) {
            return transferError(TransferCode::Internal);
        }
    }
    curl_easy_setopt(m_curl->easy(), CURLOPT_QUOTE, m_quote.get());
    const Error error = runToEnd(kDownloadWaitMilliseconds);
    curl_easy_setopt(m_curl->easy(), CURLOPT_QUOTE, nullptr);
    m_quote.reset();
    if (error) {
        return error;
    }
    auto exchange = m_exchanges.begin();
    for (const auto &command : commands) {
        exchange = std::find_if(exchange, m_exchanges.end(),
                                [&](const Exchange &sent) { return sent.command == command; });
        if (exchange == m_exchanges.end()) {
            return transferError(TransferCode::Internal);
        }
        if (!isAcceptance(exchange->reply)) {
            return transferError(TransferCode::ServerReply, exchange->reply);
        }
        ++exchange;
    }
    return {};
}

Error CurlFtpSession::changeDirectory(const std::string &directory)
{
    const std::string target = absolute(directory);
    if (Error error = command({"CWD " + target, "PWD"})) {
        return error;
    }
    const auto printed = std::find_if(m_exchanges.rbegin(), m_exchanges.rend(),
                                      [](const Exchange &sent) { return sent.command == "PWD"; });
    const std::string canonical = printed != m_exchanges.rend() ? quotedPath(printed->reply) : "";
    m_workingDirectory = !canonical.empty() && canonical.front() == '/' ? canonical : target;
    return {};
}

Error CurlFtpSession::list(const std::string &directory, std::string &listing)
{
    if (!m_connected) {
        return transferError(TransferCode::NotConnected);
    }
    prepareRequest(ftpFileUrl(m_root, directory) + (directory == "/" ? "" : "/"));
    m_collectAll = true;
    const Error error = runToEnd(kDownloadWaitMilliseconds);
    if (!error) {
        listing = m_buffer.contents();
    }
    // A large listing's buffer is not kept for the transfers that follow.
    m_buffer = PullBuffer();
    return m_tooLarge ? transferError(TransferCode::AnswerTooLarge) : error;
}

Error CurlFtpSession::beginDownload(const std::string &path, bool binary, std::uint64_t offset)
{
    if (!m_connected) {
        return transferError(TransferCode::NotConnected);
    }
    prepareRequest(ftpFileUrl(m_root, path));
    curl_easy_setopt(m_curl->easy(), CURLOPT_TRANSFERTEXT, binary ? 0L : 1L);
    // REST before RETR: the server sends the file from that byte on.
    curl_easy_setopt(m_curl->easy(), CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(offset));
    m_curl->start();
    m_curl->pumpUntil([this] { return m_buffer.size() > 0; }, kDownloadWaitMilliseconds);
    // Data that came before a failure is still read; the failure shows at the short read.
    if (!m_curl->running() && m_curl->result() != CURLE_OK && m_buffer.size() == 0) {
        return currentError();
    }
    return {};
}

std::size_t CurlFtpSession::read(char *buffer, std::size_t count, Error &error)
{
    while (m_buffer.size() < count && m_curl->running()) {
        m_curl->resumeIfPaused();
        m_curl->pumpOnce(kDownloadWaitMilliseconds);
    }
    if (m_buffer.low()) {
        m_curl->resumeIfPaused();
    }
    const std::size_t taken = m_buffer.take(buffer, count);
    if (taken < count) {
        error = currentError();
    }
    return taken;
}

Error CurlFtpSession::endDownload()
{
    if (m_buffer.size() > 0) {
        abandonTransfer();
        return transferError(TransferCode::SizeChanged);
    }
    m_ending = true;
    m_curl->resumeIfPaused();
    while (m_curl->running()) {
        m_curl->pumpOnce(kDownloadWaitMilliseconds);
    }
    if (m_extraData) {
        return transferError(TransferCode::SizeChanged);
    }
    return currentError();
}

Error CurlFtpSession::beginUpload(const std::string &path, bool binary)
{
    if (!m_connected) {
        return transferError(TransferCode::NotConnected);
    }
    prepareRequest(ftpFileUrl(m_root, path));
    curl_easy_setopt(m_curl->easy(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl->easy(), CURLOPT_TRANSFERTEXT, binary ? 0L : 1L);
    m_curl->start();
    // The server has accepted the file once libcurl asks for the first data.
    m_curl->pumpUntil([this] { return m_uploadStarted; }, kUploadWaitMilliseconds);
    if (!m_uploadStarted) {
        const Error error = currentError();
        return error ? error : transferError(TransferCode::Internal);
    }
    return {};
}

Error CurlFtpSession::write(const char *buffer, std::size_t count)
{
    if (!m_curl->running()) {
        const Error error = currentError();
        return error ? error : transferError(TransferCode::ConnectionEnded);
    }
    m_buffer.append(buffer, count);
    while (m_buffer.full() && m_curl->running()) {
        m_curl->resumeIfPaused();
        m_curl->pumpOnce(kUploadWaitMilliseconds);
    }
    if (!m_curl->running() && m_buffer.size() > 0) {
        const Error error = currentError();
        return error ? error : transferError(TransferCode::ConnectionEnded);
    }
    return {};
}

Error CurlFtpSession::endUpload()
{
    m_uploadEnded = true;
    while (m_curl->running()) {
        m_curl->resumeIfPaused();
        m_curl->pumpOnce(kUploadWaitMilliseconds);
    }
    if (m_buffer.size() > 0 && !currentError()) {
        return transferError(TransferCode::ConnectionEnded);
    }
    return currentError();
}

void CurlFtpSession::abandonTransfer()
{
    m_curl->stop();
    m_buffer.clear();
}

int CurlFtpSession::onDebug(CURL *, curl_infotype type, char *data, std::size_t size, void *self)
{
    auto *session = static_cast<CurlFtpSession *>(self);
    if (type == CURLINFO_HEADER_OUT) {
        std::string_view command(data, size);
        while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) {
            command.remove_suffix(1);
        }
        session->m_exchanges.push_back({std::string(command), {}});
    } else if (type == CURLINFO_HEADER_IN) {
        session->takeReplyText(std::string_view(data, size));
    }
    return 0;
}

void CurlFtpSession::takeReplyText(std::string_view text)
{
    m_partialReply.append(text);
    std::size_t lineEnd = 0;
    std::size_t start = 0;
    while ((lineEnd = m_partialReply.find('\n', start)) != std::string::npos) {
        std::string_view line(m_partialReply.data() + start, lineEnd - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        start = lineEnd + 1;
        if (isReplyEnd(line)) {
            // A whole reply: the lines so far (multi-line replies) and this last one.
            m_lastReply = m_partialReply.substr(0, start);
            while (!m_lastReply.empty() &&
                   (m_lastReply.back() == '\n' || m_lastReply.back() == '\r')) {
                m_lastReply.pop_back();
            }
            if (!m_exchanges.empty() && m_exchanges.back().reply.empty()) {
                m_exchanges.back().reply = m_lastReply;
            }
            m_partialReply.erase(0, start);
            start = 0;
        }
    }
}

std::size_t CurlFtpSession::onData(char *data, std::size_t size, std::size_t count, void *self)
{
    auto *session = static_cast<CurlFtpSession *>(self);
    const std::size_t bytes = size * count;
    if (session->m_ending) {
        // Everything expected was read: more data means the file changed meanwhile.
        session->m_extraData = session->m_extraData || bytes > 0;
        return bytes > 0 ? 0 : bytes;
    }
    if (session->m_collectAll && session->m_buffer.size() + bytes > kListingLimit) {
        session->m_tooLarge = true;
        return 0; // libcurl ends the transfer
    }
    if (!session->m_collectAll && session->m_buffer.full()) {
        session->m_curl->notePaused();
        return CURL_WRITEFUNC_PAUSE;
    }
    session->m_buffer.append(data, bytes);
    session->m_curl->noteProgress();
    return bytes;
}

std::size_t CurlFtpSession::onRead(char *data, std::size_t size, std::size_t count, void *self)
{
    auto *session = static_cast<CurlFtpSession *>(self);
    session->m_uploadStarted = true;
    const std::size_t taken = session->m_buffer.take(data, size * count);
    if (taken == 0) {
        if (session->m_uploadEnded) {
            return 0;
        }
        session->m_curl->notePaused();
        return CURL_READFUNC_PAUSE;
    }
    session->m_curl->noteProgress();
    return taken;
}

} // namespace tollen::transfer
