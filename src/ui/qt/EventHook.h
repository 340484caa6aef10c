#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

class QKeyEvent;

namespace tollen::ui::qt {

/// Watches the events of a widget and hands each to a function; the widget still handles them.
class EventHook : public QObject
{
public:
    EventHook(QObject *watched, std::function<void(QEvent &)> handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(QEvent &)> m_handler;
};

/// The character code a key press gives, as the program's key-press events carry it (13 for
/// Enter, 27 for Escape, 8 for Backspace); -1 for keys that type no character (arrows, Shift).
int characterCode(const QKeyEvent &event);

} // namespace tollen::ui::qt
