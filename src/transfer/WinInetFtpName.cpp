#include "transfer/WinInetFtpName.h"

#include "core/Text.h"
#include "core/WideText.h"

#include <algorithm>
#include <windows.h>

namespace tollen::transfer {
namespace {

/// The bytes of the wide text in the ANSI code page.
std::string ansiBytes(const std::wstring &wide)
{
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

/// The wide text the ANSI code page reads from the bytes; empty where it cannot read them.
std::wstring fromAnsiBytes(const std::string &bytes)
{
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                        wide.data(), length);
    return wide;
}

} // namespace

std::wstring ftpWireName(const std::string &utf8)
{
    const std::wstring carried = fromAnsiBytes(utf8);
    if (!carried.empty() && ansiBytes(carried) == utf8) {
        return carried;
    }
    return wideFromUtf8(utf8);
}

std::string ftpNameFromWire(const std::wstring &wide)
{
    const std::string bytes = ansiBytes(wide);
    if (isValidUtf8(bytes) && fromAnsiBytes(bytes) == wide) {
        return bytes;
    }
    return utf8FromWide(wide);
}

} // namespace tollen::transfer
