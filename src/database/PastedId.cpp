#include "database/PastedId.h"

#include "core/Text.h"
#include "database/IdPlacement.h"

#include <algorithm>

namespace tollen::database {
namespace {

constexpr std::size_t kNumberDigits = 4;

bool isHexNumber(std::string_view text)
{
    return text.size() == kNumberDigits && std::ranges::all_of(text, [](char character) {
               const char lower = asciiLower(character);
               return isAsciiDigit(character) || (lower >= 'a' && lower <= 'f');
           });
}

/// "8086:100e" as the bus's ID of that vendor and device.
std::optional<std::string> vendorDevicePair(std::string_view text, PastedBus bus)
{
    if (text.starts_with('[') && text.ends_with(']')) {
        text = text.substr(1, text.size() - 2);
    }
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || !isHexNumber(text.substr(0, colon)) ||
        !isHexNumber(text.substr(colon + 1))) {
        return std::nullopt;
    }
    const std::string vendor = asciiUpper(text.substr(0, colon));
    const std::string device = asciiUpper(text.substr(colon + 1));
    if (bus == PastedBus::Usb) {
        return "USB\\VID_" + vendor + "&PID_" + device;
    }
    return "PCI\\VEN_" + vendor + "&DEV_" + device;
}

} // namespace

std::optional<std::string> pastedHardwareId(std::string_view text, PastedBus bus)
{
    text = trimBlanks(text);
    const auto busEnd = text.find('\\');
    if (busEnd == std::string_view::npos) {
        return vendorDevicePair(text, bus);
    }
    // A device instance path names the instance after a second "\"; the ID is what precedes it.
    std::string id = asciiUpper(text.substr(0, text.find('\\', busEnd + 1)));
    if (checkHardwareId(id) != IdPlacementResult::Placed) {
        return std::nullopt;
    }
    return id;
}

} // namespace tollen::database
