#pragma once

#include "controls/Control.h"
#include "controls/Event.h"

#include <optional>
#include <string>
#include <vector>

namespace tollen::controls {

/// The list box: single selection, entries numbered from 0.
class ListBox : public Control
{
public:
    static constexpr int kNotFound = -1;

    void clear();
    /// Adds at `index` (0 is the top), or at the end when no index is given.
    void addItem(const std::string &text, std::optional<int> index = std::nullopt);
    int count() const { return static_cast<int>(m_items.size()); }
    const std::string &item(int index) const { return m_items.at(index); }
    const std::vector<std::string> &items() const { return m_items; }

    /// Selects the entry; an index that does not exist is an error (false) the callers ignore.
    bool select(int index);
    int selectedIndex() const { return m_selected; }
    /// The text of the selected entry, empty when none is selected.
    std::string selectedText() const;
    int selectedCount() const { return m_selected >= 0 ? 1 : 0; }

    /// The exact-string search: the first entry after `start` equal to `text` ignoring letter
    /// case, wrapping round to the top; start -1 searches the whole list from the top. A face
    /// whose list box has this search of its own asks it.
    virtual int findStringExact(const std::string &text, int start = -1) const;

    Event<> onDoubleClick;
    Event<int> onKeyPress;

protected:
    virtual void itemsChanged() {}
    virtual void selectionChanged() {}
    /// For faces: the user moved the selection.
    void acceptUserSelection(int index);

private:
    std::vector<std::string> m_items;
    int m_selected = -1;
};

} // namespace tollen::controls
