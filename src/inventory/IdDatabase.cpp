#include "inventory/IdDatabase.h"

#include "core/FilePrefix.h"
#include "core/Text.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

namespace tollen::inventory {
namespace {

/// The databases this system ships are a few megabytes; anything past this is not one.
constexpr std::size_t kMaximumFileSize = 64 * 1024 * 1024;

/// Four hexadecimal digits, two spaces and a name.
std::optional<std::pair<std::uint16_t, std::string_view>> idLine(std::string_view line)
{
    std::uint16_t id = 0;
    if (line.size() < 7 || line.substr(4, 2) != "  ") {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(line.data(), line.data() + 4, id, 16);
    if (error != std::errc() || end != line.data() + 4) {
        return std::nullopt;
    }
    return std::make_pair(id, line.substr(6));
}

/// The first line of one of the lists that follow the vendors: a tag of capitals, a space and a
/// hexadecimal number ("C 02  Network controller", "HID 22  Physical Descriptor").
bool startsOtherList(std::string_view line)
{
    const std::size_t tagEnd = line.find(' ');
    if (tagEnd == 0 || tagEnd > 4 || tagEnd + 1 >= line.size() ||
        line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != tagEnd) {
        return false;
    }
    const char digit = line[tagEnd + 1];
    return (digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f') ||
           (digit >= 'A' && digit <= 'F');
}

std::uint32_t key(std::uint16_t vendor, std::uint16_t device)
{
    return (static_cast<std::uint32_t>(vendor) << 16) | device;
}

} // namespace

IdDatabase::IdDatabase(const std::filesystem::path &idsFile)
{
    const std::string text = readFilePrefix(idsFile, kMaximumFileSize).value_or(std::string());
    std::optional<std::uint16_t> vendor;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] != '\t') {
            if (startsOtherList(line)) {
                break;
            }
            // Any other line at the top level ends the vendor above it.
            const auto vendorLine = idLine(line);
            vendor = vendorLine ? std::optional(vendorLine->first) : std::nullopt;
            if (vendorLine) {
                m_vendors.try_emplace(vendorLine->first, decodeFileText(vendorLine->second));
            }
            continue;
        }
        if (!vendor || (line.size() > 1 && line[1] == '\t')) {
            continue;
        }
        if (const auto deviceLine = idLine(line.substr(1))) {
            m_devices.try_emplace(key(*vendor, deviceLine->first),
                                  decodeFileText(deviceLine->second));
        }
    }
}

const std::string *IdDatabase::vendor(std::uint16_t vendor) const
{
    const auto found = m_vendors.find(vendor);
    return found != m_vendors.end() ? &found->second : nullptr;
}

const std::string *IdDatabase::device(std::uint16_t vendor, std::uint16_t device) const
{
    const auto found = m_devices.find(key(vendor, device));
    return found != m_devices.end() ? &found->second : nullptr;
}

} // namespace tollen::inventory
