#include "app/ProcessText.h"
#include "core/WideText.h"

#include <shellapi.h>
#include <windows.h>

namespace tollen::app {

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

} // namespace tollen::app
