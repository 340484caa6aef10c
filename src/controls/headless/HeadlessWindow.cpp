#include "controls/headless/HeadlessWindow.h"

#include <cmath>

namespace tollen::controls {

HeadlessWindow::HeadlessWindow(int innerWidth, int innerHeight, double twipsPerPixel)
    : m_innerWidth(innerWidth), m_innerHeight(innerHeight), m_twipsPerPixel(twipsPerPixel)
{
}

void HeadlessWindow::setEnabled(bool enabled)
{
    if (!enabled && m_enabled) {
        ++m_disableCount;
    }
    m_enabled = enabled;
}

void HeadlessWindow::close()
{
    if (!m_visible && !onClose) {
        return;
    }
    m_visible = false;
    if (onClose) {
        onClose();
    }
}

bool HeadlessWindow::setOuterWidth(double twips)
{
    if (twips < 0 || m_minimized) {
        return false;
    }
    resizeInner(static_cast<int>(std::lround(twips / m_twipsPerPixel)) - kBorderWidth,
                m_innerHeight);
    return true;
}

bool HeadlessWindow::setOuterHeight(double twips)
{
    if (twips < 0 || m_minimized) {
        return false;
    }
    resizeInner(m_innerWidth,
                static_cast<int>(std::lround(twips / m_twipsPerPixel)) - kBorderHeight);
    return true;
}

void HeadlessWindow::setMinimized(bool minimized)
{
    if (minimized == m_minimized) {
        return;
    }
    if (minimized) {
        m_restoredWidth = m_innerWidth;
        m_restoredHeight = m_innerHeight;
        m_minimized = true;
        resizeInner(0, 0);
    } else {
        m_minimized = false;
        resizeInner(m_restoredWidth, m_restoredHeight);
    }
}

void HeadlessWindow::resizeInner(int width, int height)
{
    const int newWidth = width < 0 ? 0 : width;
    const int newHeight = height < 0 ? 0 : height;
    // As on a real desktop, only a change of size raises the resize event.
    if (newWidth == m_innerWidth && newHeight == m_innerHeight) {
        return;
    }
    m_innerWidth = newWidth;
    m_innerHeight = newHeight;
    if (onResize) {
        onResize();
    }
}

} // namespace tollen::controls
