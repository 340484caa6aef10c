#pragma once
// Which index rows are a device's drivers, and which of them Windows would choose. A row serves
// the device only when its Hardware ID is one of the device's IDs: its hardware IDs, then its
// compatible IDs, in Windows' own order, best first. A row for another device of the same vendor
// never does, and an extension INF (class "Extension") is never a device's driver.
//
// The rows are ranked as Windows chooses: those whose [Models] decoration serves the target come
// first (Windows installs no other), then those that do not, then those whose decoration cannot be
// read; within each, the better place of the row's ID in the device's list, then the newer
// DriverVer date, then the higher version. Rows that tie keep the order they were given in.

#include "core/Sha256.h"
#include "database/IndexLine.h"
#include "database/ModelsDecoration.h"
#include "inventory/Device.h"
#include "inventory/TargetSystem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::database {

/// How the best driver compares with the one installed.
enum class Verdict { Update, Installed, Older, New, Unknown };

/// "update", "installed", "older", "new", "" for Unknown.
std::string_view describe(Verdict verdict);

struct MatchedDriver
{
    IndexFields row;
    /// The row's Hardware ID's place in the device's list (hardware IDs, then compatible IDs), 0
    /// best.
    std::size_t idRank = 0;
    /// Whether that ID is one of the device's compatible IDs.
    bool compatibleId = false;
    Applicability applicability = Applicability::Applies;
    /// The digest and size of the file proving the row's package, from the line's proof fields;
    /// nullopt for a line of an older database, which carries none.
    std::optional<FileDigest> proof;
};

struct DeviceMatch
{
    /// Every matching row, best first.
    std::vector<MatchedDriver> drivers;
    /// Rows of the vendor's index file that match none of the device's IDs ("vendor's other
    /// drivers"); filled only when the matcher was asked to list them.
    std::vector<IndexFields> vendorRows;
    Verdict verdict = Verdict::Unknown;

    /// Whether the device has a driver: the best row applies to the target.
    bool found() const;
};

/// The IDs drivers are matched against, best first: the hardware IDs, then the compatible IDs;
/// the Device ID alone when the device lists neither.
std::vector<std::string> matchingIds(const inventory::Device &device);

/// Whether a row is an extension INF's, which adds to a driver but is none.
bool isExtensionRow(const IndexFields &row);

/// The ranked matches of `rows` (the lines of the fetched files) for `device`.
std::vector<MatchedDriver> rankMatches(const inventory::Device &device,
                                       const std::vector<IndexFields> &rows,
                                       const inventory::TargetSystem &target);

/// The best row against the installed driver: `new` when the device has none; else by date,
/// then version, as Windows compares them; Unknown when the status is unknown or the installed
/// driver records neither date nor version (a Linux kernel driver).
Verdict judgeInstalled(const inventory::InstalledDriver &installed, const IndexFields &best);

} // namespace tollen::database
