#include "builder/ArchiveWalk.h"

#include "core/FileDescriptor.h"
#include "core/Text.h"

#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>

namespace tollen::builder {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

struct ArchiveFree
{
    void operator()(archive *handle) const { archive_read_free(handle); }
};
using ArchiveHandle = std::unique_ptr<archive, ArchiveFree>;

std::string errorText(archive *handle)
{
    const char *text = archive_error_string(handle);
    return text != nullptr ? text : "unknown archive error";
}

/// The member's name as UTF-8: libarchive's conversion when it has one, else the raw bytes read
/// as the program reads any file text.
std::string memberName(archive_entry *entry)
{
    if (const char *name = archive_entry_pathname_utf8(entry)) {
        return name;
    }
    if (const char *name = archive_entry_pathname(entry)) {
        return decodeFileText(name);
    }
    return {};
}

bool isDrive(std::string_view part)
{
    return part.size() == 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

enum class MemberRead { Read, TooLarge, Failed, Fatal };

/// Reads the current member's data into `bytes`, stopping past `largest` bytes.
MemberRead readMember(archive *handle, std::uint64_t largest, std::string &bytes)
{
    std::array<char, kBlockSize> block;
    for (;;) {
        const la_ssize_t count = archive_read_data(handle, block.data(), block.size());
        if (count < 0) {
            bytes.clear();
            return count == ARCHIVE_FATAL ? MemberRead::Fatal : MemberRead::Failed;
        }
        if (count == 0) {
            return MemberRead::Read;
        }
        bytes.append(block.data(), static_cast<std::size_t>(count));
        if (bytes.size() > largest) {
            bytes.clear();
            bytes.shrink_to_fit();
            return MemberRead::TooLarge;
        }
    }
}

} // namespace

std::string safeMemberPath(std::string_view memberPath)
{
    std::string path;
    std::size_t start = 0;
    bool first = true;
    while (start <= memberPath.size()) {
        std::size_t end = memberPath.find_first_of("/\\", start);
        if (end == std::string_view::npos) {
            end = memberPath.size();
        }
        const std::string_view part = memberPath.substr(start, end - start);
        if ((first && part.empty() && end < memberPath.size()) || part == ".." ||
            (first && isDrive(part))) {
            return {};
        }
        if (!part.empty() && part != ".") {
            if (!path.empty()) {
                path += '/';
            }
            path += part;
        }
        first = false;
        start = end + 1;
    }
    return path;
}

ArchiveWalkResult walkArchive(const std::filesystem::path &file, ArchiveVisitor &visitor,
                              std::uint64_t largestMember)
{
    const FileDescriptor descriptor{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
    if (!descriptor) {
        return {ArchiveOutcome::Unreadable, std::strerror(errno)};
    }
    const ArchiveHandle handle(archive_read_new());
    if (!handle) {
        return {ArchiveOutcome::Unreadable, "out of memory"};
    }
    archive *reader = handle.get();
    // The formats a driver package comes in; a self-extracting .exe is one of them behind a
    // program stub.
    archive_read_support_format_zip(reader);
    archive_read_support_format_7zip(reader);
    archive_read_support_format_rar(reader);
    archive_read_support_format_rar5(reader);
    archive_read_support_format_cab(reader);
    // The file opened, so a failure here means libarchive recognises no archive in it.
    if (archive_read_open_fd(reader, descriptor.get(), kBlockSize) != ARCHIVE_OK) {
        return {ArchiveOutcome::NotAnArchive, errorText(reader)};
    }
    std::string bytes;
    for (;;) {
        archive_entry *entry = nullptr;
        const int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) {
            return {};
        }
        if (status == ARCHIVE_FATAL || status == ARCHIVE_RETRY) {
            return {ArchiveOutcome::Damaged, errorText(reader)};
        }
        const std::string name = memberName(entry);
        if (archive_entry_filetype(entry) != AE_IFREG || !endsWithIgnoringCase(name, ".inf")) {
            continue;
        }
        const std::string path = safeMemberPath(name);
        if (path.empty()) {
            visitor.skipInf(name, SkipReason::UnsafeMemberPath, {});
            continue;
        }
        if (status == ARCHIVE_FAILED) {
            visitor.skipInf(path, SkipReason::MemberUnreadable, errorText(reader));
            continue;
        }
        if (archive_entry_is_encrypted(entry) != 0) {
            visitor.skipInf(path, SkipReason::MemberUnreadable, "encrypted");
            continue;
        }
        if (archive_entry_size_is_set(entry) != 0 &&
            static_cast<std::uint64_t>(archive_entry_size(entry)) > largestMember) {
            visitor.skipInf(path, SkipReason::TooLarge, {});
            continue;
        }
        bytes.clear();
        if (archive_entry_size_is_set(entry) != 0) {
            // Room for the size the member gives, so its bytes are not copied again as they grow.
            bytes.reserve(static_cast<std::size_t>(archive_entry_size(entry)));
        }
        switch (readMember(reader, largestMember, bytes)) {
        case MemberRead::Read:
            visitor.visitInf(path, bytes);
            break;
        case MemberRead::TooLarge:
            visitor.skipInf(path, SkipReason::TooLarge, {});
            break;
        case MemberRead::Failed:
            visitor.skipInf(path, SkipReason::MemberUnreadable, errorText(reader));
            break;
        case MemberRead::Fatal:
            return {ArchiveOutcome::Damaged, errorText(reader)};
        }
    }
}

} // namespace tollen::builder
