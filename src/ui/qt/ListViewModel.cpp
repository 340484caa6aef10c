#include "ui/qt/ListViewModel.h"

namespace tollen::ui::qt {

ListViewModel::ListViewModel(const controls::ListView &list, QObject *parent)
    : QAbstractTableModel(parent), m_list(list), m_shownRows(list.rowCount()),
      m_shownColumns(list.columnCount())
{
}

int ListViewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

int ListViewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownColumns;
}

QVariant ListViewModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_list.rowCount()) {
        return {};
    }
    const int row = index.row() + 1;
    const std::string &text =
        index.column() == 0 ? m_list.text(row) : m_list.subItem(row, index.column());
    return QString::fromStdString(text);
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_list.columnCount()) {
        return {};
    }
    return QString::fromStdString(m_list.column(section + 1).heading);
}

void ListViewModel::showAppendedRows()
{
    const int total = m_list.rowCount();
    if (total <= m_shownRows) {
        return;
    }
    beginInsertRows({}, m_shownRows, total - 1);
    m_shownRows = total;
    endInsertRows();
}

void ListViewModel::reload()
{
    beginResetModel();
    m_shownRows = m_list.rowCount();
    m_shownColumns = m_list.columnCount();
    endResetModel();
}

void ListViewModel::showChangedRow(int row)
{
    if (row < 1 || row > m_shownRows || m_shownColumns == 0) {
        return;
    }
    emit dataChanged(index(row - 1, 0), index(row - 1, m_shownColumns - 1), {Qt::DisplayRole});
}

} // namespace tollen::ui::qt
