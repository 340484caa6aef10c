#pragma once
// Answers the next modal dialog of a Qt test as a user at the screen would.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tollen::ui {

/// Waits for the next modal dialog and hands it to `answer`.
inline void whenModalOpens(std::function<void(QWidget &)> answer)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer)] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(*modal);
        }
    });
    poll->start(10);
}

} // namespace tollen::ui
