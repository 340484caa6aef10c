#include "ui/qt/QtListBox.h"

#include "ui/qt/EventHook.h"

#include <QKeyEvent>

namespace tollen::ui {

QtListBox::QtListBox(Placement placement) : WidgetControl(placement)
{
    QListWidget *list = widget();
    list->setSelectionMode(QAbstractItemView::SingleSelection);
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
    list->clear();
    QStringList texts;
    texts.reserve(count());
    for (const std::string &text : items()) {
        texts.append(toQString(text));
    }
    list->addItems(texts);
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

} // namespace tollen::ui
