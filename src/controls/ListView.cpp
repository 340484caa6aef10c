#include "controls/ListView.h"

#include <algorithm>
#include <utility>

namespace tollen::controls {

void ListView::setReportView(bool report)
{
    m_reportView = report;
    styleChanged();
}

int ListView::addColumn(const std::string &heading, double width)
{
    m_columns.push_back(Column{heading, width});
    columnsChanged();
    return columnCount();
}

void ListView::setColumnWidth(int index, double width)
{
    if (index < 1 || index > columnCount() || width < 0) {
        return;
    }
    m_columns[index - 1].width = width;
    columnsChanged();
}

bool ListView::sendSetColumnWidth(int position, int width)
{
    if (position < 0 || position >= columnCount()) {
        return false;
    }
    const int index = position + 1;
    if (width == kAutoSizeToContents || width == kAutoSizeToContentsAndHeader) {
        setColumnWidth(index, measureColumn(index, width == kAutoSizeToContentsAndHeader));
    } else {
        setColumnWidth(index, width);
    }
    return true;
}

void ListView::setHeadingsHidden(bool hidden)
{
    m_headingsHidden = hidden;
    styleChanged();
}

void ListView::setExtendedStyle(std::uint32_t style)
{
    m_extendedStyle = style;
    styleChanged();
}

int ListView::addRow(std::string text)
{
    // Room for every column at once, so that setting the sub-items moves nothing.
    std::vector<std::string> cells;
    cells.reserve(std::max<std::size_t>(m_columns.size(), 1));
    cells.push_back(std::move(text));
    m_rows.push_back(std::move(cells));
    rowAppended();
    return rowCount();
}

std::string ListView::subItem(int row, int subItem) const
{
    const auto &cells = m_rows.at(row - 1);
    return subItem >= 0 && static_cast<std::size_t>(subItem) < cells.size() ? cells[subItem]
                                                                            : std::string();
}

void ListView::setSubItem(int row, int subItem, std::string text)
{
    auto &cells = m_rows.at(row - 1);
    if (subItem < 1) {
        return;
    }
    if (cells.size() <= static_cast<std::size_t>(subItem)) {
        cells.resize(subItem + 1);
    }
    cells[subItem] = std::move(text);
    rowChanged(row);
}

void ListView::clear()
{
    m_rows.clear();
    m_selected = 0;
    rowsChanged();
}

bool ListView::selectRow(int row)
{
    if (row < 1 || row > rowCount()) {
        return false;
    }
    m_selected = row;
    selectionChanged();
    return true;
}

double ListView::measureColumn(int index, bool includeHeading) const
{
    // Without a face to measure text, count characters at an average width of 7 pixels.
    constexpr double kTwipsPerCharacter = 7 * 15;
    constexpr double kPaddingTwips = 12 * 15;
    std::size_t longest = includeHeading ? m_columns.at(index - 1).heading.size() : 0;
    for (const auto &cells : m_rows) {
        if (static_cast<std::size_t>(index - 1) < cells.size()) {
            longest = std::max(longest, cells[index - 1].size());
        }
    }
    return static_cast<double>(longest) * kTwipsPerCharacter + kPaddingTwips;
}

void ListView::acceptUserSelection(int row)
{
    m_selected = (row >= 1 && row <= rowCount()) ? row : 0;
}

} // namespace tollen::controls
