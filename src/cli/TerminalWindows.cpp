#include "cli/Terminal.h"

#include <windows.h>

namespace tollen::cli {

bool standardErrorIsTerminal()
{
    const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || console == nullptr || !GetConsoleMode(console, &mode)) {
        return false;
    }
    // Consoles older than Windows 10 do not take the sequences: no progress line there.
    constexpr DWORD kVirtualTerminalProcessing = 0x0004;
    return (mode & kVirtualTerminalProcessing) != 0 ||
           SetConsoleMode(console, mode | kVirtualTerminalProcessing) != 0;
}

} // namespace tollen::cli
