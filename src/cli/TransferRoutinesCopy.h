#pragma once
// Transfer routines of their own with the window's network settings, for a command that moves
// several files at once: the window's routines work one transfer at a time, through its one FTP
// connection and its one HTTP control. A copy has its own controls (never shown), FTP object and
// HTTP control, and is used by one thread at a time.

#include "database/RemoteFiles.h"
#include "transfer/Inet.h"
#include "transfer/TransferOptions.h"
#include "transfer/cFTP.h"
#include "ui/HeadlessForm1.h"
#include "ui/TransferRoutines.h"

#include <string>

namespace tollen::cli {

/// The network settings of the window at one moment, as its controls hold them.
struct NetworkSettings
{
    int protocol = 0;
    std::string host;
    std::string path;
    std::string user;
    std::string password;
    transfer::TransferOptions transferOptions;

    static NetworkSettings of(const ui::HeadlessForm1 &controls,
                              transfer::TransferOptions transferOptions);
};

class TransferRoutinesCopy
{
public:
    explicit TransferRoutinesCopy(const NetworkSettings &settings);
    TransferRoutinesCopy(const TransferRoutinesCopy &) = delete;
    TransferRoutinesCopy &operator=(const TransferRoutinesCopy &) = delete;

    database::RemoteFiles &files() { return m_routines; }

private:
    ui::HeadlessForm1 m_controls;
    ui::Form1Controls m_bound = m_controls.controls();
    transfer::cFTP m_q;
    transfer::Inet m_inet;
    ui::TransferRoutines m_routines;
};

} // namespace tollen::cli
