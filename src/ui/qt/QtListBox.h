#pragma once

#include "ui/qt/WidgetControl.h"

#include <QListWidget>

namespace tollen::ui {

/// A list box. Entries are copied into the widget once per pass of the event loop however many
/// were added, so filling a list entry by entry stays linear; the exact search and every other
/// rule stay with the contract's list box.
class QtListBox : public WidgetControl<ListBox, QListWidget>
{
public:
    explicit QtListBox(Placement placement);

    /// Copies changed entries into the widget now instead of at the next pass of the event loop.
    void showItems();

protected:
    void itemsChanged() override;
    void selectionChanged() override;

private:
    bool m_itemsPending = false;
    bool m_rendering = false;
};

} // namespace tollen::ui
