#pragma once

#include "controls/Event.h"

#include <string>

namespace tollen::controls {

/// A top-level window: caption, enabled state, its inner area in pixels and its outer size.
class Window
{
public:
    virtual ~Window() = default;
    Window() = default;
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string &caption) = 0;
    virtual bool isEnabled() const = 0;
    /// False disables all input to the window.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isVisible() const = 0;
    virtual void show() = 0;
    virtual void close() = 0;

    /// Inner (client) area in pixels.
    virtual int innerWidth() const = 0;
    virtual int innerHeight() const = 0;
    /// Outer size including the borders, set in twips; false when the size is refused.
    virtual bool setOuterWidth(double twips) = 0;
    virtual bool setOuterHeight(double twips) = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;

    Event<> onResize;
    Event<int> onKeyPress;
    /// Raised when the window is closed by the user or by close().
    Event<> onClose;
};

} // namespace tollen::controls
