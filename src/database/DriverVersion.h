#pragma once
// How two drivers of one device compare in age, as Windows compares them when it chooses between
// drivers: by their DriverVer date first, then by their version. Index files write dates as the
// INF's DriverVer does ("MM/DD/YYYY"), the registry as "M-D-YYYY"; versions are up to four
// numbers ("10.0.19041.1").

#include <optional>
#include <string_view>

namespace tollen::database {

/// A driver date as a number that orders by time (year, month, day): "MM/DD/YYYY" as INF files
/// write it, "M-D-YYYY" as the registry holds it, and "YYYY-MM-DD". nullopt for anything else.
std::optional<int> driverDateKey(std::string_view date);

/// -1, 0, 1: a driver date ("MM/DD/YYYY", "M-D-YYYY", "YYYY-MM-DD"); an unreadable date is older
/// than any.
int compareDriverDates(std::string_view left, std::string_view right);

/// Versions as four numbers ("10.0.19041.1" > "9.18.13.4"; missing parts are 0; unreadable is
/// lowest).
int compareDriverVersions(std::string_view left, std::string_view right);

} // namespace tollen::database
