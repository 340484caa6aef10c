#pragma once
// The matching that match and fetch share: the devices of this machine, of a source or of one
// typed ID, each matched against the driver database, the devices the user asked for kept, and
// the exit code that says how many of them have a driver.

#include "cli/CommandLine.h"
#include "cli/CommandLineWindow.h"
#include "cli/ExitCode.h"
#include "database/DriverMatch.h"
#include "inventory/Device.h"

#include <string>
#include <vector>

namespace tollen::cli {

struct DeviceReport
{
    inventory::Device device;
    database::DeviceMatch match;
};

/// Matches every device the command line names and keeps in `shown` those it asks for (all, or
/// those --missing and --updates select). The outcome: 0 when every device shown has a driver
/// that fits, 5 when some have, 3 when none has; 4 when an index file could not be fetched.
Outcome matchDevices(const CommandLine &line, CommandLineWindow &window,
                     std::vector<DeviceReport> &shown);

/// The columns of a driver row: the results list's, the driver's name beside the device's.
const std::vector<std::string> &driverColumns();

} // namespace tollen::cli
