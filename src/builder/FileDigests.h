#pragma once
// The SHA-256 digests of the files of a database's packages, kept from run to run with each
// file's stamp: a file whose stamp is the one recorded is not read again, so a re-run over an
// unchanged database reads none of its files.

#include "builder/PackageFinder.h"
#include "core/Error.h"
#include "core/Sha256.h"

#include <map>
#include <string>

namespace tollen::builder {

struct KnownDigest
{
    FileStamp stamp;
    FileDigest digest;

    bool operator==(const KnownDigest &) const = default;
};

/// By remote path.
using DigestsByPath = std::map<std::string, KnownDigest>;

class FileDigests
{
public:
    /// `known` (the last run's digests) must outlive this object.
    explicit FileDigests(const DigestsByPath &known) : m_known(known) {}

    /// The digest of `file`: the known one while its stamp is unchanged, else read from it.
    Error digest(const FoundFile &file, FileDigest &digest);

    /// Every digest this run asked for, which the cache keeps for the next run.
    const DigestsByPath &used() const { return m_used; }
    /// Whether a file was read, so that the cache learns its digest.
    bool anyRead() const { return m_anyRead; }

private:
    const DigestsByPath &m_known;
    DigestsByPath m_used;
    bool m_anyRead = false;
};

} // namespace tollen::builder
