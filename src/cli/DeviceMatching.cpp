// Matching for match and fetch: the devices the command line names, each against the index
// files of its IDs, fetched once per run over the window's connection.

#include "cli/DeviceMatching.h"

#include "cli/DatabaseRootCheck.h"
#include "core/PathText.h"
#include "database/DriverMatcher.h"
#include "database/IndexFiles.h"
#include "inventory/DeviceInventory.h"
#include "inventory/DeviceRecords.h"

#include <filesystem>
#include <system_error>

namespace tollen::cli {

namespace {

/// The one device ID the argument names: an argument that is no file and reads as an ID.
std::optional<std::string> typedDeviceId(const CommandLine &line)
{
    if (line.arguments.empty()) {
        return std::nullopt;
    }
    const std::string &argument = line.arguments.front();
    std::error_code ignored;
    if (std::filesystem::exists(pathFromUtf8(argument), ignored)) {
        return std::nullopt;
    }
    return database::pastedHardwareId(argument, line.bus);
}

bool wanted(const CommandLine &line, const DeviceReport &report)
{
    const inventory::DriverStatus status = report.device.driver.status;
    const bool missing =
        status == inventory::DriverStatus::None || status == inventory::DriverStatus::Problem;
    const bool update = report.match.verdict == database::Verdict::Update;
    if (line.missing || line.updates) {
        return (line.missing && missing) || (line.updates && update);
    }
    return true;
}

/// The devices to match and the system they belong to; an argument that reads as an ID is one
/// device known by that ID alone.
Outcome devicesToMatch(const CommandLine &line, CommandLineWindow &window,
                       inventory::DeviceInventory &devices)
{
    const std::optional<std::string> typedId = typedDeviceId(line);
    const std::optional<std::string> source =
        line.arguments.empty() || typedId ? std::nullopt : std::optional(line.arguments.front());
    if (Outcome opened = window.open(source, !typedId); opened.code != ExitCode::Success) {
        return opened;
    }
    devices = window.inventory();
    if (typedId) {
        devices.devices = {inventory::deviceOfId(*typedId, {})};
    }
    if (line.architecture) {
        devices.target.architecture = line.architecture;
    }
    if (line.windowsVersion) {
        devices.target.version = line.windowsVersion;
    }
    if (devices.devices.empty()) {
        return {ExitCode::NothingFound, "the device list is empty"};
    }
    return window.applyNetwork(line.network);
}

/// The exit code of the devices shown: every one has a driver that fits, some do, none does.
Outcome judge(const CommandLine &line, const std::vector<DeviceReport> &shown)
{
    std::size_t found = 0;
    for (const DeviceReport &report : shown) {
        found += report.match.found() ? 1 : 0;
    }
    if (found == shown.size()) {
        if (shown.empty() && (line.missing || line.updates)) {
            return {ExitCode::Success, line.updates && !line.missing
                                           ? "no device has a newer driver in the database"
                                           : "every device has a working driver"};
        }
        return {};
    }
    if (found == 0) {
        return {ExitCode::NothingFound,
                "no driver fits any of the " + std::to_string(shown.size()) + " devices"};
    }
    return {ExitCode::PartlyFound, "drivers fit " + std::to_string(found) + " of " +
                                       std::to_string(shown.size()) + " devices"};
}

} // namespace

Outcome matchDevices(const CommandLine &line, CommandLineWindow &window,
                     std::vector<DeviceReport> &shown)
{
    inventory::DeviceInventory devices;
    if (Outcome opened = devicesToMatch(line, window, devices); opened.code != ExitCode::Success) {
        return opened;
    }
    database::RemoteIndexFiles remoteFiles(window.form().transfers());
    CountedIndexFiles files(remoteFiles);
    database::DriverMatcher matcher(files, devices.target, line.vendor);
    std::vector<DeviceReport> reports;
    for (std::size_t index = 0; index < devices.devices.size(); ++index) {
        window.standardError().progress("matching device " + std::to_string(index + 1) + " of " +
                                        std::to_string(devices.devices.size()));
        inventory::Device &device = devices.devices[index];
        database::DeviceMatch match = matcher.match(device);
        if (matcher.failure()) {
            return {ExitCode::TransferFailed, "transfer failed: " + *matcher.failure()};
        }
        reports.push_back({std::move(device), std::move(match)});
    }
    window.standardError().endProgress();
    for (DeviceReport &report : reports) {
        if (wanted(line, report)) {
            shown.push_back(std::move(report));
        }
    }
    Outcome judged = judge(line, shown);
    if (judged.code == ExitCode::NothingFound && !files.anyFound()) {
        judged.message += databaseRootNote(window);
    }
    return judged;
}

const std::vector<std::string> &driverColumns()
{
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> headings;
        for (const std::string_view heading : inventory::kResultHeadings) {
            headings.emplace_back(heading == "Device Name" ? "Driver Name" : heading);
        }
        return headings;
    }();
    return columns;
}

} // namespace tollen::cli
