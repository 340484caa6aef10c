#pragma once

#include "controls/ListBox.h"
#include "ui/win32/Win32Control.h"

#include <vector>

namespace tollen::ui::win32 {

/// A single-selection list box. The exact-string search is the list box's own
/// (LB_FINDSTRINGEXACT), so it compares letters as the system does.
class Win32ListBox : public HwndControl<controls::ListBox>
{
public:
    explicit Win32ListBox(const Placement &placement);

    int findStringExact(const std::string &text, int start = -1) const override;

    void command(WORD code) override;
    bool character(wchar_t code) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

protected:
    /// Changes are gathered and shown at the next pass of the event loop, or before anything
    /// that needs the list box to hold every entry.
    void itemsChanged() override;
    void selectionChanged() override;

private:
    void showItems() const;
    void showAll() const;

    /// The entries as the list box holds them.
    mutable std::vector<std::string> m_shown;
    mutable bool m_pending = false;
};

} // namespace tollen::ui::win32
