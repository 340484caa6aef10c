#pragma once

#include "controls/Control.h"
#include "controls/Event.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tollen::controls {

/// The report-view list: columns with headings and widths (twips), rows numbered from 1 with
/// sub-items 1 to n in the later columns. Rows live here, so the Qt face shows them through a
/// model and stays fast with tens of thousands of rows.
class ListView : public Control
{
public:
    static constexpr std::uint32_t kFullRowSelect = 0x20;
    /// Column widths that ask for automatic sizing, as the list view's column-width message takes.
    static constexpr int kAutoSizeToContents = -1;
    static constexpr int kAutoSizeToContentsAndHeader = -2;

    struct Column
    {
        std::string heading;
        double width = 0;
    };

    void setReportView(bool report);
    bool isReportView() const { return m_reportView; }

    /// Adds a column heading; returns its index from 1.
    int addColumn(const std::string &heading, double width = 1440);
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const Column &column(int index) const { return m_columns.at(index - 1); }
    void setColumnWidth(int index, double width);
    /// The column-width message: `position` from 0, a width in twips or one of the automatic
    /// sizes above. False for a column that does not exist.
    bool sendSetColumnWidth(int position, int width);

    bool areHeadingsHidden() const { return m_headingsHidden; }
    void setHeadingsHidden(bool hidden);

    std::uint32_t extendedStyle() const { return m_extendedStyle; }
    void setExtendedStyle(std::uint32_t style);

    /// Appends a row with its first-column text; returns the row's position (from 1).
    int addRow(std::string text);
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const std::string &text(int row) const { return m_rows.at(row - 1).at(0); }
    /// Sub-item `subItem` (1 for the second column) of a row; empty when never set.
    std::string subItem(int row, int subItem) const;
    void setSubItem(int row, int subItem, std::string text);
    void clear();

    /// The selected row from 1, 0 when none is selected.
    int selectedRow() const { return m_selected; }
    /// Marks a row selected; false for a row that does not exist.
    bool selectRow(int row);

    /// Asks the face to redraw after a batch of changes.
    void refresh() { rowsChanged(); }

    Event<> onClick;
    Event<int> onItemClick;
    Event<> onDoubleClick;
    Event<int> onKeyPress;

protected:
    virtual void columnsChanged() {}
    virtual void rowsChanged() {}
    virtual void rowAppended() {}
    virtual void rowChanged(int /*row*/) {}
    virtual void selectionChanged() {}
    virtual void styleChanged() {}
    /// The width of a column sized to its contents, in twips; the face measures its own text.
    virtual double measureColumn(int index, bool includeHeading) const;
    /// For faces: the user selected a row.
    void acceptUserSelection(int row);

private:
    std::vector<Column> m_columns;
    std::vector<std::vector<std::string>> m_rows;
    int m_selected = 0;
    bool m_reportView = false;
    bool m_headingsHidden = false;
    std::uint32_t m_extendedStyle = 0;
};

} // namespace tollen::controls
