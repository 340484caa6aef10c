#include "ui/qt/QtListBox.h"

#include "ui/qt/EventHook.h"

#include <QKeyEvent>
#include <algorithm>

namespace tollen::ui::qt {

QtListBox::QtListBox(Placement placement) : WidgetControl(placement)
{
    QListWidget *list = widget();
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Entries are single lines: the widget lays thousands of them out without measuring each.
    list->setUniformItemSizes(true);
    QObject::connect(list, &QListWidget::currentRowChanged, list, [this](int row) {
        if (!m_rendering) {
            acceptUserSelection(row);
        }
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [this] {
        if (onDoubleClick) {
            onDoubleClick();
        }
    });
    new EventHook(list, [this](QEvent &event) {
        if (event.type() != QEvent::KeyPress || !onKeyPress) {
            return;
        }
        if (const int code = characterCode(static_cast<QKeyEvent &>(event)); code >= 0) {
            onKeyPress(code);
        }
    });
}

void QtListBox::itemsChanged()
{
    if (m_itemsPending) {
        return;
    }
    m_itemsPending = true;
    QMetaObject::invokeMethod(
        widget(), [this] { showItems(); }, Qt::QueuedConnection);
}

void QtListBox::showItems()
{
    if (!m_itemsPending) {
        return;
    }
    m_itemsPending = false;
    m_rendering = true;
    QListWidget *list = widget();
    const std::vector<std::string> &texts = items();
    // Entries added at the end since the last showing, the usual change, join the widget's;
    // any other change shows the list anew.
    const bool appended =
        texts.size() >= m_shown.size() && std::equal(m_shown.begin(), m_shown.end(), texts.begin());
    if (!appended) {
        list->clear();
        m_shown.clear();
    }
    QStringList added;
    added.reserve(static_cast<qsizetype>(texts.size() - m_shown.size()));
    for (auto text = texts.begin() + static_cast<std::ptrdiff_t>(m_shown.size());
         text != texts.end(); ++text) {
        added.append(toQString(*text));
    }
    list->addItems(added);
    m_shown.insert(m_shown.end(), texts.begin() + static_cast<std::ptrdiff_t>(m_shown.size()),
                   texts.end());
    list->setCurrentRow(selectedIndex());
    m_rendering = false;
}

void QtListBox::selectionChanged()
{
    showItems();
    m_rendering = true;
    widget()->setCurrentRow(selectedIndex());
    m_rendering = false;
}

} // namespace tollen::ui::qt
