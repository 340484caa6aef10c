#pragma once
// A device as devices and match print it: the installed-hardware list's two columns, then the
// driver it has now.

#include "cli/JsonWriter.h"
#include "inventory/Device.h"

#include <string>
#include <vector>

namespace tollen::cli {

/// Device ID, Device Name, then the driver's status, description, provider, version, date, INF
/// and matching ID.
std::vector<std::string> deviceCells(const inventory::Device &device);

/// The member "IDs": the device's hardware IDs, then its compatible IDs, in Windows' rank order.
void writeDeviceIds(JsonWriter &json, const inventory::Device &device);

} // namespace tollen::cli
