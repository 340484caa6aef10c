// Fuzzes the unpacker of fetched driver archives: whatever the archive, nothing is written
// outside the package's folder; an archive unpacked lists exactly the files on disk, each with
// its size and digest; one refused leaves no folder.

#include "FuzzSupport.h"
#include "builder/ArchiveUnpack.h"

using namespace tollen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    namespace fs = std::filesystem;
    // In memory, as a fetch takes a small archive; the unpacking after the opening is the same
    // for an archive in a file.
    const fs::path folder = fuzz::privateFolder() / "package";
    const builder::ArchiveUnpacking unpacked =
        builder::unpackArchiveInMemory(fuzz::bytesOf(data, size), folder, {1000, 1 << 20});
    std::size_t entries = 0;
    for (const auto &entry : fs::directory_iterator(fuzz::privateFolder())) {
        fuzz::require(entry.path() == folder);
        ++entries;
    }
    if (unpacked.kind != builder::ArchiveUnpacking::Kind::Unpacked) {
        fuzz::require(entries == 0 && unpacked.files.empty());
        return 0;
    }
    std::size_t files = 0;
    for (const auto &entry : fs::recursive_directory_iterator(folder)) {
        fuzz::require(entry.is_directory() || entry.is_regular_file());
        files += entry.is_regular_file() ? 1 : 0;
    }
    fuzz::require(files == unpacked.files.size());
    for (const database::PackageFile &file : unpacked.files) {
        FileDigest digest;
        fuzz::require(!digestFile(folder / file.path, digest) && digest == file.digest);
    }
    fs::remove_all(folder);
    return 0;
}
