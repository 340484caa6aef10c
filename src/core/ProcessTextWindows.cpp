#include "core/ProcessText.h"
#include "core/WideText.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

namespace tollen {

std::vector<std::string> utf8Arguments(int, char *[])
{
    // argv holds the arguments in the ANSI code page, where other characters became '?'.
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (wide == nullptr) {
        return arguments;
    }
    for (int index = 1; index < count; ++index) {
        arguments.push_back(utf8FromWide(wide[index]));
    }
    LocalFree(wide);
    return arguments;
}

void showUtf8OnConsole()
{
    // Fails harmlessly when there is no console (output to a file or a pipe).
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace tollen
