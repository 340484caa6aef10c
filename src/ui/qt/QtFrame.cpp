#include "ui/qt/QtFrame.h"

#include <QMouseEvent>

namespace tollen::ui::qt {

void ClickableGroupBox::mousePressEvent(QMouseEvent *event)
{
    QGroupBox::mousePressEvent(event);
    // Taking the press makes the release come here as well.
    event->accept();
}

void ClickableGroupBox::mouseReleaseEvent(QMouseEvent *event)
{
    QGroupBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        onClick) {
        onClick();
    }
}

QtFrame::QtFrame(const QtWindow &window)
    : CaptionedWidget(Placement{window.widget(), controls::kPixels}),
      m_twipsPerPixel(window.twipsPerPixel())
{
    widget()->onClick = [this] {
        if (onClick) {
            onClick();
        }
    };
}

} // namespace tollen::ui::qt
