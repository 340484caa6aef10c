#pragma once
// The FTP session on libcurl. Every file is addressed by its absolute path, so libcurl never
// changes directory behind the session's back. Server commands (CWD, PWD, MKD ...) go out as
// quote commands marked so that a refusal does not drop the connection; their replies are read
// from the control channel's log. Downloads and uploads run libcurl just until the bytes the caller
// wants are available or sent, with a bounded buffer in between.

#include "transfer/CurlSession.h"
#include "transfer/FtpSession.h"
#include "transfer/PullBuffer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tollen::transfer {

class CurlFtpSession : public FtpSession
{
public:
    explicit CurlFtpSession(TransferOptions options);

    Error login(const std::string &server, const std::string &user, const std::string &password,
                bool passive) override;
    void close() override;
    bool connected() const override { return m_connected; }

    const std::string &workingDirectory() const override { return m_workingDirectory; }

    Error changeDirectory(const std::string &directory) override;
    Error command(const std::vector<std::string> &commands) override;
    Error list(const std::string &directory, std::string &listing) override;
    Error beginDownload(const std::string &path, bool binary, std::uint64_t offset) override;
    std::size_t read(char *buffer, std::size_t count, Error &error) override;
    Error endDownload() override;
    Error beginUpload(const std::string &path, bool binary) override;
    Error write(const char *buffer, std::size_t count) override;
    Error endUpload() override;
    void abandonTransfer() override;

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

} // namespace tollen::transfer
