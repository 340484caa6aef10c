#include "app/ProcessText.h"

namespace tollen::app {

std::vector<std::string> utf8Arguments(int argc, char *argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void showUtf8OnConsole() {}

} // namespace tollen::app
