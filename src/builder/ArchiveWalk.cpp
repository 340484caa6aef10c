#include "builder/ArchiveWalk.h"

#include "builder/ArchiveReader.h"
#include "core/Text.h"

#include <archive.h>
#include <archive_entry.h>
#include <array>

namespace tollen::builder {
namespace {

bool isDrive(std::string_view part)
{
    return part.size() == 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

enum class MemberRead { Read, TooLarge, Failed, Fatal };

/// Reads the current member's data into `bytes`, stopping past `largest` bytes.
MemberRead readMember(archive *handle, std::uint64_t largest, std::string &bytes)
{
    std::array<char, kArchiveBlockSize> block;
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
    const DriverArchive archive(file);
    switch (archive.state()) {
    case DriverArchive::State::Opened:
        break;
    case DriverArchive::State::NotAnArchive:
        return {ArchiveOutcome::NotAnArchive, archive.problem()};
    case DriverArchive::State::Unreadable:
        return {ArchiveOutcome::Unreadable, archive.problem()};
    }
    ::archive *reader = archive.handle();
    std::string bytes;
    for (;;) {
        archive_entry *entry = nullptr;
        const int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) {
            return {};
        }
        if (status == ARCHIVE_FATAL || status == ARCHIVE_RETRY) {
            return {ArchiveOutcome::Damaged, archiveErrorText(reader)};
        }
        const std::string name = archiveMemberName(entry);
        if (archive_entry_filetype(entry) != AE_IFREG || !endsWithIgnoringCase(name, ".inf")) {
            continue;
        }
        const std::string path = safeMemberPath(name);
        if (path.empty()) {
            visitor.skipInf(name, SkipReason::UnsafeMemberPath, {});
            continue;
        }
        if (status == ARCHIVE_FAILED) {
            visitor.skipInf(path, SkipReason::MemberUnreadable, archiveErrorText(reader));
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
            visitor.skipInf(path, SkipReason::MemberUnreadable, archiveErrorText(reader));
            break;
        case MemberRead::Fatal:
            return {ArchiveOutcome::Damaged, archiveErrorText(reader)};
        }
    }
}

} // namespace tollen::builder
