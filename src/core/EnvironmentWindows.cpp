#include "core/Environment.h"
#include "core/PathText.h"
#include "core/WideText.h"

#include <windows.h>

namespace tollen {

std::optional<std::string> environmentVariable(std::string_view name)
{
    // The system matches names without regard to letter case itself.
    const std::wstring wideName = wideFromUtf8(name);
    std::wstring value(256, L'\0');
    while (true) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                return std::nullopt;
            }
            return std::string();
        }
        if (length < value.size()) {
            value.resize(length);
            return utf8FromWide(value);
        }
        value.resize(length);
    }
}

std::filesystem::path temporaryDirectory()
{
    if (const auto value = environmentVariable("TEMP"); value && !value->empty()) {
        return pathFromUtf8(*value);
    }
    std::wstring folder(MAX_PATH + 1, L'\0');
    const DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length > folder.size()) {
        return std::filesystem::path(L"C:\\Windows\\Temp");
    }
    folder.resize(length);
    return std::filesystem::path(folder);
}

} // namespace tollen
