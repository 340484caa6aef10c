#pragma once
// The lines of the index tree, taken in package by package, and the tree's layout made from
// them. Each line is filed under its Hardware ID as it comes, and each new ID's folders are
// noted then, so that the folders can be made while later packages are still being read. The
// layout orders the distinct lines by Hardware ID, then Remote path, then Decoration, then the
// whole line (comparing bytes). An index file lists whole runs of lines of one ID in ID order, so
// each file is a few ranges of those lines; runs of IDs that follow each other are one range.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tollen::builder {

/// The lines [first, last) of the tree.
struct LineRange
{
    std::size_t first = 0;
    std::size_t last = 0;
};

struct IndexFolder
{
    /// Below the tree's root, "/" as separator ("pci/VEN_8086").
    std::string name;
    /// The lines its index file holds, in order.
    std::vector<LineRange> ranges;
};

struct IndexTreeLayout
{
    /// The distinct lines, also those whose ID goes nowhere, without line ends; they view the
    /// packages' lines texts.
    std::vector<std::string_view> lines;
    /// By name, comparing bytes: a folder comes before the folders inside it.
    std::vector<IndexFolder> folders;
};

class IndexTreeLines
{
public:
    IndexTreeLines() = default;
    /// The folder names view this object's own keys.
    IndexTreeLines(const IndexTreeLines &) = delete;
    IndexTreeLines &operator=(const IndexTreeLines &) = delete;

    /// Takes in the lines text of one package, as PackageIndex holds it. The text must stay in
    /// place as long as this object and its layout are used.
    void add(std::string_view packageLines);

    /// Every index folder of the lines taken in, shortest first for each ID, so a folder comes
    /// after the folders it is in, except the bus's folder ("pci"), which holds no index file.
    const std::vector<std::string_view> &folders() const { return m_folderNames; }

    IndexTreeLayout layOut() const;

private:
    /// A line with the fields the lines of one ID are sorted by, and the number of its ID.
    struct Line
    {
        std::string_view line;
        std::string_view remotePath;
        std::string_view decoration;
        std::uint32_t id = 0;
    };

    std::vector<Line> m_lines;
    /// The distinct IDs in the order they were met, and their numbers.
    std::vector<std::string_view> m_ids;
    std::unordered_map<std::string_view, std::uint32_t> m_idNumbers;
    /// For each ID, the end of its folders' numbers in m_idFolders.
    std::vector<std::size_t> m_idFoldersEnd;
    std::vector<std::uint32_t> m_idFolders;
    /// The folders in the order they were met, and their numbers; the names are the map's keys.
    std::vector<std::string_view> m_folderNames;
    std::unordered_map<std::string, std::uint32_t> m_folderNumbers;
};

} // namespace tollen::builder
