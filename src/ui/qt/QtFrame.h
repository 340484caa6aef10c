#pragma once

#include "ui/qt/QtWindow.h"
#include "ui/qt/WidgetControl.h"

#include <functional>

namespace tollen::ui::qt {

/// A group box that reports a click on itself (or on a label inside it, which passes the mouse
/// on to its frame).
class ClickableGroupBox : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

/// A frame: a group box placed in pixels whose title is the caption. The controls inside it are
/// placed in twips.
class QtFrame : public CaptionedWidget<controls::Frame, ClickableGroupBox>
{
public:
    /// A frame in `window`'s inner area.
    explicit QtFrame(const QtWindow &window);

    /// Where a control inside this frame goes.
    Placement inside() const { return {widget(), m_twipsPerPixel}; }

private:
    controls::PixelScale m_twipsPerPixel;
};

} // namespace tollen::ui::qt
