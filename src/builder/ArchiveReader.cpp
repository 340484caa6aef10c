#include "builder/ArchiveReader.h"

#include "core/Text.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace tollen::builder {

void ArchiveFree::operator()(archive *handle) const
{
    archive_read_free(handle);
}

DriverArchive::DriverArchive(const std::filesystem::path &file)
    : m_file(::open(file.c_str(), O_RDONLY | O_CLOEXEC))
{
    if (!m_file) {
        m_state = State::Unreadable;
        m_problem = std::strerror(errno);
        return;
    }
    start([this](archive *reader) {
        return archive_read_open_fd(reader, m_file.get(), kArchiveBlockSize);
    });
}

DriverArchive::DriverArchive(std::string_view bytes) : m_file(-1)
{
    start([bytes](archive *reader) {
        // libarchive only reads the bytes; its interface is older than const.
        return archive_read_open_memory(reader, const_cast<char *>(bytes.data()), bytes.size());
    });
}

template <class Open> void DriverArchive::start(Open open)
{
    m_handle.reset(archive_read_new());
    if (!m_handle) {
        m_state = State::Unreadable;
        m_problem = "out of memory";
        return;
    }
    archive *reader = m_handle.get();
    archive_read_support_format_zip(reader);
    archive_read_support_format_7zip(reader);
    archive_read_support_format_rar(reader);
    archive_read_support_format_rar5(reader);
    archive_read_support_format_cab(reader);
    // The bytes are there, so a failure here means libarchive recognises no archive in them.
    if (open(reader) != ARCHIVE_OK) {
        m_state = State::NotAnArchive;
        m_problem = archiveErrorText(reader);
    }
}

std::string archiveErrorText(archive *handle)
{
    const char *text = archive_error_string(handle);
    return text != nullptr ? text : "unknown archive error";
}

std::string archiveMemberName(archive_entry *entry)
{
    if (const char *name = archive_entry_pathname_utf8(entry)) {
        return name;
    }
    if (const char *name = archive_entry_pathname(entry)) {
        return decodeFileText(name);
    }
    return {};
}

} // namespace tollen::builder
