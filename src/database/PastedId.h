#pragma once
// Hardware IDs in the forms users paste them, written as the database writes them: an ID copied
// from Windows in any letter case, a device instance path (the ID and, after a second "\", the
// instance), or the "vendor:device" pair lspci prints.

#include <optional>
#include <string>
#include <string_view>

namespace tollen::database {

/// The bus a "vendor:device" pair is read for.
enum class PastedBus { Pci, Usb };

/// A hardware ID as users paste it, as the database writes it: "PCI\VEN_8086&DEV_100E..." in any
/// letter case -> upper case; "8086:100e" (lspci's form, also in brackets) ->
/// "PCI\VEN_8086&DEV_100E", with PastedBus::Usb -> "USB\VID_046D&PID_C52B"; nullopt for text that
/// is neither form (no bus, etc.).
std::optional<std::string> pastedHardwareId(std::string_view text, PastedBus bus = PastedBus::Pci);

} // namespace tollen::database
