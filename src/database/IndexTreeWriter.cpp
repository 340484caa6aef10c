#include "database/IndexTreeWriter.h"

#include "core/FileDescriptor.h"
#include "database/DatabaseRoot.h"
#include "database/IdPlacement.h"
#include "database/IndexLine.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <sys/uio.h>
#include <tuple>
#include <unistd.h>
#include <unordered_map>

namespace tollen::database {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kIndexFileName = "index.txt";
constexpr std::string_view kLineEnd = "\r\n";

/// One line with the fields its index files are sorted by.
struct SortedLine
{
    std::string_view line;
    std::string_view hardwareId;
    std::string_view remotePath;
    std::string_view decoration;

    auto key() const { return std::tie(hardwareId, remotePath, decoration, line); }
};

SortedLine sortedLine(std::string_view line)
{
    std::array<std::string_view, kFieldCount> fields;
    std::string_view rest = line;
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        const std::size_t separator = rest.find(kFieldSeparator);
        fields[index] = rest.substr(0, separator);
        rest =
            separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
    }
    const auto field = [&](IndexField which) { return fields[static_cast<std::size_t>(which)]; };
    return {line, field(IndexField::HardwareId), field(IndexField::RemotePath),
            field(IndexField::Decoration)};
}

std::int64_t nanoseconds(const timespec &time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

Error systemError(const std::string &what)
{
    const int number = errno != 0 ? errno : EIO;
    return Error{number, what + ": " + std::strerror(number)};
}

/// The lines of the tree in index order, and for each index folder the runs of them it lists.
/// Since every file lists whole runs of one hardware ID, and the runs come in the order of their
/// IDs, every file's lines come out sorted.
struct TreeLayout
{
    std::vector<SortedLine> lines;
    /// Folder below the tree's root to the [first, last) runs of `lines` it lists.
    std::unordered_map<std::string, std::vector<std::pair<std::size_t, std::size_t>>> files;
};

TreeLayout layOut(const std::vector<std::string_view> &packageLines)
{
    TreeLayout layout;
    for (const std::string_view lines : packageLines) {
        forEachLine(lines,
                    [&](std::string_view line) { layout.lines.push_back(sortedLine(line)); });
    }
    std::sort(
        layout.lines.begin(), layout.lines.end(),
        [](const SortedLine &left, const SortedLine &right) { return left.key() < right.key(); });
    // Each line once, even when two packages gave the same one.
    layout.lines.erase(std::unique(layout.lines.begin(), layout.lines.end(),
                                   [](const SortedLine &left, const SortedLine &right) {
                                       return left.line == right.line;
                                   }),
                       layout.lines.end());
    for (std::size_t first = 0; first < layout.lines.size();) {
        const std::string_view hardwareId = layout.lines[first].hardwareId;
        std::size_t last = first + 1;
        while (last < layout.lines.size() && layout.lines[last].hardwareId == hardwareId) {
            ++last;
        }
        for (std::string &folder : placeHardwareId(hardwareId).folders) {
            layout.files[std::move(folder)].emplace_back(first, last);
        }
        first = last;
    }
    return layout;
}

/// Writes the lines of `runs` as a new file `name` below the folder `folder`, each line ended
/// with CR LF, gathered straight from where the lines are held; adds the file to `written`.
Error writeIndexFile(int folder, const std::string &name, const std::vector<SortedLine> &lines,
                     const std::vector<std::pair<std::size_t, std::size_t>> &runs,
                     std::vector<TreeFile> &written)
{
    const FileDescriptor file(
        ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file) {
        return systemError("cannot create " + name);
    }
    static constexpr std::size_t kPiecesPerWrite = 512;
    std::vector<iovec> pieces;
    pieces.reserve(kPiecesPerWrite);
    const auto writePieces = [&]() -> Error {
        std::size_t next = 0;
        while (next < pieces.size()) {
            const ssize_t written =
                ::writev(file.get(), pieces.data() + next, static_cast<int>(pieces.size() - next));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return systemError("cannot write " + name);
            }
            // Skip what was written, which may end inside a piece.
            auto left = static_cast<std::size_t>(written);
            while (next < pieces.size() && left >= pieces[next].iov_len) {
                left -= pieces[next++].iov_len;
            }
            if (left > 0) {
                pieces[next].iov_base = static_cast<char *>(pieces[next].iov_base) + left;
                pieces[next].iov_len -= left;
            }
        }
        pieces.clear();
        return {};
    };
    for (const auto &[first, last] : runs) {
        for (std::size_t index = first; index < last; ++index) {
            const std::string_view line = lines[index].line;
            pieces.push_back({const_cast<char *>(line.data()), line.size()});
            pieces.push_back({const_cast<char *>(kLineEnd.data()), kLineEnd.size()});
            if (pieces.size() >= kPiecesPerWrite) {
                if (Error error = writePieces()) {
                    return error;
                }
            }
        }
    }
    if (Error error = writePieces()) {
        return error;
    }
    struct stat status
    {
    };
    if (::fstat(file.get(), &status) != 0) {
        return systemError("cannot read " + name);
    }
    written.push_back(
        {name, static_cast<std::uint64_t>(status.st_size), nanoseconds(status.st_mtim)});
    return {};
}

/// Makes `name` below `folder`, and its parents when they are missing.
Error makeFolder(int folder, const std::string &name)
{
    if (::mkdirat(folder, name.c_str(), 0777) == 0 || errno == EEXIST) {
        return {};
    }
    const std::size_t slash = name.rfind('/');
    if (errno != ENOENT || slash == std::string::npos) {
        return systemError("cannot make the folder " + name);
    }
    if (Error error = makeFolder(folder, name.substr(0, slash))) {
        return error;
    }
    if (::mkdirat(folder, name.c_str(), 0777) != 0 && errno != EEXIST) {
        return systemError("cannot make the folder " + name);
    }
    return {};
}

/// Writes every index file of the layout below the open folder `tree`, each added to `written`.
Error writeIndexFiles(int tree, const TreeLayout &layout, std::vector<TreeFile> &written)
{
    std::vector<const std::string *> folders;
    folders.reserve(layout.files.size());
    for (const auto &[folder, runs] : layout.files) {
        folders.push_back(&folder);
    }
    // A folder's name sorts before the names of the folders inside it.
    std::sort(folders.begin(), folders.end(),
              [](const std::string *left, const std::string *right) { return *left < *right; });
    for (const std::string *folder : folders) {
        if (Error error = makeFolder(tree, *folder)) {
            return error;
        }
        if (Error error =
                writeIndexFile(tree, *folder + "/" + std::string(kIndexFileName), layout.lines,
                               layout.files.find(*folder)->second, written)) {
            return error;
        }
    }
    return {};
}

/// Puts the complete tree at `built` in the place of the index tree.
Error swapIn(const fs::path &root, const fs::path &built)
{
    const fs::path tree = indexTreePath(root);
    if (::renameat2(AT_FDCWD, built.c_str(), AT_FDCWD, tree.c_str(), RENAME_EXCHANGE) == 0) {
        return {};
    }
    if (errno == ENOENT) {
        // No tree yet: the new one moves in.
        if (::rename(built.c_str(), tree.c_str()) == 0) {
            return {};
        }
        return systemError("cannot move the new index tree to " + tree.string());
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return systemError("cannot swap in the new index tree at " + tree.string());
    }
    // This file system cannot swap two folders in one step: two renames, the old tree moved
    // back if the new one cannot move in.
    const fs::path old = oldTreePath(root);
    std::error_code ignored;
    fs::remove_all(old, ignored);
    if (::rename(tree.c_str(), old.c_str()) != 0) {
        return systemError("cannot move the old index tree at " + tree.string());
    }
    if (::rename(built.c_str(), tree.c_str()) != 0) {
        Error error = systemError("cannot move the new index tree to " + tree.string());
        ::rename(old.c_str(), tree.c_str());
        return error;
    }
    ::rename(old.c_str(), built.c_str());
    return {};
}

} // namespace

std::optional<TreeRecord> currentTreeRecord(const fs::path &root)
{
    struct stat status
    {
    };
    if (::stat(indexTreePath(root).c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return std::nullopt;
    }
    TreeRecord record;
    record.device = status.st_dev;
    record.inode = status.st_ino;
    record.modified = nanoseconds(status.st_mtim);
    return record;
}

bool treeFilesAsRecorded(const fs::path &root, const std::vector<TreeFile> &files)
{
    const FileDescriptor tree(
        ::open(indexTreePath(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!tree) {
        return false;
    }
    return std::all_of(files.begin(), files.end(), [&](const TreeFile &file) {
        struct stat status
        {
        };
        return ::fstatat(tree.get(), file.path.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_size) == file.size &&
               nanoseconds(status.st_mtim) == file.modified;
    });
}

Error writeIndexTree(const fs::path &root, const std::vector<std::string_view> &packageLines,
                     TreeRecord &record)
{
    const fs::path built = buildTreePath(root);
    std::error_code removeError;
    // A run that died left its tree behind; it was never swapped in.
    fs::remove_all(built, removeError);
    if (removeError) {
        return Error{removeError.value(),
                     "cannot remove " + built.string() + ": " + removeError.message()};
    }
    if (::mkdir(built.c_str(), 0777) != 0) {
        return systemError("cannot make the folder " + built.string());
    }
    const TreeLayout layout = layOut(packageLines);
    std::vector<TreeFile> files;
    Error error;
    {
        const FileDescriptor tree(::open(built.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!tree) {
            error = systemError("cannot open " + built.string());
        } else if (!(error = writeIndexFiles(tree.get(), layout, files)) &&
                   ::syncfs(tree.get()) != 0) {
            error = systemError("cannot write " + built.string() + " to the disk");
        }
    }
    if (!error) {
        error = swapIn(root, built);
    }
    // After the swap the old tree is where the new one was built; either way it goes.
    fs::remove_all(built, removeError);
    if (error) {
        return error;
    }
    const std::optional<TreeRecord> written = currentTreeRecord(root);
    if (!written) {
        return systemError("cannot read the new index tree at " + indexTreePath(root).string());
    }
    record = *written;
    record.files = std::move(files);
    record.indexFiles = layout.files.size();
    record.lines = layout.lines.size();
    return {};
}

} // namespace tollen::database
