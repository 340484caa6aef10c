#pragma once

#include <QSocketNotifier>
#include <memory>

namespace tollen::ui::qt {

/// While it lives, SIGTERM, SIGINT and SIGHUP (a session ending, Ctrl+C) close the program's
/// windows as the user would, so each window's close handling runs, and then end the event loop.
/// The signal handler only writes a byte to a pipe; the event loop does the rest.
class TerminationSignals
{
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

private:
    int m_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace tollen::ui::qt
