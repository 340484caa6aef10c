#include "core/SystemError.h"

#include "core/SystemFiles.h"

#include <cerrno>

namespace tollen {

Error systemError(const std::string &what)
{
    const int code = errno != 0 ? errno : EIO;
    return Error{code, what + ": " + systemErrorText(code)};
}

} // namespace tollen
