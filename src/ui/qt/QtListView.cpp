#include "ui/qt/QtListView.h"

#include "ui/qt/EventHook.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace tollen::ui::qt {
namespace {

/// Room beside a cell's text for the view's margins, in pixels.
constexpr int kCellPadding = 14;

} // namespace

QtListView::QtListView(Placement placement)
    : WidgetControl(placement), m_model(new ListViewModel(*this, widget()))
{
    QTreeView *view = widget();
    view->setModel(m_model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAllColumnsShowFocus(true);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    styleChanged();
    connectEvents();
}

void QtListView::connectEvents()
{
    QTreeView *view = widget();
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                     [this](const QModelIndex &current) {
                         if (!m_rendering) {
                             acceptUserSelection(current.isValid() ? current.row() + 1 : 0);
                         }
                     });
    new EventHook(view->viewport(), [this](QEvent &event) {
        if (event.type() == QEvent::MouseButtonRelease) {
            raiseClick(static_cast<QMouseEvent &>(event).position().toPoint());
        } else if (event.type() == QEvent::MouseButtonDblClick && onDoubleClick) {
            onDoubleClick();
        }
    });
    new EventHook(view, [this](QEvent &event) {
        if (event.type() != QEvent::KeyPress || !onKeyPress) {
            return;
        }
        if (const int code = characterCode(static_cast<QKeyEvent &>(event)); code >= 0) {
            onKeyPress(code);
        }
    });
}

void QtListView::raiseClick(const QPoint &position)
{
    const QModelIndex index = widget()->indexAt(position);
    if (index.isValid() && onItemClick) {
        onItemClick(index.row() + 1);
    }
    if (onClick) {
        onClick();
    }
}

void QtListView::showAppendedRows()
{
    m_appendPending = false;
    m_model->showAppendedRows();
}

void QtListView::columnsChanged()
{
    if (m_model->columnCount() != columnCount()) {
        m_model->reload();
        showSelection();
    }
    QHeaderView *header = widget()->header();
    for (int index = 1; index <= columnCount(); ++index) {
        header->resizeSection(index - 1,
                              static_cast<int>(std::lround(column(index).width / scale().x)));
    }
}

void QtListView::rowsChanged()
{
    m_appendPending = false;
    m_model->reload();
    showSelection();
}

void QtListView::rowAppended()
{
    if (m_appendPending) {
        return;
    }
    m_appendPending = true;
    QMetaObject::invokeMethod(
        widget(), [this] { showAppendedRows(); }, Qt::QueuedConnection);
}

void QtListView::rowChanged(int row)
{
    m_model->showChangedRow(row);
}

void QtListView::selectionChanged()
{
    showAppendedRows();
    showSelection();
}

void QtListView::showSelection()
{
    m_rendering = true;
    QItemSelectionModel *selection = widget()->selectionModel();
    if (selectedRow() >= 1 && selectedRow() <= m_model->rowCount()) {
        const bool fullRow = (extendedStyle() & kFullRowSelect) != 0;
        selection->setCurrentIndex(m_model->index(selectedRow() - 1, 0),
                                   fullRow ? QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows
                                           : QItemSelectionModel::ClearAndSelect);
    } else {
        selection->clear();
    }
    m_rendering = false;
}

void QtListView::styleChanged()
{
    QTreeView *view = widget();
    view->header()->setVisible(!areHeadingsHidden());
    // Without full-row select only the first cell of the chosen row is highlighted.
    view->setSelectionBehavior((extendedStyle() & kFullRowSelect) != 0
                                   ? QAbstractItemView::SelectRows
                                   : QAbstractItemView::SelectItems);
}

double QtListView::measureColumn(int index, bool includeHeading) const
{
    const QFontMetrics cells(widget()->font());
    // A text is taken to be as wide as its characters' advances together, give or take the
    // pixels kerning and shaping take or add, which the cell padding covers. Each character is
    // measured once, so tens of thousands of rows, or a damaged file's long lines of odd
    // characters, are sized without laying each text out.
    std::array<int, 128> ascii{};
    for (char16_t character = 0; character < ascii.size(); ++character) {
        ascii[character] = cells.horizontalAdvance(QChar(character));
    }
    std::unordered_map<char32_t, int> others;
    const auto width = [&](const std::string &text) {
        int total = 0;
        for (const char character : text) {
            const auto byte = static_cast<unsigned char>(character);
            if (byte >= ascii.size()) {
                total = -1;
                break;
            }
            total += ascii[byte];
        }
        if (total >= 0) {
            return total;
        }
        total = 0;
        const QString wide = toQString(text);
        for (qsizetype at = 0; at < wide.size();) {
            const qsizetype length =
                wide[at].isHighSurrogate() && at + 1 < wide.size() && wide[at + 1].isLowSurrogate()
                    ? 2
                    : 1;
            const QStringView character = QStringView(wide).mid(at, length);
            const char32_t code =
                length == 2 ? QChar::surrogateToUcs4(wide[at], wide[at + 1]) : wide[at].unicode();
            auto known = others.find(code);
            if (known == others.end()) {
                known = others.emplace(code, cells.horizontalAdvance(character.toString())).first;
            }
            total += known->second;
            at += length;
        }
        return total;
    };
    int widest = 0;
    for (int row = 1; row <= rowCount(); ++row) {
        widest = std::max(widest, width(index == 1 ? text(row) : subItem(row, index - 1)));
    }
    if (includeHeading) {
        const QFontMetrics heading(widget()->header()->font());
        widest = std::max(widest, heading.horizontalAdvance(toQString(column(index).heading)));
    }
    return (widest + kCellPadding) * scale().x;
}

} // namespace tollen::ui::qt
