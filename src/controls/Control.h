#pragma once
// The base of the program's controls: geometry, visibility and captions, and the plain captioned
// controls (labels, frames, buttons).
//
// The routines of the main window and the splash run in the ui layer against the controls of
// this folder. Each control holds its own plain state (captions, geometry, rows, selection) and
// announces changes through protected hooks; the headless face (controls/headless) uses the
// state as it is, the Qt face (ui/qt) and the Win32 face (ui/win32) override the hooks to render
// the state in widgets or windows and raise the controls' events from their signals or
// notifications. Dialogs, the clipboard, the launcher and the event loop are pure interfaces.
//
// Units: controls inside frames are placed in twips, frames and the window's inner area in
// pixels; the window reports its twips per pixel (15 at 96 dots per inch).

#include "controls/Event.h"

#include <string>

namespace tollen::controls {

struct Geometry
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

/// Base of every visible control: geometry in its parent's units, visibility, enabled state.
class Control
{
public:
    virtual ~Control() = default;
    Control() = default;
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    const Geometry &geometry() const { return m_geometry; }
    /// Moving a control always succeeds; a negative width or height is refused (false) and
    /// leaves the geometry as it was, as the program's controls refuse invalid sizes.
    bool setLeft(double left);
    bool setTop(double top);
    bool setWidth(double width);
    bool setHeight(double height);
    void setGeometry(const Geometry &geometry);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

protected:
    virtual void geometryChanged() {}
    virtual void visibilityChanged() {}

private:
    Geometry m_geometry;
    bool m_visible = true;
};

/// A control that shows a caption: labels, frames, buttons, option buttons, check boxes.
class CaptionedControl : public Control
{
public:
    const std::string &caption() const { return m_caption; }
    void setCaption(const std::string &caption);

protected:
    virtual void captionChanged() {}

private:
    std::string m_caption;
};

class Label : public CaptionedControl
{
};

class Frame : public CaptionedControl
{
public:
    Event<> onClick;
};

class Button : public CaptionedControl
{
public:
    Event<> onClick;
};

} // namespace tollen::controls
