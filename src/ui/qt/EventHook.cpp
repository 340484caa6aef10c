#include "ui/qt/EventHook.h"

#include <QKeyEvent>

namespace tollen::ui::qt {

EventHook::EventHook(QObject *watched, std::function<void(QEvent &)> handler)
    : QObject(watched), m_handler(std::move(handler))
{
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject * /*watched*/, QEvent *event)
{
    m_handler(*event);
    return false;
}

int characterCode(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        return -1;
    }
    return static_cast<int>(text.at(0).unicode());
}

} // namespace tollen::ui::qt
