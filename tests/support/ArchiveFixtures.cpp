#include "ArchiveFixtures.h"

#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <stdexcept>

namespace tollen::testing {
namespace {

struct WriterFree
{
    void operator()(archive *handle) const { archive_write_free(handle); }
};

struct EntryFree
{
    void operator()(archive_entry *entry) const { archive_entry_free(entry); }
};

void check(archive *handle, int status, const char *what)
{
    if (status < ARCHIVE_WARN) {
        const char *message = archive_error_string(handle);
        throw std::runtime_error(std::string(what) + ": " + (message ? message : "?"));
    }
}

} // namespace

std::string makeArchive(ArchiveFormat format, const std::vector<ArchiveMember> &members,
                        const std::string &passphrase)
{
    const std::unique_ptr<archive, WriterFree> writer(archive_write_new());
    archive *handle = writer.get();
    check(handle,
          format == ArchiveFormat::Zip ? archive_write_set_format_zip(handle)
                                       : archive_write_set_format_7zip(handle),
          "format");
    if (!passphrase.empty()) {
        check(handle, archive_write_set_options(handle, "zip:encryption=zipcrypt"), "encryption");
        check(handle, archive_write_set_passphrase(handle, passphrase.c_str()), "passphrase");
    }
    // Room for the archive; the writer reports how much it used.
    std::size_t capacity = 4096;
    for (const ArchiveMember &member : members) {
        capacity += member.bytes.size() + member.name.size() + 512;
    }
    std::string bytes(capacity, '\0');
    std::size_t used = 0;
    check(handle, archive_write_open_memory(handle, bytes.data(), bytes.size(), &used), "open");
    for (const ArchiveMember &member : members) {
        const std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
        archive_entry_set_pathname(entry.get(), member.name.c_str());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        if (!member.sizeUnknown) {
            archive_entry_set_size(entry.get(), static_cast<la_int64_t>(member.bytes.size()));
        }
        check(handle, archive_write_header(handle, entry.get()), "header");
        if (!member.bytes.empty() &&
            archive_write_data(handle, member.bytes.data(), member.bytes.size()) < 0) {
            check(handle, ARCHIVE_FATAL, "data");
        }
    }
    check(handle, archive_write_close(handle), "close");
    bytes.resize(used);
    return bytes;
}

std::string makeSelfExtractingZip(const std::vector<ArchiveMember> &members)
{
    // Enough of a Windows program's start to look like one: the MZ header and some code.
    std::string stub = "MZ\x90";
    stub += std::string(61, '\0');
    stub += "This program cannot be run in DOS mode.\r\n";
    stub.resize(32 * 1024, '\xCC');
    return stub + makeArchive(ArchiveFormat::Zip, members);
}

} // namespace tollen::testing
