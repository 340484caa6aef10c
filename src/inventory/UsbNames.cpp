#include "inventory/UsbNames.h"

#include "core/Text.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <string_view>

namespace tollen::inventory {

namespace {

/// Four hexadecimal digits followed by two spaces and the name.
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

std::uint32_t key(std::uint16_t vendor, std::uint16_t product)
{
    return (static_cast<std::uint32_t>(vendor) << 16) | product;
}

} // namespace

UsbNames::UsbNames(const std::filesystem::path &idsFile)
{
    std::ifstream stream(idsFile, std::ios::binary);
    std::string line;
    std::optional<std::uint16_t> vendor;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '\t') {
            const auto product = line.size() > 1 && line[1] != '\t'
                                     ? idLine(std::string_view(line).substr(1))
                                     : std::nullopt;
            if (vendor && product) {
                m_products[key(*vendor, product->first)] =
                    m_vendors[*vendor] + " " + decodeFileText(product->second);
            }
            continue;
        }
        // The vendor list ends where the other lists (classes, languages ...) begin.
        const auto vendorLine = idLine(line);
        if (!vendorLine) {
            break;
        }
        vendor = vendorLine->first;
        m_vendors[*vendor] = decodeFileText(vendorLine->second);
    }
}

std::string UsbNames::name(std::uint16_t vendor, std::uint16_t product) const
{
    if (const auto found = m_products.find(key(vendor, product)); found != m_products.end()) {
        return found->second;
    }
    const auto found = m_vendors.find(vendor);
    return found != m_vendors.end() ? found->second : std::string();
}

} // namespace tollen::inventory
