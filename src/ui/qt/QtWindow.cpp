#include "ui/qt/QtWindow.h"

#include "ui/qt/EventHook.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

namespace tollen::ui::qt {
namespace {

/// The inner size in pixels that an outer size in twips leaves beside the window's borders; -1
/// when nothing is left.
int innerPixels(double outerTwips, double twipsPerPixel, int border)
{
    if (outerTwips < 0) {
        return -1;
    }
    return std::max(-1, static_cast<int>(std::lround(outerTwips / twipsPerPixel)) - border);
}

} // namespace

void WindowWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (onResized) {
        onResized();
    }
}

void WindowWidget::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (onClosed) {
        onClosed();
    }
}

void WindowWidget::keyPressEvent(QKeyEvent *event)
{
    if (const int code = characterCode(*event); code >= 0 && onKey) {
        onKey(code);
        return;
    }
    QWidget::keyPressEvent(event);
}

QtWindow::QtWindow(Qt::WindowFlags flags)
    : m_widget(std::make_unique<WindowWidget>(nullptr, flags)),
      m_twipsPerPixel(qt::twipsPerPixel(m_widget->screen()))
{
    m_widget->onResized = [this] {
        if (onResize) {
            onResize();
        }
    };
    m_widget->onClosed = [this] {
        if (onClose) {
            onClose();
        }
    };
    m_widget->onKey = [this](int code) {
        if (onKeyPress) {
            onKeyPress(code);
        }
    };
}

void QtWindow::setInnerSize(int width, int height)
{
    m_widget->resize(width, height);
}

std::string QtWindow::caption() const
{
    return m_widget->windowTitle().toStdString();
}

void QtWindow::setCaption(const std::string &caption)
{
    m_widget->setWindowTitle(QString::fromStdString(caption));
}

bool QtWindow::isEnabled() const
{
    return m_widget->isEnabled();
}

void QtWindow::setEnabled(bool enabled)
{
    m_widget->setEnabled(enabled);
}

bool QtWindow::isVisible() const
{
    return m_widget->isVisible();
}

void QtWindow::show()
{
    m_widget->show();
}

void QtWindow::close()
{
    m_widget->close();
}

int QtWindow::innerWidth() const
{
    return m_widget->isMinimized() ? 0 : m_widget->width();
}

int QtWindow::innerHeight() const
{
    return m_widget->isMinimized() ? 0 : m_widget->height();
}

bool QtWindow::setOuterWidth(double twips)
{
    const int border = m_widget->frameGeometry().width() - m_widget->width();
    const int inner = innerPixels(twips, m_twipsPerPixel.x, border);
    if (inner < 0 || m_widget->isMinimized()) {
        return false;
    }
    m_widget->resize(inner, m_widget->height());
    return true;
}

bool QtWindow::setOuterHeight(double twips)
{
    const int border = m_widget->frameGeometry().height() - m_widget->height();
    const int inner = innerPixels(twips, m_twipsPerPixel.y, border);
    if (inner < 0 || m_widget->isMinimized()) {
        return false;
    }
    m_widget->resize(m_widget->width(), inner);
    return true;
}

} // namespace tollen::ui::qt
