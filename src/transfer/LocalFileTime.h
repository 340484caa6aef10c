#pragma once
// File times (100-nanosecond intervals since 1601-01-01 UTC) moved into the local time zone,
// with the offset that zone had at that moment (summer time included), as the system knows it.

#include <cstdint>

namespace tollen::transfer {

/// The local time of the UTC file time `fileTime`; the time unchanged when the system cannot
/// place it.
std::int64_t localFileTime(std::int64_t fileTime);

} // namespace tollen::transfer
