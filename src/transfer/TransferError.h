#pragma once
// The fixed table of failure codes the transfer layer reports. The numbers follow the Windows
// internet library's where one exists, because the program's error texts carry them; the texts
// are our own, except for ServerReply, whose text is the server's last reply.

#include "core/Error.h"

#include <string>
#include <string_view>

namespace tollen::transfer {

enum class TransferCode : int {
    LocalFileOpen = 2,
    NotConnected = 6,
    AnswerTooLarge = 8,
    NoMatchingEntry = 18,
    LocalFileWrite = 29,
    LocalFileRead = 30,
    TimedOut = 12002,
    ServerReply = 12003,
    Internal = 12004,
    SecureFtpUnsupported = 12006,
    BadServerName = 12007,
    CertificateFileUnsupported = 12009,
    CannotConnect = 12029,
    ConnectionEnded = 12030,
    PartsOfUnknownVersion = 12150,
    SizeChanged = 12152,
    UnaskedPart = 12153,
    InsecureConnection = 12157,
};

/// The text of a code (empty for ServerReply, whose text is the reply itself).
std::string_view describe(TransferCode code);

/// A failure with the code's own text; a ServerReply carries `serverReply` as its text.
Error transferError(TransferCode code, std::string serverReply = {});

} // namespace tollen::transfer
