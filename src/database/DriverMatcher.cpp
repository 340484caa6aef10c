#include "database/DriverMatcher.h"

#include "core/Text.h"
#include "database/IdPlacement.h"
#include "database/PackageFiles.h"
#include "database/QueryPath.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tollen::database {
namespace {

/// An index file and the IDs whose rows are taken from it.
struct FileOfIds
{
    std::string indexFile;
    std::vector<std::string> ids;
};

/// The files holding the rows of the device's IDs, in the order of the IDs. The tree's folders
/// are written in upper case, so the IDs are too.
std::vector<FileOfIds> filesOfIds(const std::vector<std::string> &ids)
{
    std::vector<FileOfIds> files;
    for (const std::string &deviceId : ids) {
        std::string id = asciiUpper(deviceId);
        if (checkHardwareId(id) != IdPlacementResult::Placed) {
            continue;
        }
        std::string indexFile = QueryPath::fromQuery(id).indexFile();
        const auto file = std::ranges::find(files, indexFile, &FileOfIds::indexFile);
        if (file == files.end()) {
            files.push_back({std::move(indexFile), {std::move(id)}});
        } else {
            file->ids.push_back(std::move(id));
        }
    }
    return files;
}

bool isVendorPiece(std::string_view piece)
{
    return startsWithIgnoringCase(piece, "VEN_") || startsWithIgnoringCase(piece, "VID_");
}

/// The index file of the vendor of the device's first ID the tree can hold: its bus and pieces up
/// to the vendor's ("PCI\VEN_8086", "HDAUDIO\FUNC_01&VEN_10EC"), or its first piece when none
/// names a vendor.
std::optional<std::string> vendorIndexFile(const std::vector<FileOfIds> &files)
{
    if (files.empty()) {
        return std::nullopt;
    }
    QueryPath path = QueryPath::fromQuery(files.front().ids.front());
    const auto vendor = std::ranges::find_if(path.pieces, isVendorPiece);
    path.pieces.erase(vendor == path.pieces.end() ? path.pieces.begin() + 1 : vendor + 1,
                      path.pieces.end());
    return path.indexFile();
}

bool matchesAny(const IndexFields &row, const std::vector<std::string> &ids)
{
    return std::ranges::any_of(ids, [&](const std::string &id) {
        return equalsIgnoringCase(id, row[IndexField::HardwareId]);
    });
}

} // namespace

DriverMatcher::DriverMatcher(IndexFiles &files, inventory::TargetSystem target, bool listVendorRows)
    : m_files(files), m_target(std::move(target)), m_listVendorRows(listVendorRows)
{
}

DeviceMatch DriverMatcher::match(const inventory::Device &device)
{
    DeviceMatch match;
    const std::vector<std::string> ids = matchingIds(device);
    std::vector<IndexFields> rows;
    const std::vector<FileOfIds> files = filesOfIds(ids);
    std::map<std::string, FileDigest> proofs;
    bool failed = false;
    for (const FileOfIds &file : files) {
        const FetchedFile &fetchedFile = fetched(file.indexFile);
        if (fetchedFile.failure) {
            failed = true;
            break;
        }
        std::ranges::copy_if(fetchedFile.rows, std::back_inserter(rows),
                             [&](const IndexFields &row) { return matchesAny(row, file.ids); });
        proofs.insert(fetchedFile.proofs.begin(), fetchedFile.proofs.end());
    }
    match.drivers = rankMatches(device, rows, m_target);
    for (MatchedDriver &driver : match.drivers) {
        // Lines of one Remote Path name one package, so they carry one proof.
        if (const auto proof = proofs.find(driver.row[IndexField::RemotePath]);
            proof != proofs.end()) {
            driver.proof = proof->second;
        }
    }
    if (match.found()) {
        match.verdict = judgeInstalled(device.driver, match.drivers.front().row);
    }
    const auto vendorFile = vendorIndexFile(files);
    if (failed || !m_listVendorRows || !vendorFile) {
        return match;
    }
    for (const IndexFields &row : fetched(*vendorFile).rows) {
        if (!matchesAny(row, ids) && !isExtensionRow(row)) {
            match.vendorRows.push_back(row);
        }
    }
    return match;
}

const DriverMatcher::FetchedFile &DriverMatcher::fetched(const std::string &indexFile)
{
    auto [known, isNew] = m_fetched.try_emplace(indexFile);
    FetchedFile &file = known->second;
    if (isNew) {
        ++m_filesFetched;
        IndexFileText text = m_files.fetch(indexFile);
        if (text.kind == IndexFileText::Kind::Failed) {
            file.failure = std::move(text.reason);
        }
        IndexLineReader lines(text.text);
        for (std::string_view line; lines.next(line);) {
            file.rows.push_back(splitIndexLine(line));
            if (const auto proof = linePackageProof(line)) {
                file.proofs.emplace(file.rows.back()[IndexField::RemotePath], *proof);
            }
        }
    }
    if (file.failure) {
        m_failure = file.failure;
    }
    return file;
}

} // namespace tollen::database
