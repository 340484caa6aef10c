#include "controls/Control.h"

#include <algorithm>

namespace tollen::controls {

bool Control::setLeft(double left)
{
    m_geometry.left = left;
    geometryChanged();
    return true;
}

bool Control::setTop(double top)
{
    m_geometry.top = top;
    geometryChanged();
    return true;
}

bool Control::setWidth(double width)
{
    if (width < 0) {
        return false;
    }
    m_geometry.width = width;
    geometryChanged();
    return true;
}

bool Control::setHeight(double height)
{
    if (height < 0) {
        return false;
    }
    m_geometry.height = height;
    geometryChanged();
    return true;
}

void Control::setGeometry(const Geometry &geometry)
{
    m_geometry = geometry;
    m_geometry.width = std::max(0.0, geometry.width);
    m_geometry.height = std::max(0.0, geometry.height);
    geometryChanged();
}

void Control::setVisible(bool visible)
{
    m_visible = visible;
    visibilityChanged();
}

void CaptionedControl::setCaption(const std::string &caption)
{
    m_caption = caption;
    captionChanged();
}

} // namespace tollen::controls
