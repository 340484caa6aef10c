#include "database/PackageFiles.h"

#include "core/Sha256.h"
#include "core/Text.h"
#include "database/ArchivePath.h"
#include "database/IndexLine.h"
#include "database/IndexTree.h"

#include <algorithm>
#include <unordered_set>

namespace tollen::database {
namespace {

constexpr std::string_view kListLineEnd = "\r\n";

/// The text before the next separator, and the rest after it; nullopt when none is left.
std::optional<std::string_view> takeField(std::string_view &rest)
{
    const std::size_t separator = rest.find(kFieldSeparator);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view field = rest.substr(0, separator);
    rest.remove_prefix(separator + 1);
    return field;
}

std::optional<FileDigest> proofOf(std::string_view digest, std::string_view size)
{
    const auto bytes = wholeNumber<std::uint64_t>(size);
    if (!isSha256Hex(digest) || !bytes) {
        return std::nullopt;
    }
    return FileDigest{std::string(digest), *bytes};
}

/// Why `path` cannot name a file of a package; empty when it can.
std::string_view pathProblem(std::string_view path)
{
    if (path.empty()) {
        return "an empty path";
    }
    if (path.front() == '/' || (path.size() > 1 && path[1] == ':')) {
        return "an absolute path";
    }
    for (const char c : path) {
        if (std::string_view("\\:*?<>|").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return "a character a Windows file name cannot hold";
        }
    }
    std::string_view rest = path;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (part.empty() || part == "." || part == "..") {
            return "an empty, \".\" or \"..\" part";
        }
        if (slash == std::string_view::npos) {
            return {};
        }
        rest.remove_prefix(slash + 1);
    }
}

std::string asciiLower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return lower;
}

} // namespace

std::optional<FileDigest> linePackageProof(std::string_view line)
{
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        if (!takeField(line)) {
            return std::nullopt;
        }
    }
    const auto digest = takeField(line);
    if (!digest) {
        return std::nullopt;
    }
    // The size runs to the next separator, which later fields would start with.
    return proofOf(*digest, line.substr(0, line.find(kFieldSeparator)));
}

std::string packageProofFields(const FileDigest &proof)
{
    return std::string(1, kFieldSeparator) + proof.sha256 + kFieldSeparator +
           std::to_string(proof.size);
}

std::string packagePath(std::string_view remotePath, bool archived)
{
    if (archived) {
        return archivePath(remotePath);
    }
    return packageFolder(remotePath);
}

std::string packageFolder(std::string_view packagePath)
{
    return std::string(packagePath.substr(0, packagePath.rfind('/') + 1));
}

std::string fileListPath(std::string_view packagePath)
{
    const std::string digest = sha256Hex(packagePath);
    return "/" + std::string(kIndexTreeName) + "/" + std::string(kFileListFolderName) + "/" +
           digest.substr(0, 2) + "/" + digest + ".txt";
}

std::string writeFileList(std::vector<PackageFile> files)
{
    std::sort(files.begin(), files.end(),
              [](const PackageFile &a, const PackageFile &b) { return a.path < b.path; });
    std::string text;
    for (const PackageFile &file : files) {
        text += file.path;
        text += kFieldSeparator;
        text += std::to_string(file.digest.size);
        text += kFieldSeparator;
        text += file.digest.sha256;
        text += kListLineEnd;
    }
    return text;
}

FileListReading readFileList(std::string_view text)
{
    FileListReading reading;
    const auto refuse = [&](std::string problem) {
        reading.files.clear();
        reading.problem = std::move(problem);
        return std::move(reading);
    };
    std::unordered_set<std::string> names;
    std::uint64_t total = 0;
    IndexLineReader lines(text);
    std::string_view line;
    for (std::size_t number = 1; lines.next(line); ++number) {
        const std::string where = "line " + std::to_string(number) + " of the file list";
        if (reading.files.size() == kMostListedFiles) {
            return refuse("the file list names more than " + std::to_string(kMostListedFiles) +
                          " files");
        }
        std::string_view rest = line;
        const auto path = takeField(rest);
        const auto size = path ? takeField(rest) : std::nullopt;
        const auto proof = size ? proofOf(rest, *size) : std::nullopt;
        if (!proof) {
            return refuse(where + " is not a path, a size and a SHA-256 digest");
        }
        if (const std::string_view problem = pathProblem(*path); !problem.empty()) {
            return refuse(where + " names " + std::string(problem));
        }
        if (!names.insert(asciiLower(*path)).second) {
            return refuse(where + " names a file twice");
        }
        total += proof->size;
        if (proof->size > kMostPackageBytes || total > kMostPackageBytes) {
            return refuse("the file list names more than " +
                          std::to_string(kMostPackageBytes >> 30) + " GiB of files");
        }
        reading.files.push_back({std::string(*path), *proof});
    }
    return reading;
}

} // namespace tollen::database
