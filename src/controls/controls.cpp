#include "controls/controls.h"

#include "core/Text.h"

#include <algorithm>
#include <utility>

namespace tollen::controls {

bool Control::setLeft(double left)
{
    m_geometry.left = left;
    geometryChanged();
    return true;
}

bool Control::setTop(double top)
{
    m_geometry.top = top;
    geometryChanged();
    return true;
}

bool Control::setWidth(double width)
{
    if (width < 0) {
        return false;
    }
    m_geometry.width = width;
    geometryChanged();
    return true;
}

bool Control::setHeight(double height)
{
    if (height < 0) {
        return false;
    }
    m_geometry.height = height;
    geometryChanged();
    return true;
}

void Control::setGeometry(const Geometry &geometry)
{
    m_geometry = geometry;
    m_geometry.width = std::max(0.0, geometry.width);
    m_geometry.height = std::max(0.0, geometry.height);
    geometryChanged();
}

void Control::setVisible(bool visible)
{
    m_visible = visible;
    visibilityChanged();
}

void CaptionedControl::setCaption(const std::string &caption)
{
    m_caption = caption;
    captionChanged();
}

void CheckBox::setChecked(bool checked)
{
    m_checked = checked;
    checkedChanged();
}

void TextBox::setText(const std::string &text)
{
    m_text = text;
    textChanged();
    if (onChange) {
        onChange();
    }
}

void TextBox::setMasked(bool masked)
{
    m_masked = masked;
    maskedChanged();
}

void TextBox::acceptTypedText(const std::string &text)
{
    m_text = text;
    if (onChange) {
        onChange();
    }
}

int OptionGroup::addOption(const std::string &caption)
{
    m_buttons.push_back(makeButton());
    m_buttons.back()->setCaption(caption);
    selectionChanged();
    return count() - 1;
}

void OptionGroup::select(int index)
{
    if (index < 0 || index >= count()) {
        return;
    }
    m_selected = index;
    selectionChanged();
}

void ProgressBar::setMaximum(double maximum)
{
    m_maximum = maximum;
    progressChanged();
}

void ProgressBar::setValue(double value)
{
    m_value = value;
    progressChanged();
}

void ListBox::clear()
{
    m_items.clear();
    m_selected = -1;
    itemsChanged();
}

void ListBox::addItem(const std::string &text, std::optional<int> index)
{
    const int position = index ? std::clamp(*index, 0, count()) : count();
    m_items.insert(m_items.begin() + position, text);
    if (m_selected >= position) {
        ++m_selected;
    }
    itemsChanged();
}

bool ListBox::select(int index)
{
    if (index < 0 || index >= count()) {
        return false;
    }
    m_selected = index;
    selectionChanged();
    return true;
}

std::string ListBox::selectedText() const
{
    return m_selected >= 0 ? m_items.at(m_selected) : std::string();
}

int ListBox::findStringExact(const std::string &text, int start) const
{
    const int total = count();
    if (total == 0) {
        return kNotFound;
    }
    const int first = (start < 0 || start >= total) ? 0 : start + 1;
    for (int offset = 0; offset < total; ++offset) {
        const int index = (first + offset) % total;
        if (equalsIgnoringCase(m_items[index], text)) {
            return index;
        }
    }
    return kNotFound;
}

void ListBox::acceptUserSelection(int index)
{
    m_selected = (index >= 0 && index < count()) ? index : -1;
}

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

void Timer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    timerChanged();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    timerChanged();
}

std::vector<std::pair<std::string, std::string>> parseFilter(const std::string &filter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const auto bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

} // namespace tollen::controls
