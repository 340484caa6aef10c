#include "builder/PackageProofs.h"

#include "database/PackageFiles.h"

#include <algorithm>

namespace tollen::builder {
namespace {

/// A file as a package's list names it.
using ListedFile = database::PackageFile;

PackageProof unproved(std::string path, SkipReason reason, std::string detail = {})
{
    PackageProof proof;
    proof.path = std::move(path);
    proof.failure = reason;
    proof.detail = std::move(detail);
    return proof;
}

/// Why a client would refuse the list of `files`; empty when it would take it. Only names and
/// sizes count, so this is known before any file is read.
std::string listProblem(const std::vector<ListedFile> &files)
{
    return database::readFileList(database::writeFileList(files)).problem;
}

/// `files`, whose digests are not read yet, with their digests; an error when one cannot be read.
Error digestAll(FileDigests &digests, const std::vector<const FoundFile *> &found,
                std::vector<ListedFile> &files)
{
    for (std::size_t index = 0; index < files.size(); ++index) {
        if (Error error = digests.digest(*found[index], files[index].digest)) {
            return error;
        }
    }
    return {};
}

/// The proved package of `files`: its list and the list's digest.
PackageProof listProof(std::string path, std::vector<ListedFile> files)
{
    PackageProof proof;
    proof.path = std::move(path);
    proof.fileList = database::writeFileList(std::move(files));
    proof.digest = {sha256Hex(proof.fileList), proof.fileList.size()};
    return proof;
}

} // namespace

std::string PackageProof::lineFields() const
{
    return failure ? std::string() : database::packageProofFields(digest);
}

const PackageProof &PackageProofs::of(const PackageFile &package)
{
    const bool archived = package.kind == PackageKind::Archive;
    const std::string path = database::packagePath(package.remotePath, archived);
    auto proof = m_proofs.find(path);
    if (proof == m_proofs.end()) {
        proof = m_proofs.emplace(path, archived ? archiveProof(package) : folderProof(path)).first;
    }
    return proof->second;
}

void PackageProofs::prove(const PackageFile &package, PackageIndex &index)
{
    if (index.lines.empty()) {
        return;
    }
    const PackageProof &proof = of(package);
    if (proof.failure) {
        // A package no client could fetch whole is left out of the database.
        index.lines.clear();
        index.infFilesRead = 0;
        index.skipped.push_back({package.remotePath, *proof.failure, proof.detail});
        return;
    }
    const std::string fields = proof.lineFields();
    std::string lines;
    lines.reserve(index.lines.size() + index.lineCount() * fields.size());
    forEachLine(index.lines, [&](std::string_view line) {
        lines += line;
        lines += fields;
        lines += '\n';
    });
    index.lines = std::move(lines);
}

PackageProof PackageProofs::folderProof(const std::string &folder)
{
    if (folder == "/") {
        return unproved(folder, SkipReason::InfAtDatabaseRoot);
    }
    for (const SkippedFile &unreadable : m_found.unreadable) {
        if (unreadable.path.starts_with(folder)) {
            return unproved(folder, SkipReason::Unreadable,
                            unreadable.path + ": " + unreadable.detail);
        }
    }
    // The files below the folder follow each other in the sorted list.
    auto file = std::lower_bound(
        m_found.files.begin(), m_found.files.end(), folder,
        [](const FoundFile &found, const std::string &path) { return found.remotePath < path; });
    std::vector<const FoundFile *> found;
    std::vector<ListedFile> files;
    for (; file != m_found.files.end() && file->remotePath.starts_with(folder); ++file) {
        found.push_back(&*file);
        files.push_back({file->remotePath.substr(folder.size()),
                         {std::string(kSha256HexLength, '0'), file->stamp.size}});
    }
    if (std::string problem = listProblem(files); !problem.empty()) {
        return unproved(folder, SkipReason::FileListRefused, std::move(problem));
    }
    if (Error error = digestAll(m_digests, found, files)) {
        return unproved(folder, SkipReason::Unreadable, std::move(error.message));
    }
    return listProof(folder, std::move(files));
}

PackageProof PackageProofs::archiveProof(const PackageFile &archive)
{
    const FoundFile file{archive.remotePath, archive.path, archive.stamp};
    std::vector<ListedFile> files = {
        {archive.remotePath.substr(archive.remotePath.rfind('/') + 1), {}}};
    if (Error error = m_digests.digest(file, files[0].digest)) {
        return unproved(archive.remotePath, SkipReason::Unreadable, std::move(error.message));
    }
    if (std::string problem = listProblem(files); !problem.empty()) {
        return unproved(archive.remotePath, SkipReason::FileListRefused, std::move(problem));
    }
    const FileDigest digest = files[0].digest;
    PackageProof proof = listProof(archive.remotePath, std::move(files));
    proof.digest = digest;
    return proof;
}

} // namespace tollen::builder
