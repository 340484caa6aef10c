#pragma once
// What the windows need of the desktop besides their controls: the clipboard, the launcher and
// the event loop.

#include <string>

namespace tollen::controls {

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const std::string &text) = 0;
    virtual std::string text() const = 0;
};

/// Opens a URL or a file with the desktop's handler. The target is handed over as one argument,
/// never through a shell.
class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual bool open(const std::string &target) = 0;
};

/// Lets the window repaint and take input in the middle of a long operation.
class EventLoop
{
public:
    virtual ~EventLoop() = default;
    virtual void yield() = 0;
};

} // namespace tollen::controls
