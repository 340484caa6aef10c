#include "builder/PackageIndexer.h"

#include "builder/ArchiveWalk.h"
#include "builder/InfFile.h"
#include "builder/InfModels.h"
#include "builder/InfText.h"
#include "core/FileDescriptor.h"
#include "core/Text.h"
#include "database/ArchivePath.h"
#include "database/IndexLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <new>
#include <set>
#include <sys/stat.h>

namespace tollen::builder {
namespace {

constexpr std::string_view kFolderType = "Folder";
/// What a path may not hold, since an index line cannot carry it: the field separator and line
/// ends.
constexpr char kNotInLine[] = {database::kFieldSeparator, '\r', '\n', '\0'};

/// Gathers the lines of the INF files of one package.
class PackageLines final : public ArchiveVisitor
{
public:
    explicit PackageLines(std::string archivePath = {}) : m_archivePath(std::move(archivePath)) {}

    void addInf(const std::string &remotePath, std::string_view bytes, std::string_view type);
    void skip(std::string path, SkipReason reason, std::string detail = {})
    {
        m_index.skipped.push_back({std::move(path), reason, std::move(detail)});
    }

    void visitInf(const std::string &memberPath, std::string_view bytes) override
    {
        addInf(m_archivePath + "/" + memberPath, bytes, database::kArchivedType);
    }
    void skipInf(const std::string &memberPath, SkipReason reason,
                 const std::string &detail) override
    {
        skip(m_archivePath + "/" + memberPath, reason, detail);
    }

    /// The package's index, its lines in byte order.
    PackageIndex take();

private:
    std::string m_archivePath;
    PackageIndex m_index;
    std::vector<std::string> m_lines;
};

void PackageLines::addInf(const std::string &remotePath, std::string_view bytes,
                          std::string_view type)
{
    const InfFile inf(decodeInfText(bytes));
    if (inf.hasUnclosedSectionName()) {
        skip(remotePath, SkipReason::UnclosedSectionName);
        return;
    }
    database::IndexFields fileFields;
    fileFields[database::IndexField::Type] = type;
    fileFields[database::IndexField::RemotePath] = remotePath;

    std::vector<std::string> lines;
    std::set<std::string> idsWithoutBus;
    std::set<std::pair<std::string, database::IdPlacementResult>> refused;
    std::size_t lineCount = 0;
    std::size_t lineBytes = 0;
    const auto receive = [&](const std::string &hardwareId, const database::IndexFields &fields) {
        const database::IdPlacementResult placement = database::checkHardwareId(hardwareId);
        if (placement == database::IdPlacementResult::NoBus) {
            idsWithoutBus.insert(hardwareId);
        } else if (placement != database::IdPlacementResult::Placed) {
            refused.emplace(hardwareId, placement);
        } else {
            lines.push_back(database::joinIndexLine(fields));
            lineBytes += lines.back().size();
        }
        lineBytes += hardwareId.size();
        return ++lineCount <= kMostLinesPerInf && lineBytes <= kMostLineBytesPerInf;
    };
    switch (readInfLines(inf, fileFields, kMostLineBytesPerInf, receive)) {
    case InfLinesOutcome::NoManufacturerSection:
        skip(remotePath, SkipReason::NoManufacturerSection);
        return;
    case InfLinesOutcome::NoModelLines:
        skip(remotePath, SkipReason::NoModelLines);
        return;
    case InfLinesOutcome::Stopped:
    case InfLinesOutcome::TooMuchText:
        skip(remotePath, SkipReason::TooManyLines);
        return;
    case InfLinesOutcome::Read:
        break;
    }
    ++m_index.infFilesRead;
    m_index.idsWithoutBus += static_cast<std::uint32_t>(idsWithoutBus.size());
    for (const auto &[hardwareId, reason] : refused) {
        m_index.refused.push_back({remotePath, hardwareId, reason});
    }
    // Identical lines of one file, and of two members of one archive that share a path, are
    // made one when the package is complete.
    m_lines.insert(m_lines.end(), std::make_move_iterator(lines.begin()),
                   std::make_move_iterator(lines.end()));
}

PackageIndex PackageLines::take()
{
    std::sort(m_lines.begin(), m_lines.end());
    m_lines.erase(std::unique(m_lines.begin(), m_lines.end()), m_lines.end());
    std::size_t size = 0;
    for (const std::string &line : m_lines) {
        size += line.size() + 1;
    }
    m_index.lines.reserve(size);
    for (const std::string &line : m_lines) {
        m_index.lines += line;
        m_index.lines += '\n';
    }
    m_lines.clear();
    return std::move(m_index);
}

/// The bytes of a loose INF file, or why it cannot be read.
std::optional<SkipReason> readLooseFile(const std::filesystem::path &file, std::string &bytes,
                                        std::string &detail)
{
    const FileDescriptor descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status
    {
    };
    if (!descriptor || ::fstat(descriptor.get(), &status) != 0) {
        detail = std::strerror(errno);
        return SkipReason::Unreadable;
    }
    if (static_cast<std::uint64_t>(status.st_size) > kLargestInfFile) {
        return SkipReason::TooLarge;
    }
    bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::read(descriptor.get(), bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            detail = std::strerror(errno);
            return SkipReason::Unreadable;
        }
        if (count == 0) {
            // The file shrank while it was read: take what is there.
            break;
        }
        done += static_cast<std::size_t>(count);
    }
    bytes.resize(done);
    return std::nullopt;
}

PackageIndex skippedPackage(std::string path, SkipReason reason, std::string detail = {})
{
    PackageIndex index;
    index.skipped.push_back({std::move(path), reason, std::move(detail)});
    return index;
}

/// The part of an archive's path the download flow would fetch, when that is not the archive
/// itself: a folder such as "Library" or "7-Zip" ends like an archive, and the download would
/// ask for "/Librar" or "/7-Zip".
std::optional<std::string> archiveCutShort(const std::string &remotePath)
{
    std::string fetched = database::archivePath(remotePath + "/");
    if (fetched == remotePath) {
        return std::nullopt;
    }
    return fetched;
}

PackageIndex readPackage(const std::filesystem::path &file, const std::string &remotePath,
                         PackageKind kind)
{
    if (!isValidUtf8(remotePath)) {
        return skippedPackage(decodeFileText(remotePath), SkipReason::NameNotUtf8);
    }
    if (remotePath.find_first_of(kNotInLine) != std::string::npos) {
        return skippedPackage(remotePath, SkipReason::NameNotInLine);
    }
    PackageLines package(remotePath);
    if (kind == PackageKind::InfFile) {
        std::string bytes;
        std::string detail;
        if (const auto reason = readLooseFile(file, bytes, detail)) {
            package.skip(remotePath, *reason, std::move(detail));
        } else {
            package.addInf(remotePath, bytes, kFolderType);
        }
        return package.take();
    }
    if (const std::optional<std::string> fetched = archiveCutShort(remotePath)) {
        return skippedPackage(remotePath, SkipReason::ArchiveSplitTooEarly, *fetched);
    }
    const ArchiveWalkResult walk = walkArchive(file, package);
    switch (walk.outcome) {
    case ArchiveOutcome::Read:
        return package.take();
    case ArchiveOutcome::NotAnArchive:
        if (endsWithIgnoringCase(remotePath, ".exe")) {
            // Most programs are not archives; an installer is no package to index.
            return {};
        }
        break;
    case ArchiveOutcome::Unreadable:
    case ArchiveOutcome::Damaged:
        break;
    }
    return skippedPackage(remotePath,
                          walk.outcome == ArchiveOutcome::Unreadable ? SkipReason::Unreadable
                                                                     : SkipReason::DamagedArchive,
                          walk.message);
}

} // namespace

std::string_view describe(SkipReason reason)
{
    switch (reason) {
    case SkipReason::Unreadable:
        return "cannot be read";
    case SkipReason::ReadingFailed:
        return "reading it failed";
    case SkipReason::NameNotUtf8:
        return "its name is not UTF-8 text";
    case SkipReason::NameNotInLine:
        return "its path holds a \", CR or LF, which an index line cannot carry";
    case SkipReason::ArchiveSplitTooEarly:
        return "a download would take an earlier part of its path for the archive";
    case SkipReason::TooLarge:
        return "larger than 256 MB";
    case SkipReason::UnclosedSectionName:
        return "a section name is not closed with ]";
    case SkipReason::NoManufacturerSection:
        return "no [Manufacturer] section";
    case SkipReason::NoModelLines:
        return "no model lines";
    case SkipReason::TooManyLines:
        return "gives too many lines";
    case SkipReason::UnsafeMemberPath:
        return "its path in the archive is absolute or has ..";
    case SkipReason::MemberUnreadable:
        return "cannot be unpacked";
    case SkipReason::DamagedArchive:
        return "the archive cannot be read";
    case SkipReason::InfAtDatabaseRoot:
        return "a loose INF file at the database root: its package would be the whole database "
               "(put each package in a folder of its own)";
    case SkipReason::FileListRefused:
        return "its package's file list would be refused";
    }
    return "unknown";
}

std::optional<PackageKind> packageKindOf(std::string_view fileName)
{
    if (endsWithIgnoringCase(fileName, ".inf")) {
        return PackageKind::InfFile;
    }
    for (const std::string_view ending : {".zip", ".7z", ".rar", ".exe"}) {
        if (endsWithIgnoringCase(fileName, ending)) {
            return PackageKind::Archive;
        }
    }
    return std::nullopt;
}

PackageIndex indexPackage(const std::filesystem::path &file, const std::string &remotePath,
                          PackageKind kind)
{
    // Whatever goes wrong inside one package costs that package only, never the run.
    try {
        return readPackage(file, remotePath, kind);
    } catch (const std::bad_alloc &) {
        return skippedPackage(remotePath, SkipReason::ReadingFailed, "out of memory");
    } catch (const std::exception &error) {
        return skippedPackage(remotePath, SkipReason::ReadingFailed, error.what());
    } catch (...) {
        return skippedPackage(remotePath, SkipReason::ReadingFailed);
    }
}

} // namespace tollen::builder
