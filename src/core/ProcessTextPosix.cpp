#include "core/ProcessText.h"

namespace tollen {

std::vector<std::string> utf8Arguments(int argc, char *argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void showUtf8OnConsole() {}

} // namespace tollen
