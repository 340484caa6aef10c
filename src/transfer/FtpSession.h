#pragma once
// The FTP session under cFTP: one logged-in control connection on libcurl, kept for every
// request until `close`. The session tracks the remote working directory itself and addresses
// every file by its absolute path, so libcurl never changes directory behind its back. Server
// commands (CWD, PWD, MKD ...) go out as quote commands marked so that a refusal does not drop
// the connection; their replies are read from the control channel's log. Downloads and uploads
// are pull style: the caller reads or writes any number of bytes and the session runs libcurl
// just until they are available or sent, with a bounded buffer in between.

#include "core/Error.h"
#include "transfer/CurlSession.h"
#include "transfer/PullBuffer.h"
#include "transfer/TransferOptions.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tollen {

class FtpSession
{
public:
    explicit FtpSession(TransferOptions options);

    /// Connects and logs in. `server` is "name", "name:port", "ftp://name[:port]" or
    /// "ftps://name[:port]" (explicit TLS on the control and data connections).
    Error login(const std::string &server, const std::string &user, const std::string &password,
                bool passive);
    void close();
    bool connected() const { return m_connected; }

    /// The working directory: an absolute path, as the server's PWD reports it.
    const std::string &workingDirectory() const { return m_workingDirectory; }
    /// `path` made absolute against the working directory.
    std::string absolute(const std::string &path) const;

    Error changeDirectory(const std::string &directory);
    /// Sends the commands in order; fails with the server's reply at the first refusal.
    Error command(const std::vector<std::string> &commands);
    /// A listing longer than this ends with an AnswerTooLarge failure: a server that sends
    /// listing data without end must not take all the memory there is.
    static constexpr std::size_t kListingLimit = 64 * 1024 * 1024;

    /// The raw LIST answer for an absolute directory path.
    Error list(const std::string &directory, std::string &listing);

    /// Starts reading the file at an absolute path; fails when the server refuses it.
    Error beginDownload(const std::string &path, bool binary);
    /// Reads up to `count` bytes; fewer only when the transfer ended, and `error` is set when
    /// it ended in a failure.
    std::size_t read(char *buffer, std::size_t count, Error &error);
    /// Waits for the end of the transfer; fails if it failed or sent more than was read.
    Error endDownload();

    Error beginUpload(const std::string &path, bool binary);
    Error write(const char *buffer, std::size_t count);
    Error endUpload();

    /// Abandons a transfer in progress (the server then sees the connection close).
    void abandonTransfer();

private:
    struct Exchange
    {
        std::string command;
        std::string reply;
    };

    void prepareRequest(const std::string &url);
    Error runToEnd(int waitMilliseconds);
    Error currentError() const;

    static int onDebug(CURL *, curl_infotype type, char *data, std::size_t size, void *self);
    static std::size_t onData(char *data, std::size_t size, std::size_t count, void *self);
    static std::size_t onRead(char *data, std::size_t size, std::size_t count, void *self);
    void takeReplyText(std::string_view text);

    TransferOptions m_options;
    std::unique_ptr<CurlSession> m_curl; // recreated by close(), which drops the connection
    std::string m_root;                  // "ftp://name:port"
    bool m_tls = false;
    bool m_passive = false;
    std::string m_user;
    std::string m_password;
    bool m_connected = false;
    std::string m_workingDirectory;

    std::vector<Exchange> m_exchanges; // commands and replies of the current request
    std::string m_partialReply;
    std::string m_lastReply;

    PullBuffer m_buffer; // transfer data between libcurl and the caller
    bool m_uploadEnded = false;
    bool m_uploadStarted = false;
    bool m_collectAll = false; // listings: keep everything, no high-water mark
    bool m_tooLarge = false;   // a listing passed kListingLimit
    bool m_ending = false;     // the caller has read all it expected
    bool m_extraData = false;  // data arrived beyond what the caller expected
    CurlList m_quote;
};

} // namespace tollen
