#pragma once
// Whether standard error is a terminal that draws tollen-cli's progress line (a carriage return
// and the erase-line sequence).

namespace tollen::cli {

/// On Windows a console answers yes once it has been switched to the terminal sequences.
bool standardErrorIsTerminal();

} // namespace tollen::cli
