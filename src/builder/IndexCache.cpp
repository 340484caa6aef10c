#include "builder/IndexCache.h"

#include "core/AtomicFileWriter.h"
#include "core/FileDescriptor.h"

#include <charconv>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

namespace tollen::builder {
namespace {

/// Names the builder's rules as well as the file's layout: a builder that gives other lines
/// for the same package must change it, so an old cache is not taken for its own.
constexpr std::string_view kCacheHeader = "tollen-index cache 4\n";
constexpr std::string_view kCacheEnd = "end\n";

/// Writes records of fields, each field followed by a blank and the last by a line end, to
/// the cache file through a buffer; large fields go straight to the file.
class CacheWriter
{
public:
    explicit CacheWriter(AtomicFileWriter &file) : m_file(file) {}

    void number(std::uint64_t value) { field(std::to_string(value)); }
    void signedNumber(std::int64_t value) { field(std::to_string(value)); }
    void text(std::string_view value)
    {
        m_buffer += std::to_string(value.size());
        m_buffer += ':';
        if (value.size() > kBufferSize) {
            flush();
            write(value);
            m_buffer += ' ';
        } else {
            field(value);
        }
    }
    void raw(std::string_view bytes) { m_buffer += bytes; }
    void endRecord()
    {
        m_buffer.back() = '\n';
        if (m_buffer.size() > kBufferSize) {
            flush();
        }
    }
    /// Writes what is buffered; the first failure of any write.
    Error finish()
    {
        flush();
        return m_error;
    }

private:
    static constexpr std::size_t kBufferSize = 1024 * 1024;

    void field(std::string_view value)
    {
        m_buffer += value;
        m_buffer += ' ';
    }
    void write(std::string_view bytes)
    {
        if (!m_error) {
            m_error = m_file.write(bytes);
        }
    }
    void flush()
    {
        write(m_buffer);
        m_buffer.clear();
    }

    AtomicFileWriter &m_file;
    std::string m_buffer;
    Error m_error;
};

/// Reads what CacheWriter wrote. Any surprise marks the reader failed; reads then give nothing.
class CacheReader
{
public:
    explicit CacheReader(std::string_view text) : m_text(text) {}

    bool failed() const { return m_failed; }
    bool atEnd() const { return m_position == m_text.size(); }

    /// True, and consumed, when the text continues with `expected`.
    bool skip(std::string_view expected)
    {
        if (m_failed || !m_text.substr(m_position).starts_with(expected)) {
            return false;
        }
        m_position += expected.size();
        return true;
    }

    template <typename Number> Number number()
    {
        const std::string_view digits = upTo(" \n");
        Number value{};
        const auto [stop, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc() || stop != digits.data() + digits.size()) {
            m_failed = true;
        }
        return value;
    }

    std::string text() { return std::string(view()); }

    /// A length-prefixed field, viewed where it stands in the text.
    std::string_view view()
    {
        const std::string_view digits = upTo(":");
        std::size_t size = 0;
        const auto [stop, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), size);
        if (m_failed || error != std::errc() || stop != digits.data() + digits.size() ||
            size >= m_text.size() - m_position) {
            m_failed = true;
            return {};
        }
        const std::string_view value = m_text.substr(m_position, size);
        m_position += size;
        separator();
        return value;
    }

private:
    /// The text up to the next of `stops`, which is consumed too.
    std::string_view upTo(std::string_view stops)
    {
        const std::size_t stop =
            m_failed ? std::string_view::npos : m_text.find_first_of(stops, m_position);
        if (stop == std::string_view::npos) {
            m_failed = true;
            return {};
        }
        const std::string_view found = m_text.substr(m_position, stop - m_position);
        m_position = stop + 1;
        return found;
    }

    void separator()
    {
        if (m_position < m_text.size() &&
            (m_text[m_position] == ' ' || m_text[m_position] == '\n')) {
            ++m_position;
        } else {
            m_failed = true;
        }
    }

    std::string_view m_text;
    std::size_t m_position = 0;
    bool m_failed = false;
};

template <typename Enum> std::optional<Enum> enumFrom(std::uint64_t value, std::size_t count)
{
    return value < count ? std::optional<Enum>(static_cast<Enum>(value)) : std::nullopt;
}

constexpr std::size_t kPlacementResultCount =
    static_cast<std::size_t>(database::IdPlacementResult::ReservedBus) + 1;

void writeStamp(CacheWriter &writer, const FileStamp &stamp)
{
    writer.number(stamp.size);
    writer.signedNumber(stamp.modified);
    writer.signedNumber(stamp.changed);
    writer.number(stamp.inode);
}

FileStamp readStamp(CacheReader &reader)
{
    FileStamp stamp;
    stamp.size = reader.number<std::uint64_t>();
    stamp.modified = reader.number<std::int64_t>();
    stamp.changed = reader.number<std::int64_t>();
    stamp.inode = reader.number<std::uint64_t>();
    return stamp;
}

void writePackage(CacheWriter &writer, const std::string &remotePath, const CachedPackage &package)
{
    const PackageIndex &index = package.index;
    writer.text("package");
    writer.text(remotePath);
    writeStamp(writer, package.stamp);
    writer.text(package.proof);
    writer.number(index.infFilesRead);
    writer.number(index.idsWithoutBus);
    writer.number(index.skipped.size());
    writer.number(index.refused.size());
    writer.text(package.lines());
    writer.endRecord();
    for (const SkippedFile &skipped : index.skipped) {
        writer.number(static_cast<std::uint64_t>(skipped.reason));
        writer.text(skipped.path);
        writer.text(skipped.detail);
        writer.endRecord();
    }
    for (const RefusedId &refused : index.refused) {
        writer.number(static_cast<std::uint64_t>(refused.reason));
        writer.text(refused.path);
        writer.text(refused.hardwareId);
        writer.endRecord();
    }
}

/// Reads one package record after its "package" tag; false when the record is damaged.
bool readPackage(CacheReader &reader, IndexCache &cache)
{
    std::string remotePath = reader.text();
    CachedPackage package;
    package.stamp = readStamp(reader);
    package.proof = reader.text();
    PackageIndex &index = package.index;
    index.infFilesRead = reader.number<std::uint32_t>();
    index.idsWithoutBus = reader.number<std::uint32_t>();
    const auto skippedCount = reader.number<std::size_t>();
    const auto refusedCount = reader.number<std::size_t>();
    package.storedLines = reader.view();
    for (std::size_t skipped = 0; skipped < skippedCount && !reader.failed(); ++skipped) {
        const auto reason = enumFrom<SkipReason>(reader.number<std::uint64_t>(), kSkipReasonCount);
        std::string path = reader.text();
        std::string detail = reader.text();
        if (!reason) {
            return false;
        }
        index.skipped.push_back({std::move(path), *reason, std::move(detail)});
    }
    for (std::size_t refused = 0; refused < refusedCount && !reader.failed(); ++refused) {
        const auto reason = enumFrom<database::IdPlacementResult>(reader.number<std::uint64_t>(),
                                                                  kPlacementResultCount);
        std::string path = reader.text();
        std::string hardwareId = reader.text();
        if (!reason) {
            return false;
        }
        index.refused.push_back({std::move(path), std::move(hardwareId), *reason});
    }
    return !reader.failed() &&
           cache.packages.emplace(std::move(remotePath), std::move(package)).second;
}

/// Reads one file's digest after its "file" tag; false when the record is damaged.
bool readDigest(CacheReader &reader, IndexCache &cache)
{
    std::string remotePath = reader.text();
    KnownDigest known;
    known.stamp = readStamp(reader);
    known.digest.sha256 = reader.text();
    known.digest.size = reader.number<std::uint64_t>();
    return !reader.failed() && isSha256Hex(known.digest.sha256) &&
           cache.digests.emplace(std::move(remotePath), std::move(known)).second;
}

/// Reads the tree record after its "tree" tag.
TreeRecord readTree(CacheReader &reader)
{
    TreeRecord tree;
    tree.device = reader.number<std::uint64_t>();
    tree.inode = reader.number<std::uint64_t>();
    tree.modified = reader.number<std::int64_t>();
    tree.lines = reader.number<std::uint64_t>();
    tree.indexFiles = reader.number<std::uint64_t>();
    const auto fileCount = reader.number<std::size_t>();
    for (std::size_t file = 0; file < fileCount && !reader.failed(); ++file) {
        TreeFile treeFile;
        treeFile.path = reader.text();
        treeFile.size = reader.number<std::uint64_t>();
        treeFile.modified = reader.number<std::int64_t>();
        tree.files.push_back(std::move(treeFile));
    }
    return tree;
}

} // namespace

bool CachedPackage::operator==(const CachedPackage &other) const
{
    return stamp == other.stamp && proof == other.proof &&
           index.infFilesRead == other.index.infFilesRead &&
           index.idsWithoutBus == other.index.idsWithoutBus &&
           index.skipped == other.index.skipped && index.refused == other.index.refused &&
           lines() == other.lines();
}

IndexCache loadIndexCache(const std::filesystem::path &file)
{
    // Only a plain file of the root's own is taken, never one a link points to elsewhere, and
    // opening a pipe planted under the cache's name must not wait for a writer.
    const FileDescriptor descriptor(
        ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status
    {
    };
    if (!descriptor || ::fstat(descriptor.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size <= 0) {
        return {};
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    void *mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor.get(), 0);
    if (mapped == MAP_FAILED) {
        return {};
    }
    std::shared_ptr<const void> storage(
        mapped, [size](const void *address) { ::munmap(const_cast<void *>(address), size); });
    const std::string_view text(static_cast<const char *>(mapped), size);
    CacheReader reader(text);
    IndexCache cache;
    if (!reader.skip(kCacheHeader)) {
        return {};
    }
    if (reader.skip("4:tree ")) {
        cache.tree = readTree(reader);
    }
    while (reader.skip("7:package ")) {
        if (!readPackage(reader, cache)) {
            return {};
        }
    }
    while (reader.skip("4:file ")) {
        if (!readDigest(reader, cache)) {
            return {};
        }
    }
    if (!reader.skip(kCacheEnd) || !reader.atEnd()) {
        return {};
    }
    cache.storage = std::move(storage);
    return cache;
}

Error saveIndexCache(const std::filesystem::path &file, const IndexCache &cache)
{
    // Its temporary file is named as the builder's own files are; a link under the cache's
    // name is replaced, never written through.
    AtomicFileWriter out = AtomicFileWriter::forOwnFile(file, "index-");
    if (Error error = out.open()) {
        return error;
    }
    CacheWriter writer(out);
    writer.raw(kCacheHeader);
    if (cache.tree) {
        const TreeRecord &tree = *cache.tree;
        writer.text("tree");
        writer.number(tree.device);
        writer.number(tree.inode);
        writer.signedNumber(tree.modified);
        writer.number(tree.lines);
        writer.number(tree.indexFiles);
        writer.number(tree.files.size());
        writer.endRecord();
        for (const TreeFile &treeFile : tree.files) {
            writer.text(treeFile.path);
            writer.number(treeFile.size);
            writer.signedNumber(treeFile.modified);
            writer.endRecord();
        }
    }
    for (const auto &[remotePath, package] : cache.packages) {
        writePackage(writer, remotePath, package);
    }
    for (const auto &[remotePath, known] : cache.digests) {
        writer.text("file");
        writer.text(remotePath);
        writeStamp(writer, known.stamp);
        writer.text(known.digest.sha256);
        writer.number(known.digest.size);
        writer.endRecord();
    }
    writer.raw(kCacheEnd);
    if (Error error = writer.finish()) {
        return error;
    }
    return out.commit();
}

} // namespace tollen::builder
