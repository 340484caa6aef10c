#include "app/Terminal.h"

#include <unistd.h>

namespace tollen::app {

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace tollen::app
