#pragma once

#include "controls/ListView.h"
#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

/// The report-view list view. Its rows stay in the control of the contract: the list view is
/// virtual (LVS_OWNERDATA) and asks for the text of the cells it draws, so tens of thousands of
/// rows cost it nothing. Extended styles, headings and column widths go to the list view through
/// its own messages.
class Win32ListView : public HwndControl<controls::ListView>
{
public:
    explicit Win32ListView(const Placement &placement);

    LRESULT notify(NMHDR &header) override;
    bool character(wchar_t code) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

protected:
    void columnsChanged() override;
    void rowsChanged() override;
    void rowAppended() override;
    void rowChanged(int row) override;
    void selectionChanged() override;
    void styleChanged() override;
    double measureColumn(int index, bool includeHeading) const override;

private:
    /// Rows appended one by one reach the list view in one batch at the next pass of the event
    /// loop, or before the selection needs them.
    void showAppendedRows();
    void supplyText(NMLVDISPINFOW &request) const;
    int textWidth(const std::string &text) const;

    int m_shownColumns = 0;
    int m_shownRows = 0;
    bool m_rendering = false;
};

} // namespace tollen::ui::win32
