#pragma once
// What the reliability tests share: the main window's transfer routines on headless controls,
// with short limits for silent servers, and a local folder whose files the tests compare before
// and after a failure.

#include "TestServers.h"
#include "transfer/Inet.h"
#include "transfer/cFTP.h"
#include "ui/HeadlessForm1.h"
#include "ui/TransferRoutines.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tollen::testing {

/// Limits short enough for a test to wait them out.
inline transfer::TransferOptions shortLimits()
{
    return transfer::TransferOptions{.connectTimeout = std::chrono::seconds(2),
                                     .silenceTimeout = std::chrono::seconds(2),
                                     .trustedCertificates = {}};
}

/// The routines of one main window without a screen.
struct HeadlessTransfers
{
    HeadlessTransfers();

    /// Chooses the protocol and fills the host box; FTP logs in as user "user", "secret", in
    /// passive mode (the scripted server's only one).
    void choose(bool ftp, const std::string &host);

    ui::HeadlessForm1 form;
    ui::Form1Controls controls;
    transfer::cFTP q;
    transfer::Inet inet;
    ui::TransferRoutines routines;
};

} // namespace tollen::testing
