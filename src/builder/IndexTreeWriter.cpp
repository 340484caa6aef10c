#include "builder/IndexTreeWriter.h"

#include "builder/DatabaseRoot.h"
#include "core/SystemError.h"
#include "database/IndexTree.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tollen::builder {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::int64_t nanoseconds(const timespec &time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

/// Starts `work` on a thread of its own where the machine has a second core. Otherwise, or when
/// no thread can be had, the thread is empty and the caller does the work itself.
template <typename Work> std::jthread secondThread(Work work)
{
    if (std::thread::hardware_concurrency() < 2) {
        return {};
    }
    try {
        return std::jthread(std::move(work));
    } catch (const std::system_error &) {
        return {};
    }
}

/// Writes all of `text` to `file`, which may take several calls.
Error writeAll(int file, std::string_view text, const std::string &name)
{
    while (!text.empty()) {
        const ssize_t written = ::write(file, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return systemError("cannot write " + name);
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

/// Writes a new file `name` below the open folder `tree`, whose folder is made; `written`
/// describes the file.
Error writeTreeFile(int tree, std::string name, std::string_view text, TreeFile &written)
{
    const FileDescriptor file(
        ::openat(tree, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file) {
        return systemError("cannot create " + name);
    }
    if (Error error = writeAll(file.get(), text, name)) {
        return error;
    }
    struct stat status
    {
    };
    if (::fstat(file.get(), &status) != 0) {
        return systemError("cannot read " + name);
    }
    written = {std::move(name), static_cast<std::uint64_t>(status.st_size),
               nanoseconds(status.st_mtim)};
    return {};
}

/// Writes the index file of a folder that is made, each line ended with CR LF, gathered in `text`
/// first (kept from file to file, so its memory is reused) and written in one piece; `written`
/// describes the file.
Error writeIndexFile(int tree, const IndexFolder &folder,
                     const std::vector<std::string_view> &lines, std::string &text,
                     TreeFile &written)
{
    text.clear();
    for (const LineRange &range : folder.ranges) {
        for (std::size_t line = range.first; line < range.last; ++line) {
            text += lines[line];
            text += kLineEnd;
        }
    }
    return writeTreeFile(tree, folder.name + "/" + std::string(database::kIndexFileName), text,
                         written);
}

/// Writes the index file of every folder of the layout below the open folder `tree`, where the
/// folders are made, on a second thread as well where the machine has a second core: each file
/// is in a folder of its own, so the two never wait for each other's hold on a folder. `written`
/// describes the files in the layout's order.
Error writeIndexFiles(int tree, const IndexTreeLayout &layout, std::vector<TreeFile> &written)
{
    written.resize(layout.folders.size());
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> failed = false;
    const auto writeFiles = [&](Error &error) {
        std::string text;
        for (std::size_t folder = next++; folder < layout.folders.size() && !failed;
             folder = next++) {
            error =
                writeIndexFile(tree, layout.folders[folder], layout.lines, text, written[folder]);
            failed = failed || error;
        }
    };
    Error helperError;
    std::exception_ptr helperException;
    std::jthread helper = secondThread([&] {
        try {
            writeFiles(helperError);
        } catch (...) {
            helperException = std::current_exception();
            failed = true;
        }
    });
    Error error;
    writeFiles(error);
    if (helper.joinable()) {
        helper.join();
    }
    if (helperException) {
        std::rethrow_exception(helperException);
    }
    return error ? error : helperError;
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

/// Writes the files added beside the index files, each in its folder, then the description;
/// `written` gains their records.
Error writeAddedFiles(int tree, const std::vector<std::pair<std::string, std::string>> &added,
                      const std::string &description, std::vector<TreeFile> &written)
{
    for (const auto &[path, text] : added) {
        if (Error error = makeFolder(tree, path.substr(0, path.rfind('/')))) {
            return error;
        }
        if (Error error = writeTreeFile(tree, path, text, written.emplace_back())) {
            return error;
        }
    }
    return writeTreeFile(tree, std::string(database::kDatabaseDescriptionName), description,
                         written.emplace_back());
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

IndexTreeWriter::IndexTreeWriter(fs::path root)
    : m_root(std::move(root)), m_built(buildTreePath(m_root))
{
}

IndexTreeWriter::~IndexTreeWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_finishing = true;
    }
    m_added.notify_one();
    // m_builder, the last member, is joined first.
}

void IndexTreeWriter::add(std::string_view packageLines)
{
    if (packageLines.empty()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_texts.push_back(packageLines);
    }
    m_added.notify_one();
}

void IndexTreeWriter::addFile(std::string path, std::string text)
{
    m_files.emplace_back(std::move(path), std::move(text));
}

void IndexTreeWriter::startBuilding()
{
    if (!m_building) {
        m_building = true;
        m_builder = secondThread([this] { build(); });
    }
}

void IndexTreeWriter::build()
{
    try {
        std::vector<std::string_view> texts;
        while (true) {
            {
                std::unique_lock lock(m_mutex);
                m_added.wait(lock, [&] { return !m_texts.empty() || m_finishing; });
                if (m_texts.empty()) {
                    return;
                }
                texts.swap(m_texts);
            }
            fileLines(texts);
            texts.clear();
        }
    } catch (...) {
        m_exception = std::current_exception();
    }
}

void IndexTreeWriter::fileLines(const std::vector<std::string_view> &texts)
{
    for (const std::string_view text : texts) {
        m_lines.add(text);
    }
    if (!m_error && !m_top) {
        m_error = makeTopFolder();
    }
    const std::vector<std::string_view> &folders = m_lines.folders();
    for (; !m_error && m_foldersMade < folders.size(); ++m_foldersMade) {
        m_error = makeFolder(m_top->get(), std::string(folders[m_foldersMade]));
    }
}

Error IndexTreeWriter::makeTopFolder()
{
    std::error_code removeError;
    // A run that died left its tree behind; it was never swapped in.
    fs::remove_all(m_built, removeError);
    if (removeError) {
        return Error{removeError.value(),
                     "cannot remove " + m_built.string() + ": " + removeError.message()};
    }
    if (::mkdir(m_built.c_str(), 0777) != 0) {
        return systemError("cannot make the folder " + m_built.string());
    }
    m_top.emplace(::open(m_built.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!*m_top) {
        return systemError("cannot open " + m_built.string());
    }
    return {};
}

Error IndexTreeWriter::write(TreeRecord &record, database::DatabaseDescription description)
{
    {
        const std::lock_guard lock(m_mutex);
        m_finishing = true;
    }
    m_added.notify_one();
    if (m_builder.joinable()) {
        m_builder.join();
    }
    if (m_exception) {
        std::rethrow_exception(m_exception);
    }
    // What the second thread did not file, all of it when there was none.
    fileLines(m_texts);
    m_texts.clear();

    Error error = m_error;
    std::vector<TreeFile> files;
    IndexTreeLayout layout;
    if (!error) {
        layout = m_lines.layOut();
        error = writeIndexFiles(m_top->get(), layout, files);
    }
    if (!error) {
        description.lines = layout.lines.size();
        description.indexFiles = layout.folders.size();
        error = writeAddedFiles(m_top->get(), m_files,
                                database::writeDatabaseDescription(description), files);
    }
    if (!error && ::syncfs(m_top->get()) != 0) {
        error = systemError("cannot write " + m_built.string() + " to the disk");
    }
    m_top.reset();
    if (!error) {
        error = swapIn(m_root, m_built);
    }
    // After the swap the old tree is where the new one was built; either way it goes.
    std::error_code removeError;
    fs::remove_all(m_built, removeError);
    if (error) {
        return error;
    }
    const std::optional<TreeRecord> written = currentTreeRecord(m_root);
    if (!written) {
        return systemError("cannot read the new index tree at " + indexTreePath(m_root).string());
    }
    record = *written;
    record.files = std::move(files);
    record.indexFiles = layout.folders.size();
    record.lines = layout.lines.size();
    return {};
}

} // namespace tollen::builder
