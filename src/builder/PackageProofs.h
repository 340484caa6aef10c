#pragma once
// What proves each package of a run, as the index lines and the file lists of the tree carry it
// (database/PackageFiles.h). An archive is proved by its own digest, its list naming the archive
// alone. The folder of a loose INF file is proved by its list of every file in it and below it,
// and the list by its digest; so a replaced .sys changes the proof of every row of its folder.
//
// A package is proved only when a client could take its list: every name is one a Windows file
// can have, no two differ in letter case alone, and the package stays within the list's limits.
// A loose INF file at the database root has no package: its folder would be the whole database.

#include "builder/FileDigests.h"
#include "builder/PackageFinder.h"
#include "builder/PackageIndex.h"

#include <map>
#include <optional>
#include <string>

namespace tollen::builder {

struct PackageProof
{
    /// The package's path: the archive, or the INF file's folder ending in "/".
    std::string path;
    /// Why the package cannot be proved, with its detail; nullopt when it is.
    std::optional<SkipReason> failure;
    std::string detail;
    /// The list's text, and what proves the package: the archive's digest, or the list's.
    std::string fileList;
    FileDigest digest;

    /// The fields the package's index lines end with; empty when it is not proved.
    std::string lineFields() const;
};

class PackageProofs
{
public:
    /// `found` and `digests` must outlive this object.
    PackageProofs(const PackageList &found, FileDigests &digests)
        : m_found(found), m_digests(digests)
    {
    }

    /// The proof of the package `package` belongs to (an archive, or an INF file's folder),
    /// made when first asked for.
    const PackageProof &of(const PackageFile &package);

    /// Gives the lines of `index`, which `package` gave, the proof of its package; a package
    /// that cannot be proved gives no lines and counts no INF file, with the reason among its
    /// skipped files.
    void prove(const PackageFile &package, PackageIndex &index);

private:
    PackageProof folderProof(const std::string &folder);
    PackageProof archiveProof(const PackageFile &archive);

    const PackageList &m_found;
    FileDigests &m_digests;
    /// By package path.
    std::map<std::string, PackageProof> m_proofs;
};

} // namespace tollen::builder
