#pragma once
// What fetch leaves in its folder DIR beside the packages: tollen-fetch.json, which says for
// each device its IDs, the driver row chosen, its package's folder and the package's files with
// their digests; and README.txt, the commands a Windows user runs to install the drivers.

#include "cli/DeviceMatching.h"
#include "cli/PackageFetch.h"

#include <string>
#include <vector>

namespace tollen::cli {

/// A device of the fetch and its package; no package when no driver fits it.
struct FetchedDevice
{
    const DeviceReport *report = nullptr;
    const PackageToFetch *package = nullptr;
    const FetchedPackage *fetched = nullptr;
};

/// The text of DIR/tollen-fetch.json.
std::string fetchRecordText(const std::vector<FetchedDevice> &devices);

/// The text of DIR/README.txt, with Windows' line ends.
std::string installNotesText();

/// How a package ended, in a word: "fetched", "already there", "mismatch", "failed".
std::string_view describe(FetchedPackage::Kind kind);

} // namespace tollen::cli
