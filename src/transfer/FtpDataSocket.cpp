#include "transfer/FtpDataSocket.h"

#include "transfer/TransferError.h"

#include <mutex>
#include <vector>
#include <winsock2.h>
#include <ws2tcpip.h>

namespace tollen::transfer {
namespace {

constexpr std::size_t kReceiveBlock = 64 * 1024;

bool startSocketsOnce()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        WSADATA data{};
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return started;
}

timeval waitTime(std::chrono::seconds seconds)
{
    return timeval{static_cast<long>(seconds.count()), 0};
}

/// Waits until `socket` can be written (a connect ended) or read; false after `timeout`.
bool waitFor(SOCKET socket, bool writable, std::chrono::seconds timeout)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(socket, &failed);
    timeval wait = waitTime(timeout);
    return select(0, writable ? nullptr : &set, writable ? &set : nullptr, &failed, &wait) > 0;
}

} // namespace

FtpDataSocket::~FtpDataSocket()
{
    close();
}

void FtpDataSocket::close()
{
    if (m_socket != INVALID_SOCKET) {
        closesocket(static_cast<SOCKET>(m_socket));
        m_socket = INVALID_SOCKET;
    }
}

Error FtpDataSocket::connect(const std::string &host, int port, std::chrono::seconds timeout)
{
    close();
    if (!startSocketsOnce()) {
        return transferError(TransferCode::Internal);
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return transferError(TransferCode::BadServerName);
    }
    Error error = transferError(TransferCode::CannotConnect);
    for (addrinfo *address = found; address != nullptr; address = address->ai_next) {
        const SOCKET candidate =
            socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (candidate == INVALID_SOCKET) {
            continue;
        }
        u_long nonBlocking = 1;
        ioctlsocket(candidate, FIONBIO, &nonBlocking);
        const int started =
            ::connect(candidate, address->ai_addr, static_cast<int>(address->ai_addrlen));
        bool connected = started == 0;
        if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
            int failure = 0;
            int length = sizeof failure;
            connected = waitFor(candidate, true, timeout) &&
                        getsockopt(candidate, SOL_SOCKET, SO_ERROR,
                                   reinterpret_cast<char *>(&failure), &length) == 0 &&
                        failure == 0;
        }
        if (connected) {
            m_socket = candidate;
            error = {};
            break;
        }
        closesocket(candidate);
    }
    freeaddrinfo(found);
    return error;
}

Error FtpDataSocket::receiveAll(std::string &data, std::size_t limit, std::chrono::seconds silence)
{
    std::vector<char> block(kReceiveBlock);
    const auto socket = static_cast<SOCKET>(m_socket);
    while (true) {
        if (!waitFor(socket, false, silence)) {
            return transferError(TransferCode::TimedOut);
        }
        const int received = recv(socket, block.data(), static_cast<int>(block.size()), 0);
        if (received == 0) {
            return {};
        }
        if (received < 0) {
            if (WSAGetLastError() == WSAEWOULDBLOCK) {
                continue;
            }
            return transferError(TransferCode::ConnectionEnded);
        }
        if (data.size() + static_cast<std::size_t>(received) > limit) {
            return transferError(TransferCode::AnswerTooLarge);
        }
        data.append(block.data(), static_cast<std::size_t>(received));
    }
}

} // namespace tollen::transfer
