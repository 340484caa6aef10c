#pragma once
// The FTP session under cFTP: one logged-in control connection, kept for every request until
// `close`. The session tracks the remote working directory itself and addresses every file by
// its absolute path. Downloads and uploads are pull style: the caller reads or writes any number
// of bytes and the session moves just enough data to serve it. Each system has its own session
// (libcurl on Linux, the internet library on Windows), made by `create`.

#include "core/Error.h"
#include "transfer/TransferOptions.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tollen::transfer {

class FtpSession
{
public:
    /// The session of the system the program runs on.
    static std::unique_ptr<FtpSession> create(TransferOptions options);

    virtual ~FtpSession() = default;
    FtpSession(const FtpSession &) = delete;
    FtpSession &operator=(const FtpSession &) = delete;

    /// Connects and logs in. `server` is "name", "name:port", "ftp://name[:port]" or
    /// "ftps://name[:port]" (explicit TLS on the control and data connections).
    virtual Error login(const std::string &server, const std::string &user,
                        const std::string &password, bool passive) = 0;
    virtual void close() = 0;
    virtual bool connected() const = 0;

    /// The working directory: an absolute path, as the server's PWD reports it.
    virtual const std::string &workingDirectory() const = 0;
    /// `path` made absolute against the working directory.
    std::string absolute(const std::string &path) const;

    virtual Error changeDirectory(const std::string &directory) = 0;
    /// Sends the commands in order; fails with the server's reply at the first refusal.
    virtual Error command(const std::vector<std::string> &commands) = 0;
    /// A listing longer than this ends with an AnswerTooLarge failure: a server that sends
    /// listing data without end must not take all the memory there is.
    static constexpr std::size_t kListingLimit = 64 * 1024 * 1024;

    /// The raw LIST answer for an absolute directory path.
    virtual Error list(const std::string &directory, std::string &listing) = 0;

    /// Starts reading the file at an absolute path from byte `offset` on (a restart offset the
    /// server must accept); fails when the server refuses it.
    virtual Error beginDownload(const std::string &path, bool binary, std::uint64_t offset) = 0;
    /// Reads up to `count` bytes; fewer only when the transfer ended, and `error` is set when
    /// it ended in a failure.
    virtual std::size_t read(char *buffer, std::size_t count, Error &error) = 0;
    /// Waits for the end of the transfer; fails if it failed or sent more than was read.
    virtual Error endDownload() = 0;

    virtual Error beginUpload(const std::string &path, bool binary) = 0;
    virtual Error write(const char *buffer, std::size_t count) = 0;
    virtual Error endUpload() = 0;

    /// Abandons a transfer in progress (the server then sees the connection close).
    virtual void abandonTransfer() = 0;

protected:
    FtpSession() = default;
};

} // namespace tollen::transfer
