#pragma once
// Limits and trust settings shared by the FTP session and the HTTP control.

#include <chrono>
#include <string>

namespace tollen::transfer {

struct TransferOptions
{
    /// Longest wait for a connection to be made.
    std::chrono::seconds connectTimeout{60};
    /// Longest time a transfer or a server reply may stay silent before it fails.
    std::chrono::seconds silenceTimeout{60};
    /// A PEM file of certificate authorities to trust instead of the system's; empty uses the
    /// system's. Certificates are always verified.
    std::string trustedCertificates;
};

} // namespace tollen::transfer
