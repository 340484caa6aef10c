#include "controls/ListBox.h"

#include "core/Text.h"

#include <algorithm>

namespace tollen::controls {

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

} // namespace tollen::controls
