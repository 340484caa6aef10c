#include "database/DriverMatch.h"

#include "core/Text.h"
#include "database/DriverVersion.h"

#include <algorithm>
#include <string>

namespace tollen::database {
namespace {

constexpr std::string_view kExtensionClass = "Extension";

/// Whether `left` ranks before `right`.
bool ranksBefore(const MatchedDriver &left, const MatchedDriver &right)
{
    // The enumerators are declared best first.
    if (left.applicability != right.applicability) {
        return left.applicability < right.applicability;
    }
    if (left.idRank != right.idRank) {
        return left.idRank < right.idRank;
    }
    if (const int newer =
            compareDriverDates(left.row[IndexField::Date], right.row[IndexField::Date])) {
        return newer > 0;
    }
    return compareDriverVersions(left.row[IndexField::Version], right.row[IndexField::Version]) > 0;
}

Verdict verdictOf(int bestAgainstInstalled)
{
    if (bestAgainstInstalled > 0) {
        return Verdict::Update;
    }
    return bestAgainstInstalled < 0 ? Verdict::Older : Verdict::Installed;
}

} // namespace

std::string_view describe(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Update:
        return "update";
    case Verdict::Installed:
        return "installed";
    case Verdict::Older:
        return "older";
    case Verdict::New:
        return "new";
    case Verdict::Unknown:
        break;
    }
    return "";
}

bool DeviceMatch::found() const
{
    return !drivers.empty() && drivers.front().applicability == Applicability::Applies;
}

std::vector<std::string> matchingIds(const inventory::Device &device)
{
    if (device.hardwareIds.empty() && device.compatibleIds.empty()) {
        return {device.id};
    }
    std::vector<std::string> ids = device.hardwareIds;
    ids.insert(ids.end(), device.compatibleIds.begin(), device.compatibleIds.end());
    return ids;
}

bool isExtensionRow(const IndexFields &row)
{
    return equalsIgnoringCase(trimBlanks(row[IndexField::Class]), kExtensionClass);
}

std::vector<MatchedDriver> rankMatches(const inventory::Device &device,
                                       const std::vector<IndexFields> &rows,
                                       const inventory::TargetSystem &target)
{
    const std::vector<std::string> ids = matchingIds(device);
    std::vector<MatchedDriver> matches;
    for (const IndexFields &row : rows) {
        const auto id = std::ranges::find_if(ids, [&](const std::string &deviceId) {
            return equalsIgnoringCase(deviceId, row[IndexField::HardwareId]);
        });
        if (id == ids.end() || isExtensionRow(row)) {
            continue;
        }
        const auto idRank = static_cast<std::size_t>(id - ids.begin());
        matches.push_back({row, idRank,
                           idRank >= device.hardwareIds.size() && !device.compatibleIds.empty(),
                           decorationApplies(row[IndexField::Decoration], target), std::nullopt});
    }
    std::ranges::stable_sort(matches, ranksBefore);
    return matches;
}

Verdict judgeInstalled(const inventory::InstalledDriver &installed, const IndexFields &best)
{
    switch (installed.status) {
    case inventory::DriverStatus::None:
        return Verdict::New;
    case inventory::DriverStatus::Unknown:
        return Verdict::Unknown;
    case inventory::DriverStatus::Ok:
    case inventory::DriverStatus::Problem:
        break;
    }
    if (installed.date.empty() && installed.version.empty()) {
        return Verdict::Unknown;
    }
    if (const int newer = compareDriverDates(best[IndexField::Date], installed.date)) {
        return verdictOf(newer);
    }
    return verdictOf(compareDriverVersions(best[IndexField::Version], installed.version));
}

} // namespace tollen::database
