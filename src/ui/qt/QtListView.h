#pragma once

#include "controls/ListView.h"
#include "ui/qt/ListViewModel.h"
#include "ui/qt/WidgetControl.h"

#include <QTreeView>

namespace tollen::ui::qt {

/// The report-view list: a tree view without branches over a model of the contract's rows, so
/// tens of thousands of rows cost no widget each. Rows appended one by one reach the view in one
/// batch at the next pass of the event loop (or when the selection needs them). Column widths
/// are twips; the window's twips per pixel convert them.
class QtListView : public WidgetControl<controls::ListView, QTreeView>
{
public:
    explicit QtListView(Placement placement);

    ListViewModel &model() const { return *m_model; }
    /// Announces appended rows to the view now.
    void showAppendedRows();

protected:
    void columnsChanged() override;
    void rowsChanged() override;
    void rowAppended() override;
    void rowChanged(int row) override;
    void selectionChanged() override;
    void styleChanged() override;
    double measureColumn(int index, bool includeHeading) const override;

private:
    void connectEvents();
    void showSelection();
    void raiseClick(const QPoint &position);

    ListViewModel *m_model;
    bool m_appendPending = false;
    bool m_rendering = false;
};

} // namespace tollen::ui::qt
