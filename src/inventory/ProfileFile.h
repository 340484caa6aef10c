#pragma once
// Hardware profile files (*.hwp): two lines per device record, the Device ID then the Device
// Name, every line ended by CR LF; no header, no count, no escaping. The reader ends a line at a
// CR or a CR LF (a lone LF stays in the text), reads a last line without an end mark, tests for
// the end of the file only before a Device ID line, and upper-cases the Device IDs.

#include "controls/ListView.h"
#include "core/Error.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::inventory {

struct DeviceRecord
{
    std::string deviceId;
    std::string deviceName;
};

/// The records of a profile's text (already decoded), Device IDs upper-cased. A file that ends
/// after a Device ID line gives a last record with an empty Device Name.
std::vector<DeviceRecord> parseProfile(std::string_view text);

/// The profile text of the rows of ListView1, in their order.
std::string formatProfile(const controls::ListView &ListView1);

/// Writes the rows of ListView1 as a profile, replacing `file` only when the whole profile has
/// been written.
Error writeProfile(const controls::ListView &ListView1, const std::filesystem::path &file);

} // namespace tollen::inventory
