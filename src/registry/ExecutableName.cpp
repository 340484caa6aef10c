#include "registry/ExecutableName.h"

#include "core/PathText.h"
#include "core/SystemFiles.h"

namespace tollen::registry {

const std::string &executableBaseName()
{
    static const std::string name = [] {
        const auto stem = utf8FromPath(executablePath().stem());
        return stem.empty() ? std::string("tollen") : stem;
    }();
    return name;
}

} // namespace tollen::registry
