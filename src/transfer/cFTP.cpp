#include "transfer/cFTP.h"

#include "core/AtomicFileWriter.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "transfer/FtpListing.h"
#include "transfer/FtpSession.h"
#include "transfer/LocalFileTime.h"
#include "transfer/TransferError.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <limits>

namespace tollen::transfer {
namespace {

// Chunked transfers move 255 bytes at a time, one progress event each.
constexpr std::size_t kChunk = 255;
constexpr std::size_t kBlock = 64 * 1024;

std::int32_t clampedSize(std::uint64_t size)
{
    return static_cast<std::int32_t>(
        std::min<std::uint64_t>(size, std::numeric_limits<std::int32_t>::max()));
}

std::int64_t nowUnixSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

/// The entries of the listing that match a pattern whose directory part, if any, is relative
/// to the working directory; an empty name part matches everything.
Error findEntries(FtpSession &session, const std::string &pattern,
                  std::vector<ListingEntry> &matches)
{
    const auto slash = pattern.rfind('/');
    const std::string directory = slash == std::string::npos ? session.workingDirectory()
                                  : slash == 0               ? std::string("/")
                                               : session.absolute(pattern.substr(0, slash));
    std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (name.empty()) {
        name = "*";
    }
    std::string listing;
    if (Error error = session.list(directory, listing)) {
        return error;
    }
    for (auto &entry : parseListing(listing, nowUnixSeconds())) {
        if (matchesPattern(name, entry.name)) {
            matches.push_back(std::move(entry));
        }
    }
    return {};
}

/// Copies what is left of a download to the local file, up to the end of the transfer.
Error copyRest(FtpSession &session, AtomicFileWriter &local)
{
    std::vector<char> block(kBlock);
    while (true) {
        Error error;
        const std::size_t received = session.read(block.data(), block.size(), error);
        if (local.write(std::string_view(block.data(), received))) {
            return transferError(TransferCode::LocalFileWrite);
        }
        if (error || received < block.size()) {
            return error;
        }
    }
}

} // namespace

cFTP::cFTP(TransferOptions options) : m_session(FtpSession::create(std::move(options))) {}

cFTP::~cFTP() = default;

std::shared_ptr<cDirList> cFTP::Directory()
{
    if (!m_directory) {
        m_directory = std::make_shared<cDirList>();
    }
    return m_directory;
}

bool cFTP::OpenConnection(const std::string &sServer, const std::string &sUser,
                          const std::string &sPassword)
{
    const Error error =
        m_session->login(sServer, sUser, sPassword, m_connectMode == ConnectMode::Passive);
    if (error) {
        ReportError(error, "InternetConnect");
        return false;
    }
    return true;
}

void cFTP::CloseConnection()
{
    m_session->close();
}

bool cFTP::SimpleFTPPutFile(const std::string &sLocal, const std::string &sRemote)
{
    std::ifstream local(pathFromUtf8(sLocal), std::ios::binary);
    if (!local) {
        ReportError(transferError(TransferCode::LocalFileOpen), "SimpleFtpPutFile");
        return false;
    }
    if (Error error = m_session->beginUpload(m_session->absolute(sRemote), binary())) {
        ReportError(error, "SimpleFtpPutFile");
        return false;
    }
    std::array<char, kBlock> block{};
    while (local) {
        local.read(block.data(), block.size());
        const auto count = static_cast<std::size_t>(local.gcount());
        Error error = local.bad() ? transferError(TransferCode::LocalFileRead)
                                  : m_session->write(block.data(), count);
        if (error) {
            m_session->abandonTransfer();
            ReportError(error, "SimpleFtpPutFile");
            return false;
        }
    }
    if (Error error = m_session->endUpload()) {
        ReportError(error, "SimpleFtpPutFile");
        return false;
    }
    return true;
}

bool cFTP::runCommands(const std::vector<std::string> &commands, const std::string &sOperation)
{
    if (Error error = m_session->command(commands)) {
        ReportError(error, sOperation);
        return false;
    }
    return true;
}

bool cFTP::RenameFTPFile(const std::string &sExisting, const std::string &sNewName)
{
    return runCommands(
        {"RNFR " + m_session->absolute(sExisting), "RNTO " + m_session->absolute(sNewName)},
        "RenameFTPFile");
}

bool cFTP::CreateFTPDirectory(const std::string &sDirectory)
{
    return runCommands({"MKD " + m_session->absolute(sDirectory)}, "CreateFTPDirectory");
}

bool cFTP::RemoveFTPDirectory(const std::string &sDirectory)
{
    return runCommands({"RMD " + m_session->absolute(sDirectory)}, "RemoveFTPDirectory");
}

bool cFTP::DeleteFTPFile(const std::string &sRemote)
{
    return runCommands({"DELE " + m_session->absolute(sRemote)}, "DeleteFTPFile");
}

void cFTP::chunkDone(std::int64_t current, std::int64_t total)
{
    if (m_yield) {
        m_yield();
    }
    if (m_progress) {
        m_progress(current, total);
    }
}

bool cFTP::FTPUploadFile(std::string &sLocal, std::string &sRemote)
{
    sLocal = trimSpaces(sLocal);
    sRemote = trimSpaces(sRemote);
    if (sLocal.empty() || sRemote.empty()) {
        return false;
    }
    // The local file is opened first, so that a missing one leaves no empty remote file.
    std::ifstream local(pathFromUtf8(sLocal), std::ios::binary | std::ios::ate);
    if (!local) {
        ReportError(transferError(TransferCode::LocalFileOpen), "CreateFile");
        return false;
    }
    const auto total = static_cast<std::int64_t>(local.tellg());
    local.seekg(0);
    if (Error error = m_session->beginUpload(m_session->absolute(sRemote), binary())) {
        ReportError(error, "FtpOpenFile:PutFile");
        return false;
    }
    std::array<char, kChunk> buffer{};
    const auto sendPiece = [&](std::size_t count, const char *operation) {
        Error error = local.read(buffer.data(), static_cast<std::streamsize>(count))
                          ? m_session->write(buffer.data(), count)
                          : transferError(TransferCode::LocalFileRead);
        if (error) {
            m_session->abandonTransfer();
            ReportError(error, operation);
        }
        return !error;
    };
    std::int64_t current = 0;
    for (std::int64_t chunk = 0; chunk < total / static_cast<std::int64_t>(kChunk); ++chunk) {
        if (!sendPiece(kChunk, "InternetWriteFile")) {
            return false;
        }
        current += kChunk;
        chunkDone(current, total);
    }
    const auto rest = static_cast<std::size_t>(total % static_cast<std::int64_t>(kChunk));
    if (rest != 0 && !sendPiece(rest, "InternetWriteFile2")) {
        return false;
    }
    if (Error error = m_session->endUpload()) {
        ReportError(error, "InternetCloseHandle");
        return false;
    }
    if (m_progress) {
        m_progress(total, total);
    }
    return true;
}

bool cFTP::FTPDownloadFile(std::string &sLocal, std::string &sRemote, std::int64_t iSizeLimit)
{
    m_localFileError = {};
    sLocal = trimSpaces(sLocal);
    sRemote = trimSpaces(sRemote);
    if (sLocal.empty() || sRemote.empty()) {
        return false;
    }
    const std::int64_t total = fileSize(sRemote);
    if (total <= 0) {
        return false;
    }
    // The size lookup is made again here: a file that grew past the size its caller checked
    // is not fetched.
    if (total > iSizeLimit) {
        ReportError(transferError(TransferCode::SizeChanged), "FtpOpenFile:GetFile");
        return false;
    }
    if (Error error = m_session->beginDownload(m_session->absolute(sRemote), binary(), 0)) {
        ReportError(error, "FtpOpenFile:GetFile");
        return false;
    }
    // Written beside the destination and renamed over it only when complete, so a failed
    // download neither destroys the file that was there nor leaves a partial one.
    AtomicFileWriter local = AtomicFileWriter::forDownload(pathFromUtf8(sLocal));
    m_localFileError = local.open();
    if (m_localFileError) {
        m_session->abandonTransfer();
        ReportError(transferError(TransferCode::LocalFileOpen), "CreateFile");
        return false;
    }
    const ChunkSink write = [&](std::int64_t, std::int64_t, std::string_view bytes) {
        m_localFileError = local.write(bytes);
        return m_localFileError ? transferError(TransferCode::LocalFileWrite) : Error{};
    };
    if (!readChunks(0, total, kChunk, iSizeLimit, write)) {
        return false;
    }
    m_localFileError = local.commit();
    if (m_localFileError) {
        ReportError(transferError(TransferCode::LocalFileWrite), "CloseHandle");
        return false;
    }
    if (m_progress) {
        m_progress(total, total);
    }
    return true;
}

cFTP::ReadResult cFTP::FTPReadFile(const std::string &sRemote, std::int64_t iOffset,
                                   const ChunkSink &sink)
{
    const std::int64_t total = fileSize(sRemote);
    if (total < 0) {
        return total == -1 ? ReadResult::NoSuchFile : ReadResult::Failed;
    }
    // A file shorter than the bytes there already is another file: it is read from its start.
    std::int64_t start = iOffset <= total ? iOffset : 0;
    if (start < total) {
        const std::string path = m_session->absolute(sRemote);
        Error error = m_session->beginDownload(path, binary(), static_cast<std::uint64_t>(start));
        if (error && start > 0) {
            // A server that refuses the restart offset sends the whole file instead.
            start = 0;
            error = m_session->beginDownload(path, binary(), 0);
        }
        if (error) {
            ReportError(error, "FtpOpenFile:GetFile");
            return ReadResult::Failed;
        }
        if (!readChunks(start, total, kBlock, std::numeric_limits<std::int64_t>::max(), sink)) {
            return ReadResult::Failed;
        }
    }
    if (m_progress) {
        m_progress(total, total);
    }
    return ReadResult::Done;
}

bool cFTP::readChunks(std::int64_t current, std::int64_t total, std::size_t chunkSize,
                      std::int64_t iSizeLimit, const ChunkSink &sink)
{
    std::string buffer(chunkSize, '\0');
    // Binary transfers read exactly the listed size: full chunks, then the rest. An ASCII
    // transfer may differ from the listed size because line ends change on the way, so it reads
    // full chunks up to the end of the transfer, or past the size limit.
    const auto chunk = static_cast<std::int64_t>(chunkSize);
    while (!binary() || current < total) {
        const bool full = !binary() || total - current >= chunk;
        const std::size_t wanted = full ? chunkSize : static_cast<std::size_t>(total - current);
        const char *operation = full ? "InternetReadFile" : "InternetReadFile2";
        Error error;
        const std::size_t received = m_session->read(buffer.data(), wanted, error);
        // A short read keeps the bytes actually read, and fails a binary download.
        if (Error refused = sink(current, total, std::string_view(buffer.data(), received))) {
            error = refused;
        } else if (received < wanted && !error && binary()) {
            error = transferError(TransferCode::ConnectionEnded);
        } else if (current + static_cast<std::int64_t>(received) > iSizeLimit) {
            error = transferError(TransferCode::SizeChanged);
        }
        if (error) {
            m_session->abandonTransfer();
            ReportError(error, operation);
            return false;
        }
        if (received < wanted || !full) {
            break;
        }
        current += chunk;
        chunkDone(current, total);
    }
    if (Error error = m_session->endDownload()) {
        ReportError(error, "InternetCloseHandle");
        return false;
    }
    return true;
}

bool cFTP::SimpleFTPGetFile(const std::string &sLocal, const std::string &sRemote)
{
    if (Error error = m_session->beginDownload(m_session->absolute(sRemote), binary(), 0)) {
        ReportError(error, "SimpleFtpGetFile");
        return false;
    }
    AtomicFileWriter local = AtomicFileWriter::forDownload(pathFromUtf8(sLocal));
    Error error =
        local.open() ? transferError(TransferCode::LocalFileOpen) : copyRest(*m_session, local);
    if (!error) {
        error = m_session->endDownload();
    }
    if (!error && local.commit()) {
        error = transferError(TransferCode::LocalFileWrite);
    }
    if (error) {
        m_session->abandonTransfer();
        ReportError(error, "SimpleFtpGetFile");
        return false;
    }
    return true;
}

std::string cFTP::GetFTPDirectory()
{
    if (!m_session->connected()) {
        ReportError(transferError(TransferCode::NotConnected), "FtpGetCurrentDirectory");
        return "";
    }
    return m_session->workingDirectory();
}

TaggedValue cFTP::SetFTPDirectory(const std::string &sDir)
{
    if (Error error = m_session->changeDirectory(sDir)) {
        ReportError(error, "FtpSetCurrentDirectory");
        return false;
    }
    return true;
}

std::int64_t cFTP::fileSize(const std::string &sFile)
{
    std::string pattern = sFile;
    std::replace(pattern.begin(), pattern.end(), ' ', '?');
    std::vector<ListingEntry> matches;
    if (Error error = findEntries(*m_session, pattern, matches)) {
        ReportError(error, "FtpFindFirstFile");
        return -2;
    }
    if (matches.empty()) {
        return -1;
    }
    return static_cast<std::int64_t>(
        std::min<std::uint64_t>(matches.front().size, std::numeric_limits<std::int64_t>::max()));
}

std::int32_t cFTP::GetFTPFileSize(const std::string &sFile)
{
    const std::int64_t size = fileSize(sFile);
    return size < 0 ? static_cast<std::int32_t>(size)
                    : clampedSize(static_cast<std::uint64_t>(size));
}

std::shared_ptr<cDirList> cFTP::GetDirectoryListing(const std::string &sFilter)
{
    m_directory.reset();
    std::vector<ListingEntry> matches;
    if (Error error = findEntries(*m_session, sFilter, matches)) {
        ReportError(error, "FtpFindFirstFile");
        return nullptr;
    }
    if (matches.empty()) {
        return nullptr;
    }
    auto list = std::make_shared<cDirList>();
    for (const auto &entry : matches) {
        // A listing gives one time per entry; it stands for all three.
        const DateTime written = ConvertFileTime(entry.lastWrite);
        list->Add(entry.directory ? cDirList::kDirectory : cDirList::kNormal, written, written,
                  written, clampedSize(entry.size), entry.name);
    }
    m_directory = list;
    return list;
}

DateTime cFTP::ConvertFileTime(std::int64_t fileTime)
{
    constexpr double kIntervalsPerMillisecond = 10000.0;
    constexpr double kMillisecondsPerDay = 86400000.0;
    constexpr double kDaysFrom1601To1899 = 109205.0;
    return DateTime{static_cast<double>(localFileTime(fileTime)) / kIntervalsPerMillisecond /
                        kMillisecondsPerDay -
                    kDaysFrom1601To1899};
}

void cFTP::ReportError(const Error &error, const std::string &sOperation)
{
    // A server's refusal speaks for itself: its reply alone is the text.
    if (error.code == static_cast<int>(TransferCode::ServerReply)) {
        m_lastError = error.message;
        return;
    }
    m_lastError =
        sOperation + " error code: " + std::to_string(error.code) + " Message: " + error.message;
}

} // namespace tollen::transfer
