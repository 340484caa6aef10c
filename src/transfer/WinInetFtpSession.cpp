#include "transfer/WinInetFtpSession.h"

#include "core/WideText.h"
#include "transfer/FtpDataSocket.h"
#include "transfer/FtpPassiveReply.h"
#include "transfer/FtpUrl.h"
#include "transfer/TransferError.h"
#include "transfer/WinInetFtpName.h"

#include <utility>

namespace tollen::transfer {
namespace {

constexpr DWORD kListingBlock = 64 * 1024;

/// A name with a line break or NUL in it would end the command early and start another: no
/// file on the server is called that.
bool isSafeName(const std::string &name)
{
    return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

bool isAcceptance(const std::string &reply)
{
    return !reply.empty() && reply[0] == '2';
}

/// The library's working directory call, "/" when the server named none that is absolute.
std::string currentDirectory(HINTERNET connection, const std::string &fallback)
{
    std::wstring buffer(MAX_PATH * 4, L'\0');
    auto length = static_cast<DWORD>(buffer.size());
    if (!FtpGetCurrentDirectoryW(connection, buffer.data(), &length)) {
        return fallback;
    }
    const std::string directory = ftpNameFromWire(buffer.c_str());
    return !directory.empty() && directory.front() == '/' ? directory : fallback;
}

Error lastError()
{
    return errorFromWinInet(GetLastError());
}

} // namespace

std::unique_ptr<FtpSession> FtpSession::create(TransferOptions options)
{
    return std::make_unique<WinInetFtpSession>(std::move(options));
}

WinInetFtpSession::WinInetFtpSession(TransferOptions options) : m_options(std::move(options)) {}

Error WinInetFtpSession::login(const std::string &server, const std::string &user,
                               const std::string &password, bool passive)
{
    close();
    const auto address = ftpServerAddress(server);
    if (!address) {
        return transferError(TransferCode::BadServerName);
    }
    if (address->tls) {
        // The library has no FTP over TLS; the session never falls back to plain FTP.
        return transferError(TransferCode::SecureFtpUnsupported);
    }
    m_host = address->host;
    m_port = address->port != 0 ? address->port : INTERNET_DEFAULT_FTP_PORT;
    m_user = user;
    m_password = password;
    m_passive = passive;
    if (Error error = connect()) {
        close();
        return error;
    }
    m_workingDirectory = currentDirectory(m_connection.get(), "/");
    m_connected = true;
    return {};
}

Error WinInetFtpSession::connect()
{
    m_file.reset();
    m_connection.reset();
    if (!m_internet) {
        m_internet = openInternet(false);
        if (!m_internet) {
            return lastError();
        }
        applyTimeouts(m_internet.get(), m_options);
    }
    const std::wstring host = wideFromUtf8(m_host);
    const std::wstring user = ftpWireName(m_user);
    const std::wstring password = ftpWireName(m_password);
    m_connection.reset(InternetConnectW(
        m_internet.get(), host.c_str(), static_cast<INTERNET_PORT>(m_port),
        user.empty() ? nullptr : user.c_str(), user.empty() ? nullptr : password.c_str(),
        INTERNET_SERVICE_FTP, m_passive ? INTERNET_FLAG_PASSIVE : 0, 0));
    if (!m_connection) {
        return lastError();
    }
    m_stale = false;
    return {};
}

void WinInetFtpSession::close()
{
    m_file.reset();
    m_connection.reset();
    m_internet.reset();
    m_connected = false;
    m_stale = false;
    m_workingDirectory.clear();
}

Error WinInetFtpSession::usableConnection()
{
    if (!m_connected) {
        return transferError(TransferCode::NotConnected);
    }
    m_file.reset();
    if (m_stale) {
        if (Error error = connect()) {
            return error;
        }
    }
    return {};
}

Error WinInetFtpSession::sendCommand(const std::string &command)
{
    if (!isSafeName(command)) {
        return transferError(TransferCode::NoMatchingEntry);
    }
    const std::wstring wide = ftpWireName(command);
    if (!FtpCommandW(m_connection.get(), FALSE, FTP_TRANSFER_TYPE_BINARY, wide.c_str(), 0,
                     nullptr)) {
        return lastError();
    }
    return {};
}

Error WinInetFtpSession::changeDirectory(const std::string &directory)
{
    if (Error error = usableConnection()) {
        return error;
    }
    const std::string target = absolute(directory);
    if (!isSafeName(target)) {
        return transferError(TransferCode::NoMatchingEntry);
    }
    if (!FtpSetCurrentDirectoryW(m_connection.get(), ftpWireName(target).c_str())) {
        return lastError();
    }
    m_workingDirectory = currentDirectory(m_connection.get(), target);
    return {};
}

Error WinInetFtpSession::command(const std::vector<std::string> &commands)
{
    if (Error error = usableConnection()) {
        return error;
    }
    for (const auto &command : commands) {
        if (Error error = sendCommand(command)) {
            return error;
        }
    }
    return {};
}

Error WinInetFtpSession::list(const std::string &directory, std::string &listing)
{
    if (Error error = usableConnection()) {
        return error;
    }
    if (!isSafeName(directory)) {
        return transferError(TransferCode::NoMatchingEntry);
    }
    bool unsupported = false;
    Error error = listThroughLibrary(directory, listing, unsupported);
    if (unsupported) {
        error = listThroughOwnConnection(directory, listing);
    }
    return error;
}

Error WinInetFtpSession::listThroughLibrary(const std::string &directory, std::string &listing,
                                            bool &unsupported)
{
    const std::wstring command = ftpWireName("LIST " + directory);
    HINTERNET opened = nullptr;
    SetLastError(ERROR_SUCCESS);
    if (!FtpCommandW(m_connection.get(), TRUE, FTP_TRANSFER_TYPE_ASCII, command.c_str(), 0,
                     &opened)) {
        const DWORD code = GetLastError();
        // Wine's library fails here without a reason: it opens no data connection for commands.
        unsupported = code == ERROR_SUCCESS || code == ERROR_CALL_NOT_IMPLEMENTED;
        return unsupported ? Error{} : errorFromWinInet(code);
    }
    m_file.reset(opened);
    std::string text;
    std::string block(kListingBlock, '\0');
    while (true) {
        DWORD received = 0;
        if (!InternetReadFile(m_file.get(), block.data(), kListingBlock, &received)) {
            const Error error = lastError();
            m_file.reset();
            m_stale = true;
            return error;
        }
        if (received == 0) {
            break;
        }
        if (text.size() + received > kListingLimit) {
            // Dropping the data connection midway leaves the control connection unsure.
            m_file.reset();
            m_stale = true;
            return transferError(TransferCode::AnswerTooLarge);
        }
        text.append(block.data(), received);
    }
    if (Error error = closeFile()) {
        return error;
    }
    listing = std::move(text);
    return {};
}

Error WinInetFtpSession::listThroughOwnConnection(const std::string &directory,
                                                  std::string &listing)
{
    if (Error error = sendCommand("PASV")) {
        return error;
    }
    const auto port = passiveReplyPort(lastServerReply());
    if (!port) {
        return transferError(TransferCode::Internal);
    }
    FtpDataSocket data;
    if (Error error = data.connect(m_host, *port, m_options.connectTimeout)) {
        return error;
    }
    // A refusal of LIST is the server's final reply, which the library reads: the connection
    // stays in step.
    if (Error error = sendCommand("LIST " + directory)) {
        return error;
    }
    // From here the final reply of LIST is the next one on the control connection: the
    // library would take it for the reply to its next command, so this connection is replaced
    // after its reply has been read through one more command.
    m_stale = true;
    std::string text;
    Error error = data.receiveAll(text, kListingLimit, m_options.silenceTimeout);
    data.close();
    if (!error) {
        // The reply NOOP reads is LIST's own: a refusal there means the listing was cut short.
        error = sendCommand("NOOP");
    }
    if (!error) {
        listing = std::move(text);
    }
    return error;
}

Error WinInetFtpSession::openFile(const std::string &path, bool binary, DWORD access)
{
    if (Error error = usableConnection()) {
        return error;
    }
    if (!isSafeName(path)) {
        return transferError(TransferCode::NoMatchingEntry);
    }
    m_file.reset(FtpOpenFileW(m_connection.get(), ftpWireName(path).c_str(), access,
                              binary ? FTP_TRANSFER_TYPE_BINARY : FTP_TRANSFER_TYPE_ASCII, 0));
    if (!m_file) {
        return lastError();
    }
    m_fileEnded = false;
    return {};
}

Error WinInetFtpSession::closeFile()
{
    if (!m_file) {
        return transferError(TransferCode::ConnectionEnded);
    }
    // Closing the file reads the server's last word on the transfer.
    m_file.reset();
    const std::string reply = lastServerReply();
    if (isAcceptance(reply)) {
        return {};
    }
    m_stale = true;
    const bool refused = !reply.empty() && (reply[0] == '4' || reply[0] == '5');
    return refused ? transferError(TransferCode::ServerReply, reply)
                   : transferError(TransferCode::ConnectionEnded);
}

Error WinInetFtpSession::beginDownload(const std::string &path, bool binary, std::uint64_t offset)
{
    // The library sends the restart offset the control connection holds before its RETR.
    if (offset > 0) {
        if (Error error = usableConnection()) {
            return error;
        }
        if (Error error = sendCommand("REST " + std::to_string(offset))) {
            return error;
        }
    }
    return openFile(path, binary, GENERIC_READ);
}

std::size_t WinInetFtpSession::read(char *buffer, std::size_t count, Error &error)
{
    std::size_t taken = 0;
    while (taken < count && m_file && !m_fileEnded) {
        DWORD received = 0;
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count - taken, 1u << 30));
        if (!InternetReadFile(m_file.get(), buffer + taken, wanted, &received)) {
            error = lastError();
            abandonTransfer();
            return taken;
        }
        m_fileEnded = received == 0;
        taken += received;
    }
    if (taken < count && !m_file) {
        error = transferError(TransferCode::ConnectionEnded);
    }
    return taken;
}

Error WinInetFtpSession::endDownload()
{
    if (!m_file) {
        return transferError(TransferCode::ConnectionEnded);
    }
    if (!m_fileEnded) {
        // Everything expected was read: more data means the file changed meanwhile.
        char extra = 0;
        DWORD received = 0;
        if (!InternetReadFile(m_file.get(), &extra, 1, &received)) {
            const Error error = lastError();
            abandonTransfer();
            return error;
        }
        if (received != 0) {
            abandonTransfer();
            return transferError(TransferCode::SizeChanged);
        }
    }
    return closeFile();
}

Error WinInetFtpSession::beginUpload(const std::string &path, bool binary)
{
    return openFile(path, binary, GENERIC_WRITE);
}

Error WinInetFtpSession::write(const char *buffer, std::size_t count)
{
    if (!m_file) {
        return transferError(TransferCode::ConnectionEnded);
    }
    std::size_t sent = 0;
    while (sent < count) {
        DWORD written = 0;
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(count - sent, 1u << 30));
        if (!InternetWriteFile(m_file.get(), buffer + sent, piece, &written) || written == 0) {
            const Error error = lastError();
            abandonTransfer();
            return error;
        }
        sent += written;
    }
    return {};
}

Error WinInetFtpSession::endUpload()
{
    return closeFile();
}

void WinInetFtpSession::abandonTransfer()
{
    if (m_file) {
        m_file.reset();
        m_stale = true;
    }
}

} // namespace tollen::transfer
