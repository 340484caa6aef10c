#pragma once
// Finds the drivers of one device after another in the driver database. For each of the device's
// IDs that the tree can hold, the rows of exactly that ID are listed in the index file of its
// first pieces (at most four), so that file is fetched and its rows of that ID kept; IDs that
// share a file fetch it once. The rows found are ranked for the target (DriverMatch.h).
//
// A machine's devices share many IDs and files (a vendor's compatible ID, a class code), so the
// matcher keeps every file it fetched, and every file found missing, for as long as it lives.

#include "core/Sha256.h"
#include "database/DriverMatch.h"
#include "database/IndexFiles.h"
#include "database/IndexLine.h"
#include "inventory/Device.h"
#include "inventory/TargetSystem.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tollen::database {

class DriverMatcher
{
public:
    /// With `listVendorRows`, each match also lists the vendor's rows for other devices.
    DriverMatcher(IndexFiles &files, inventory::TargetSystem target, bool listVendorRows = false);

    /// The drivers for one device. Every index file is fetched at most once per matcher (cache by
    /// path, also the misses). When a fetch fails, failure() holds its reason and the match of
    /// this device is what was found before it.
    DeviceMatch match(const inventory::Device &device);

    /// Why the last failed fetch failed; nullopt while none has.
    const std::optional<std::string> &failure() const { return m_failure; }

    /// How many index files were fetched (for the benchmark and tests).
    std::size_t filesFetched() const { return m_filesFetched; }

private:
    /// An index file as it was fetched: its rows (none when it is missing), or why it failed.
    struct FetchedFile
    {
        std::vector<IndexFields> rows;
        /// The proof of each package the file's lines carry one for, by Remote Path.
        std::map<std::string, FileDigest> proofs;
        std::optional<std::string> failure;
    };

    /// The file, fetched at the first call; a failure, also a remembered one, becomes failure().
    const FetchedFile &fetched(const std::string &indexFile);

    IndexFiles &m_files;
    inventory::TargetSystem m_target;
    bool m_listVendorRows;
    /// Every file asked for so far, by its path.
    std::map<std::string, FetchedFile> m_fetched;
    std::optional<std::string> m_failure;
    std::size_t m_filesFetched = 0;
};

} // namespace tollen::database
