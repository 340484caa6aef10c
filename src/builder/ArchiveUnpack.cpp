#include "builder/ArchiveUnpack.h"

#include "builder/ArchiveReader.h"
#include "builder/ArchiveWalk.h"
#include "core/FileDescriptor.h"
#include "core/Sha256.h"

#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace tollen::builder {
namespace {

namespace fs = std::filesystem;
using Kind = ArchiveUnpacking::Kind;

struct Failure
{
    Kind kind;
    std::string problem;
};

/// Writes all of `bytes` to `file`.
bool writeAll(int file, const char *bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t written = ::write(file, bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

class Unpacker
{
public:
    Unpacker(archive *reader, fs::path folder, const UnpackLimits &limits)
        : m_reader(reader), m_folder(std::move(folder)), m_limits(limits)
    {
    }

    /// Every member written; the failure that stopped it otherwise.
    std::optional<Failure> run()
    {
        for (;;) {
            archive_entry *entry = nullptr;
            const int status = archive_read_next_header(m_reader, &entry);
            if (status == ARCHIVE_EOF) {
                return std::nullopt;
            }
            if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
                return Failure{Kind::Damaged, archiveErrorText(m_reader)};
            }
            if (auto failure = member(entry)) {
                return failure;
            }
        }
    }

    std::vector<database::PackageFile> &files() { return m_files; }

private:
    std::optional<Failure> member(archive_entry *entry)
    {
        const std::string name = archiveMemberName(entry);
        const std::string path = safeMemberPath(name);
        const auto refuse = [&](const std::string &what) {
            return Failure{Kind::Refused, "the archive holds " + what + ": " + name};
        };
        const mode_t type = archive_entry_filetype(entry);
        if (type == AE_IFLNK || archive_entry_hardlink(entry) != nullptr) {
            return refuse("a link");
        }
        if (type != AE_IFREG && type != AE_IFDIR) {
            return refuse("a device file, pipe or socket");
        }
        if (path.empty()) {
            // A folder named "." is the archive's top; a folder outside it writes nothing.
            if (type == AE_IFDIR) {
                return std::nullopt;
            }
            return refuse("a name outside its folder");
        }
        if (++m_members > m_limits.mostMembers) {
            return Failure{Kind::Refused, "the archive holds more than " +
                                              std::to_string(m_limits.mostMembers) + " members"};
        }
        if (type == AE_IFDIR) {
            return makeFolder(m_folder / path, path);
        }
        if (archive_entry_is_encrypted(entry) != 0) {
            return Failure{Kind::Damaged, "the archive's member " + path + " is encrypted"};
        }
        if (archive_entry_size_is_set(entry) != 0 &&
            static_cast<std::uint64_t>(archive_entry_size(entry)) > m_limits.mostBytes - m_bytes) {
            return tooLarge();
        }
        const fs::path target = m_folder / path;
        if (auto failure = makeFolder(target.parent_path(), path)) {
            return failure;
        }
        // A name taken by an earlier member is refused, never written over or through.
        const FileDescriptor file{
            ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)};
        if (!file) {
            if (errno == EEXIST) {
                return refuse("a name twice");
            }
            return Failure{Kind::NotWritable, path + ": " + std::strerror(errno)};
        }
        database::PackageFile written{path, {}};
        if (auto failure = copyData(file.get(), path, written.digest)) {
            return failure;
        }
        m_files.push_back(std::move(written));
        return std::nullopt;
    }

    /// Makes the folders of `path`; a folder named like a file written before is refused.
    static std::optional<Failure> makeFolder(const fs::path &folder, const std::string &path)
    {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error == std::errc::file_exists || error == std::errc::not_a_directory) {
            return Failure{Kind::Refused,
                           "the archive holds a file and a folder of one name: " + path};
        }
        if (error) {
            return Failure{Kind::NotWritable, path + ": " + error.message()};
        }
        return std::nullopt;
    }

    std::optional<Failure> copyData(int file, const std::string &path, FileDigest &digest)
    {
        Sha256 sha256;
        for (;;) {
            // The library's own block: a stored member's bytes straight from the archive.
            const void *block = nullptr;
            std::size_t size = 0;
            la_int64_t offset = 0;
            const int status = archive_read_data_block(m_reader, &block, &size, &offset);
            if (status == ARCHIVE_EOF) {
                digest.sha256 = sha256.finishHex();
                return std::nullopt;
            }
            if (status != ARCHIVE_OK) {
                return Failure{Kind::Damaged, path + ": " + archiveErrorText(m_reader)};
            }
            // No format a package comes in leaves holes in a member.
            if (offset != static_cast<la_int64_t>(digest.size)) {
                return Failure{Kind::Damaged, path + ": the member's bytes are not in order"};
            }
            if (size > m_limits.mostBytes - m_bytes) {
                return tooLarge();
            }
            m_bytes += size;
            digest.size += size;
            const std::string_view bytes(static_cast<const char *>(block), size);
            sha256.update(bytes);
            if (!writeAll(file, bytes.data(), size)) {
                return Failure{Kind::NotWritable, path + ": " + std::strerror(errno)};
            }
        }
    }

    Failure tooLarge() const
    {
        return {Kind::Refused, "the archive unpacks to more than " +
                                   std::to_string(m_limits.mostBytes) + " bytes"};
    }

    archive *m_reader;
    fs::path m_folder;
    UnpackLimits m_limits;
    std::size_t m_members = 0;
    std::uint64_t m_bytes = 0;
    std::vector<database::PackageFile> m_files;
};

ArchiveUnpacking unpackOpened(const DriverArchive &opened, const fs::path &folder,
                              const UnpackLimits &limits)
{
    if (opened.state() != DriverArchive::State::Opened) {
        return {opened.state() == DriverArchive::State::NotAnArchive ? Kind::NotAnArchive
                                                                     : Kind::Damaged,
                {},
                opened.problem()};
    }
    std::error_code error;
    if (!fs::create_directory(folder, error)) {
        return {Kind::NotWritable,
                {},
                folder.string() + ": " + (error ? error.message() : "is there already")};
    }
    Unpacker unpacker(opened.handle(), folder, limits);
    std::optional<Failure> failure = unpacker.run();
    ArchiveUnpacking unpacked;
    if (!failure) {
        // The names Windows would refuse or fold together, by the rule every file list follows.
        database::FileListReading list =
            database::readFileList(database::writeFileList(std::move(unpacker.files())));
        if (list.problem.empty()) {
            unpacked.files = std::move(list.files);
            return unpacked;
        }
        failure =
            Failure{Kind::Refused, "the archive's names cannot be a package's: " + list.problem};
    }
    fs::remove_all(folder, error);
    unpacked.kind = failure->kind;
    unpacked.problem = std::move(failure->problem);
    return unpacked;
}

} // namespace

ArchiveUnpacking unpackArchive(const fs::path &archive, const fs::path &folder,
                               const UnpackLimits &limits)
{
    return unpackOpened(DriverArchive(archive), folder, limits);
}

ArchiveUnpacking unpackArchiveInMemory(std::string_view bytes, const fs::path &folder,
                                       const UnpackLimits &limits)
{
    return unpackOpened(DriverArchive(bytes), folder, limits);
}

} // namespace tollen::builder
