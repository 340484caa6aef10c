#pragma once
// The hardware IDs and compatible IDs Windows gives a device, best first, made from its Device
// ID and what its bus tells beyond it, for devices whose source does not record them (this
// Linux machine, profiles, IDs typed by the user). PCI, USB and HD-audio IDs follow Windows'
// forms; an ID of another bus, or one these forms do not read, is its own one hardware ID.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::inventory {

/// What a bus tells of a device beyond its Device ID; what is unknown leaves its forms out.
struct IdDetails
{
    /// PCI: the class code "ccsspp" (class, subclass, programming interface). USB: the class,
    /// subclass and protocol "ccsspp" of the device, or of its one interface when the device
    /// leaves its class to its interfaces. Upper-case hexadecimal.
    std::optional<std::string> classCode;
    /// USB: the device's release number (bcdDevice), four hexadecimal digits.
    std::optional<std::string> revision;
    /// USB: the device leaves its class to several interfaces (a composite device).
    bool composite = false;
};

struct WindowsIdList
{
    std::vector<std::string> hardwareIds;
    std::vector<std::string> compatibleIds;
};

/// The ID lists of the device `deviceId` ("PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02"). An ID
/// lacking the parts of every hardware-ID form (a profile's "PCI\VEN_8086&DEV_100E") has its most
/// specific form as its hardware ID.
WindowsIdList windowsIdList(std::string_view deviceId, const IdDetails &details = {});

} // namespace tollen::inventory
