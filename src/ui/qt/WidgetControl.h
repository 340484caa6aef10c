#pragma once
// The bridge between a control of the contract and the widget that draws it: the control keeps
// the state, the widget shows it. Geometry and visibility are drawn here for every kind of
// control; the classes built on this draw the rest and raise the control's events.

#include "controls/Control.h"
#include "ui/qt/PixelScale.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <algorithm>

namespace tollen::ui::qt {

inline QString toQString(const std::string &text)
{
    return QString::fromStdString(text);
}

/// `Contract` is the control class of the contract, `Widget` the widget that draws it. The
/// widget is a child of the placement's parent and is deleted with the control, unless its
/// parent went first.
template <typename Contract, typename Widget> class WidgetControl : public Contract
{
public:
    explicit WidgetControl(Placement placement)
        : m_widget(new Widget(placement.parent)), m_scale(placement.scale)
    {
    }
    ~WidgetControl() override { delete m_widget.data(); }

    Widget *widget() const { return m_widget.data(); }
    /// The units of this control's geometry per pixel.
    controls::PixelScale scale() const { return m_scale; }

    /// Lets the widget grow wider than its geometry to show all of its text (the screen's font
    /// may be wider than the one the window was designed for).
    void setFitsText(bool fits)
    {
        m_fitsText = fits;
        geometryChanged();
    }

protected:
    void geometryChanged() override
    {
        QRect rectangle = toPixels(this->geometry(), m_scale);
        if (m_fitsText) {
            rectangle.setWidth(std::max(rectangle.width(), m_widget->sizeHint().width()));
        }
        m_widget->setGeometry(rectangle);
    }
    void visibilityChanged() override { m_widget->setVisible(this->isVisible()); }

private:
    QPointer<Widget> m_widget;
    controls::PixelScale m_scale;
    bool m_fitsText = false;
};

inline void showCaption(QLabel &widget, const QString &caption)
{
    widget.setText(caption);
}
inline void showCaption(QAbstractButton &widget, const QString &caption)
{
    widget.setText(caption);
}
inline void showCaption(QGroupBox &widget, const QString &caption)
{
    widget.setTitle(caption);
}

/// A control whose caption the widget shows as its text or title.
template <typename Contract, typename Widget>
class CaptionedWidget : public WidgetControl<Contract, Widget>
{
public:
    using WidgetControl<Contract, Widget>::WidgetControl;

protected:
    void captionChanged() override
    {
        showCaption(*this->widget(), toQString(this->caption()));
        this->geometryChanged();
    }
};

} // namespace tollen::ui::qt
