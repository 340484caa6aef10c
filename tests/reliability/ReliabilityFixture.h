#pragma once
// What the reliability tests share: the main window's transfer routines on headless controls,
// with short limits for silent servers.

#include "TestServers.h"
#include "transfer/Inet.h"
#include "transfer/cFTP.h"
#include "ui/HeadlessForm1.h"
#include "ui/TransferRoutines.h"

#include <string>

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
    HeadlessTransfers()
        : controls(form.controls()), q(shortLimits()), inet(shortLimits()),
          routines(q, inet, controls)
    {
        form.Option1.addOption("HTTP");
        form.Option1.addOption("FTP");
    }

    /// Chooses the protocol and fills the host box; FTP logs in as user "user", "secret", in
    /// passive mode (the scripted server's only one).
    void choose(bool ftp, const std::string &host)
    {
        form.Option1.select(ftp ? 1 : 0);
        form.host.setText(host);
        form.path.setText("/");
        form.user.setText("user");
        form.pass.setText("secret");
        q.SetModePassive();
    }

    /// Downloads the remote path to `destination` as the window does.
    std::int16_t download(const std::string &remotePath, const std::filesystem::path &destination)
    {
        std::string strurl = remotePath;
        std::string strdestination = destination.string();
        return routines.DownloadFile(strurl, strdestination);
    }

    ui::HeadlessForm1 form;
    ui::Form1Controls controls;
    transfer::cFTP q;
    transfer::Inet inet;
    ui::TransferRoutines routines;
};

} // namespace tollen::testing
