#pragma once
// A device as the driver search sees it: its Device ID and name as the installed-hardware list
// shows them, the IDs Windows matches drivers against in Windows' own order (its hardware IDs,
// then its compatible IDs, best first), and the driver it has now. Registry sources hold the IDs
// and the driver; for this Linux machine and for profiles the IDs are made as Windows makes them.

#include <string>
#include <string_view>
#include <vector>

namespace tollen::inventory {

/// Whether a device has a working driver.
enum class DriverStatus {
    /// A driver is installed and working.
    Ok,
    /// No driver is installed.
    None,
    /// A driver is installed but Windows marked it to be reinstalled or as failed.
    Problem,
    /// The source does not say (a hardware profile holds IDs and names only).
    Unknown,
};

/// "ok", "none", "problem", "unknown".
std::string_view describe(DriverStatus status);

/// The driver a device has now, as its source records it; fields it does not record are empty.
struct InstalledDriver
{
    DriverStatus status = DriverStatus::Unknown;
    /// The driver's description (DriverDesc); on Linux the kernel driver's name.
    std::string description;
    /// ProviderName.
    std::string provider;
    /// DriverVersion: "10.0.19041.1".
    std::string version;
    /// DriverDate as the registry holds it: "6-21-2006".
    std::string date;
    /// InfPath: the INF's name in the system's INF folder ("oem12.inf").
    std::string infName;
    /// MatchingDeviceId: the ID through which the driver was chosen.
    std::string matchingId;

    bool operator==(const InstalledDriver &) const = default;
};

struct Device
{
    /// The Device ID of the installed-hardware list ("PCI\VEN_8086&DEV_100E&...").
    std::string id;
    std::string name;
    /// The hardware IDs, best first.
    std::vector<std::string> hardwareIds;
    /// The compatible IDs, best first; all rank below every hardware ID.
    std::vector<std::string> compatibleIds;
    InstalledDriver driver;
};

} // namespace tollen::inventory
