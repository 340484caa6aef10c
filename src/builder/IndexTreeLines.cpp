#include "builder/IndexTreeLines.h"

#include "builder/PackageIndex.h"
#include "database/IdPlacement.h"
#include "database/IndexLine.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <tuple>
#include <utility>

namespace tollen::builder {
namespace {

/// Takes the next field off `rest`: the text before the next separator. What follows that
/// separator stays in `rest`; when there is none, nothing does, so later fields are empty.
std::string_view takeField(std::string_view &rest)
{
    const auto *separator =
        static_cast<const char *>(std::memchr(rest.data(), database::kFieldSeparator, rest.size()));
    if (separator == nullptr) {
        return std::exchange(rest, std::string_view());
    }
    const std::string_view field(rest.data(), static_cast<std::size_t>(separator - rest.data()));
    rest.remove_prefix(field.size() + 1);
    return field;
}

} // namespace

void IndexTreeLines::add(std::string_view packageLines)
{
    forEachLine(packageLines, [&](std::string_view line) {
        std::string_view rest = line;
        takeField(rest); // Type
        takeField(rest); // Manufacturer
        takeField(rest); // Device name
        const std::string_view id = takeField(rest);
        takeField(rest); // Class
        const std::string_view decoration = takeField(rest);
        takeField(rest); // Version
        takeField(rest); // Date
        const std::string_view remotePath = takeField(rest);
        // A package's lines of one ID often follow each other (one for each decoration).
        if (m_lines.empty() || m_ids[m_lines.back().id] != id) {
            const auto [found, added] =
                m_idNumbers.try_emplace(id, static_cast<std::uint32_t>(m_ids.size()));
            if (added) {
                m_ids.push_back(id);
                for (std::string &folder : database::placeHardwareId(id).folders) {
                    const auto [known, isNew] = m_folderNumbers.try_emplace(
                        std::move(folder), static_cast<std::uint32_t>(m_folderNames.size()));
                    if (isNew) {
                        m_folderNames.push_back(known->first);
                    }
                    m_idFolders.push_back(known->second);
                }
                m_idFoldersEnd.push_back(m_idFolders.size());
            }
            m_lines.push_back({line, remotePath, decoration, found->second});
        } else {
            m_lines.push_back({line, remotePath, decoration, m_lines.back().id});
        }
    });
}

IndexTreeLayout IndexTreeLines::layOut() const
{
    // The IDs in byte order.
    std::vector<std::uint32_t> byId(m_ids.size());
    std::iota(byId.begin(), byId.end(), 0U);
    std::sort(byId.begin(), byId.end(),
              [&](std::uint32_t left, std::uint32_t right) { return m_ids[left] < m_ids[right]; });
    std::vector<std::uint32_t> place(m_ids.size());
    for (std::uint32_t rank = 0; rank < byId.size(); ++rank) {
        place[byId[rank]] = rank;
    }
    // Each line's number put in its ID's run, a counting sort: first the start of each run, and
    // after the lines are put, next[rank] is the end of the run of that rank.
    std::vector<std::size_t> next(m_ids.size() + 1, 0);
    for (const Line &line : m_lines) {
        ++next[place[line.id] + 1];
    }
    std::partial_sum(next.begin(), next.end(), next.begin());
    std::vector<std::uint32_t> order(m_lines.size());
    for (std::uint32_t number = 0; number < m_lines.size(); ++number) {
        order[next[place[m_lines[number].id]]++] = number;
    }

    // Each run sorted on its own: runs are short, so this compares far fewer bytes than one sort
    // of all lines by ID first.
    IndexTreeLayout layout;
    layout.lines.reserve(m_lines.size());
    std::vector<std::vector<LineRange>> folderRanges(m_folderNames.size());
    std::vector<Line> run;
    const auto inOrder = [](const Line &left, const Line &right) {
        return std::tie(left.remotePath, left.decoration, left.line) <
               std::tie(right.remotePath, right.decoration, right.line);
    };
    std::size_t start = 0;
    for (std::uint32_t rank = 0; rank < byId.size(); ++rank) {
        run.clear();
        for (std::size_t index = start; index < next[rank]; ++index) {
            run.push_back(m_lines[order[index]]);
        }
        start = next[rank];
        // The packages come in the order of their paths, so a run is often in order already.
        if (!std::is_sorted(run.begin(), run.end(), inOrder)) {
            std::sort(run.begin(), run.end(), inOrder);
        }
        const LineRange range{layout.lines.size(), 0};
        for (const Line &line : run) {
            // Equal lines are neighbours in the run; each is kept once.
            if (layout.lines.size() == range.first || layout.lines.back() != line.line) {
                layout.lines.push_back(line.line);
            }
        }
        // The runs come in ID order, so each folder's ranges do too.
        const std::uint32_t id = byId[rank];
        for (std::size_t folder = id == 0 ? 0 : m_idFoldersEnd[id - 1]; folder < m_idFoldersEnd[id];
             ++folder) {
            std::vector<LineRange> &ranges = folderRanges[m_idFolders[folder]];
            if (!ranges.empty() && ranges.back().last == range.first) {
                ranges.back().last = layout.lines.size();
            } else {
                ranges.push_back({range.first, layout.lines.size()});
            }
        }
    }

    std::vector<std::uint32_t> byName(m_folderNames.size());
    std::iota(byName.begin(), byName.end(), 0U);
    std::sort(byName.begin(), byName.end(), [&](std::uint32_t left, std::uint32_t right) {
        return m_folderNames[left] < m_folderNames[right];
    });
    layout.folders.reserve(byName.size());
    for (const std::uint32_t folder : byName) {
        layout.folders.push_back(
            {std::string(m_folderNames[folder]), std::move(folderRanges[folder])});
    }
    return layout;
}

} // namespace tollen::builder
