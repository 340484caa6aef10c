#include "ui/win32/Win32ListView.h"

#include "core/WideText.h"

#include <algorithm>
#include <cmath>

namespace tollen::ui::win32 {
namespace {

/// The room a list view leaves around the text of a cell sized to fit, in pixels.
constexpr int kCellPadding = 12;

} // namespace

Win32ListView::Win32ListView(const Placement &placement)
    : HwndControl(placement, WC_LISTVIEWW,
                  LVS_LIST | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                  WS_EX_CLIENTEDGE)
{
    watchMessages(hwnd());
}

void Win32ListView::columnsChanged()
{
    for (int index = 1; index <= columnCount(); ++index) {
        std::wstring heading = wideFromUtf8(column(index).heading);
        LVCOLUMNW entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        entry.pszText = heading.data();
        entry.cx = static_cast<int>(std::lround(column(index).width / scale().x));
        entry.iSubItem = index - 1;
        if (index > m_shownColumns) {
            SendMessageW(hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index - 1),
                         reinterpret_cast<LPARAM>(&entry));
        } else {
            SendMessageW(hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(index - 1),
                         reinterpret_cast<LPARAM>(&entry));
        }
    }
    m_shownColumns = columnCount();
}

void Win32ListView::rowsChanged()
{
    m_shownRows = rowCount();
    SendMessageW(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount()), 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Win32ListView::rowAppended()
{
    if (m_shownRows == rowCount() - 1) {
        PostMessageW(hwnd(), kShowPending, 0, 0);
    }
}

void Win32ListView::showAppendedRows()
{
    if (m_shownRows == rowCount()) {
        return;
    }
    m_shownRows = rowCount();
    SendMessageW(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount()),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

bool Win32ListView::message(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT &result)
{
    if (message != kShowPending) {
        return false;
    }
    showAppendedRows();
    result = 0;
    return true;
}

void Win32ListView::rowChanged(int row)
{
    if (row <= m_shownRows) {
        SendMessageW(hwnd(), LVM_REDRAWITEMS, static_cast<WPARAM>(row - 1), row - 1);
    }
}

void Win32ListView::selectionChanged()
{
    showAppendedRows();
    m_rendering = true;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (selectedRow() > 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(selectedRow() - 1),
                     reinterpret_cast<LPARAM>(&state));
        SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(selectedRow() - 1), FALSE);
    } else {
        SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&state));
    }
    m_rendering = false;
}

void Win32ListView::styleChanged()
{
    const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    LONG_PTR wanted = style & ~(LVS_TYPEMASK | LVS_NOCOLUMNHEADER);
    wanted |= isReportView() ? LVS_REPORT : LVS_LIST;
    if (areHeadingsHidden()) {
        wanted |= LVS_NOCOLUMNHEADER;
    }
    if (wanted != style) {
        SetWindowLongPtrW(hwnd(), GWL_STYLE, wanted);
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    // Every bit as the program gives it: a mask of 0 sets them all.
    SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(extendedStyle()));
}

int Win32ListView::textWidth(const std::string &text) const
{
    const std::wstring wide = wideFromUtf8(text);
    return static_cast<int>(
        SendMessageW(hwnd(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

double Win32ListView::measureColumn(int index, bool includeHeading) const
{
    int widest = includeHeading ? textWidth(column(index).heading) : 0;
    for (int row = 1; row <= rowCount(); ++row) {
        widest = std::max(widest, textWidth(index == 1 ? text(row) : subItem(row, index - 1)));
    }
    return (widest + kCellPadding) * scale().x;
}

void Win32ListView::supplyText(NMLVDISPINFOW &request) const
{
    LVITEMW &item = request.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    const int row = item.iItem + 1;
    std::wstring wide;
    if (row >= 1 && row <= rowCount()) {
        wide = wideFromUtf8(item.iSubItem == 0 ? text(row) : subItem(row, item.iSubItem));
    }
    const std::size_t length = std::min(wide.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::copy_n(wide.begin(), length, item.pszText);
    item.pszText[length] = L'\0';
}

LRESULT Win32ListView::notify(NMHDR &header)
{
    switch (header.code) {
    case LVN_GETDISPINFOW:
        // The list view hands over its request to be filled in.
        supplyText(reinterpret_cast<NMLVDISPINFOW &>(header));
        return 0;
    case LVN_ITEMCHANGED: {
        const auto &change = reinterpret_cast<const NMLISTVIEW &>(header);
        if (!m_rendering && change.iItem >= 0 && (change.uChanged & LVIF_STATE) != 0 &&
            (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0) {
            acceptUserSelection(change.iItem + 1);
        }
        return 0;
    }
    case NM_CLICK: {
        const auto &click = reinterpret_cast<const NMITEMACTIVATE &>(header);
        if (click.iItem >= 0 && onItemClick) {
            onItemClick(click.iItem + 1);
        }
        if (onClick) {
            onClick();
        }
        return 0;
    }
    case NM_DBLCLK:
        if (onDoubleClick) {
            onDoubleClick();
        }
        return 0;
    default:
        return 0;
    }
}

bool Win32ListView::character(wchar_t code)
{
    if (onKeyPress) {
        onKeyPress(static_cast<int>(code));
    }
    return false;
}

} // namespace tollen::ui::win32
