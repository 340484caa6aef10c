#pragma once

#include "controls/ListBox.h"
#include "ui/qt/WidgetControl.h"

#include <QListWidget>

namespace tollen::ui::qt {

/// A list box. Entries are copied into the widget once per pass of the event loop however many
/// were added, and entries added at the end join those the widget shows, so filling a list entry
/// by entry stays linear; every entry is one line of the same height, which spares the widget
/// measuring each. The exact search and every other rule stay with the contract's list box.
class QtListBox : public WidgetControl<controls::ListBox, QListWidget>
{
public:
    explicit QtListBox(Placement placement);

    /// Copies changed entries into the widget now instead of at the next pass of the event loop.
    void showItems();

protected:
    void itemsChanged() override;
    void selectionChanged() override;

private:
    /// The entries the widget shows.
    std::vector<std::string> m_shown;
    bool m_itemsPending = false;
    bool m_rendering = false;
};

} // namespace tollen::ui::qt
