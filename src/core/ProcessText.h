#pragma once
// The text a command-line program exchanges with its caller as UTF-8, whatever the system's
// own forms: on Windows the arguments arrive as UTF-16 and a console shows its code page.

#include <string>
#include <vector>

namespace tollen {

/// The arguments after the program's name, as UTF-8. On Linux they are argv's bytes; on Windows
/// they are read from the process's UTF-16 command line, so names outside the code page
/// survive.
std::vector<std::string> utf8Arguments(int argc, char *argv[]);

/// Makes a console that standard output and standard error write to show UTF-8 (Windows);
/// nothing on Linux, whose terminals take the bytes as they are.
void showUtf8OnConsole();

} // namespace tollen
