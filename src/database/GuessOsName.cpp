#include "database/GuessOsName.h"

#include "core/Text.h"

#include <array>
#include <utility>

namespace tollen::database {
namespace {

using Row = std::pair<std::string_view, std::string_view>;

// The decorations in upper case, in the order they are tried. Every key occurs once.
constexpr std::array<Row, 26> kDecorations = {{
    {"NTX86.5.1.1", "Windows Server 2003 32-Bit"},
    {"NTIA64", "Windows for Itanium 64 (2000/XP)"},
    {"NTAMD64.6", "Windows 64-Bit (Vista+)"},
    {"NT.6", "Windows 32-Bit (Vista+)"},
    {"NTAMD64", "Windows 64-Bit (XP+)"},
    {"NTX86", "Windows 32-Bit (XP+)"},
    {"NTAMD64.5.1", "Windows XP 64-Bit"},
    {"NTAMD64.6.0", "Vista 64-Bit"},
    {"NTAMD64.6.1", "Windows 7 64-Bit"},
    {"NTAMD64.6.2", "Windows 8 64-Bit"},
    {"NTAMD64.5.2.1", "Windows Server 2003 64-Bit"},
    {"NTAMD64.6.0.1", "Windows Server 2008 64-Bit"},
    {"NTAMD64.6.1.1", "Windows Server 2008 R2 64-Bit"},
    {"NTAMD64.6.2.1", "Windows Server 2012 64-Bit"},
    {"NTAMD64.6.3.1", "Windows Server 2012 R2 64-Bit"},
    {"NTX86.5.2.1", "Windows Server 2003 32-Bit"},
    {"NTX86.6.0.1", "Windows Server 2008 32-Bit"},
    {"NTX86.6.1.1", "Windows Server 2008 R2 32-Bit"},
    {"NTX86.6.2.1", "Windows Server 2012 32-Bit"},
    {"NTX86.6.3.1", "Windows Server 2012 R2 32-Bit"},
    {"NTAMD64.6.3", "Windows 8.1 64-Bit"},
    {"NTX86.5.1", "Windows XP 32-Bit"},
    {"NTX86.6.0", "Vista 32-Bit"},
    {"NTX86.6.1", "Windows 7 32-Bit"},
    {"NTX86.6.2", "Windows 8 32-Bit"},
    {"NTX86.6.3", "Windows 8.1 32-Bit"},
}};

} // namespace

std::optional<std::string_view> GuessOsName(std::string_view decoration)
{
    // The keys are upper case, so a decoration equal to one ignoring case is that key upper-cased.
    for (const auto &[key, osName] : kDecorations) {
        if (equalsIgnoringCase(decoration, key)) {
            return osName;
        }
    }
    return std::nullopt;
}

} // namespace tollen::database
