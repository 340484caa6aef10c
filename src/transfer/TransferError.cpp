#include "transfer/TransferError.h"

#include <utility>

namespace tollen::transfer {

std::string_view describe(TransferCode code)
{
    switch (code) {
    case TransferCode::LocalFileOpen:
        return "The local file cannot be opened.";
    case TransferCode::NotConnected:
        return "No connection is open.";
    case TransferCode::AnswerTooLarge:
        return "The server sent a listing or header larger than the program accepts.";
    case TransferCode::NoMatchingEntry:
        return "No matching entry was found.";
    case TransferCode::LocalFileWrite:
        return "The local file cannot be written.";
    case TransferCode::LocalFileRead:
        return "The local file cannot be read.";
    case TransferCode::TimedOut:
        return "The server did not answer in time.";
    case TransferCode::ServerReply:
        return "";
    case TransferCode::Internal:
        return "The transfer failed for an unexpected reason.";
    case TransferCode::SecureFtpUnsupported:
        return "FTP over TLS (ftps://) is not available in this build of the program.";
    case TransferCode::CertificateFileUnsupported:
        return "A file of trusted certificates cannot be used in this build of the program; add "
               "the certificate to the system's certificate store instead.";
    case TransferCode::BadServerName:
        return "The server name is not valid or cannot be resolved.";
    case TransferCode::CannotConnect:
        return "A connection with the server cannot be made.";
    case TransferCode::ConnectionEnded:
        return "The connection ended before the transfer was complete.";
    case TransferCode::PartsOfUnknownVersion:
        return "The server sent part of the file without naming its version, so the rest cannot "
               "be asked for.";
    case TransferCode::SizeChanged:
        return "The server sent more data than the size it announced.";
    case TransferCode::UnaskedPart:
        return "The server answered with another part of the file than the one asked for.";
    case TransferCode::InsecureConnection:
        return "A secure connection cannot be made or the server's certificate is not trusted.";
    }
    return "";
}

Error transferError(TransferCode code, std::string serverReply)
{
    if (code == TransferCode::ServerReply) {
        return Error{static_cast<int>(code), std::move(serverReply)};
    }
    return Error{static_cast<int>(code), std::string(describe(code))};
}

} // namespace tollen::transfer
