#include "transfer/WinInetHandle.h"

#include "core/WideText.h"
#include "transfer/TransferError.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace tollen::transfer {
namespace {

constexpr wchar_t kAgent[] = L"Tollen";

DWORD milliseconds(std::chrono::seconds seconds)
{
    const auto count = std::chrono::duration_cast<std::chrono::milliseconds>(seconds).count();
    return static_cast<DWORD>(
        std::clamp<long long>(count, 1, std::numeric_limits<DWORD>::max() - 1));
}

bool isRefusal(const std::string &reply)
{
    return reply.size() >= 3 && (reply[0] == '4' || reply[0] == '5');
}

} // namespace

InternetHandle openInternet(bool useSystemProxy)
{
    return InternetHandle(InternetOpenW(
        kAgent, useSystemProxy ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_DIRECT, nullptr,
        nullptr, 0));
}

void applyTimeouts(HINTERNET handle, const TransferOptions &options)
{
    DWORD connect = milliseconds(options.connectTimeout);
    DWORD silence = milliseconds(options.silenceTimeout);
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &silence, sizeof silence);
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &silence, sizeof silence);
    InternetSetOptionW(handle, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &silence, sizeof silence);
    InternetSetOptionW(handle, INTERNET_OPTION_DATA_SEND_TIMEOUT, &silence, sizeof silence);
}

std::string lastServerReply()
{
    DWORD error = 0;
    DWORD length = 0;
    InternetGetLastResponseInfoW(&error, nullptr, &length);
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 2, L'\0');
    length = static_cast<DWORD>(text.size());
    if (!InternetGetLastResponseInfoW(&error, text.data(), &length)) {
        return {};
    }
    std::string reply =
        utf8FromWide(std::wstring_view(text.data(), std::min<std::size_t>(length, text.size())));
    reply = reply.substr(0, reply.find('\0'));
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r')) {
        reply.pop_back();
    }
    return reply;
}

Error errorFromWinInet(DWORD code)
{
    switch (code) {
    case ERROR_SUCCESS:
        return transferError(TransferCode::Internal);
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
    case ERROR_INTERNET_INVALID_URL:
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        return transferError(TransferCode::BadServerName);
    case ERROR_INTERNET_CANNOT_CONNECT:
        return transferError(TransferCode::CannotConnect);
    case ERROR_INTERNET_TIMEOUT:
        return transferError(TransferCode::TimedOut);
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
    case ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED:
        return transferError(TransferCode::InsecureConnection);
    case ERROR_INTERNET_EXTENDED_ERROR:
    case ERROR_INTERNET_LOGIN_FAILURE:
    case ERROR_FTP_TRANSFER_IN_PROGRESS:
    case ERROR_FTP_DROPPED:
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_INTERNET_INCORRECT_HANDLE_STATE: {
        // Only these carry a reply of the server's own: after other failures the library
        // still holds the reply to an earlier command.
        const std::string reply = lastServerReply();
        if (isRefusal(reply)) {
            return transferError(TransferCode::ServerReply, reply);
        }
        const bool ended = code == ERROR_INTERNET_CONNECTION_ABORTED ||
                           code == ERROR_INTERNET_CONNECTION_RESET || code == ERROR_FTP_DROPPED;
        return transferError(ended ? TransferCode::ConnectionEnded : TransferCode::Internal);
    }
    default:
        return transferError(TransferCode::Internal);
    }
}

} // namespace tollen::transfer
