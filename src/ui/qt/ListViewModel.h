#pragma once

#include "controls/ListView.h"

#include <QAbstractTableModel>

namespace tollen::ui::qt {

/// The rows of a report-view list as a table model: it reads the rows the contract's list view
/// holds, one string per cell when the view paints it, and keeps no copy. The model shows the
/// rows it has announced to its views; rows appended since are announced in one batch.
class ListViewModel : public QAbstractTableModel
{
public:
    ListViewModel(const controls::ListView &list, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Announces the rows appended since the last announcement, all at once.
    void showAppendedRows();
    /// Starts again from the list's rows and columns (after clearing, or new columns).
    void reload();
    /// A row (from 1) whose cells changed.
    void showChangedRow(int row);

private:
    const controls::ListView &m_list;
    int m_shownRows = 0;
    int m_shownColumns = 0;
};

} // namespace tollen::ui::qt
