#include "cli/Terminal.h"

#include <unistd.h>

namespace tollen::cli {

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace tollen::cli
