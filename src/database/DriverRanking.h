#pragma once
// Which of the drivers a query found suits a device best, for the job of finding a driver for
// every device at once. A driver whose Hardware ID equals the device's ID, or is a leading part
// of it that ends at a piece boundary, names this device: such drivers come first, the longer
// (more specific) IDs before the shorter, and every other driver after them. Within each of
// these ranks the newer driver date comes first; drivers that tie keep the order of the index.
//
// IDs are compared as Windows compares hardware IDs: the bus before the first backslash, then
// the "&"-separated pieces, all ignoring letter case.

#include "database/DriverVersion.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::database {

/// How closely a driver's Hardware ID fits a device's ID, closest first.
enum class MatchReason {
    ExactId,
    SameSubsystem,
    SameDevice,
    SameVendor,
    SameBus,
    OtherBus,
};

/// The reason as the report shows it: "exact ID", "same subsystem", "same device",
/// "same vendor", "same bus", "other bus".
std::string_view describe(MatchReason reason);

/// The deepest kind of piece the two IDs share from their start: the whole ID when they are
/// equal, else a subsystem ("SUBSYS_"), a device ("DEV_", "PID_") or a vendor ("VEN_", "VID_")
/// piece among their common leading pieces.
MatchReason matchReason(std::string_view deviceId, std::string_view hardwareId);

/// True when `hardwareId` equals `deviceId` or is its bus and leading pieces.
bool namesDevice(std::string_view deviceId, std::string_view hardwareId);

struct DriverCandidate
{
    std::string hardwareId;
    std::string date;
};

/// The positions of `drivers` in ranked order, best first.
std::vector<std::size_t> rankDrivers(std::string_view deviceId,
                                     const std::vector<DriverCandidate> &drivers);

/// The position in a device's search criteria (shortest first) where a search stops widening:
/// the first criterion that ends in the vendor's piece ("VEN_" or "VID_"), so that an HD-audio
/// codec is not searched by its function class alone; 0 when no criterion names a vendor.
std::size_t vendorLevel(const std::vector<std::string> &criteria);

} // namespace tollen::database
