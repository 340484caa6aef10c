#pragma once
// A data connection of the FTP session's own on Windows sockets, for the one answer the
// internet library of Wine cannot give: a raw directory listing (its FtpCommand opens no data
// connection, and its own listing reader cuts names at the first space). Windows only.

#include "core/Error.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace tollen::transfer {

class FtpDataSocket
{
public:
    FtpDataSocket() = default;
    ~FtpDataSocket();
    FtpDataSocket(const FtpDataSocket &) = delete;
    FtpDataSocket &operator=(const FtpDataSocket &) = delete;

    /// Connects to `port` of `host`, waiting at most `timeout`.
    Error connect(const std::string &host, int port, std::chrono::seconds timeout);
    /// Appends everything up to the end of the connection to `data`. Fails with AnswerTooLarge
    /// once `data` would pass `limit`, with TimedOut after `silence` without a byte.
    Error receiveAll(std::string &data, std::size_t limit, std::chrono::seconds silence);
    void close();

private:
    unsigned long long m_socket = ~0ULL; // a SOCKET; INVALID_SOCKET when closed
};

} // namespace tollen::transfer
