#include "ui/qt/QtServices.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

namespace tollen::ui::qt {

void QtClipboard::setText(const std::string &text)
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::string QtClipboard::text() const
{
    return QGuiApplication::clipboard()->text().toStdString();
}

bool QtLauncher::open(const std::string &target)
{
    const QString text = QString::fromStdString(target);
    const QFileInfo file(text);
    const QUrl url =
        file.isAbsolute() && file.exists() ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}

void QtEventLoop::yield()
{
    const auto now = std::chrono::steady_clock::now();
    if (m_lastPass && now - *m_lastPass < kMinimumGap) {
        return;
    }
    QCoreApplication::processEvents();
    m_lastPass = std::chrono::steady_clock::now();
}

} // namespace tollen::ui::qt
