#pragma once
// The clipboard, the launcher and the event loop of the Windows desktop.

#include "controls/Services.h"

#include <chrono>
#include <optional>

namespace tollen::ui::win32 {

/// Text on the clipboard as CF_UNICODETEXT.
class Win32Clipboard : public controls::Clipboard
{
public:
    void setText(const std::string &text) override;
    std::string text() const override;
};

/// Opens a URL or a file with ShellExecuteW: the target is one argument, no command interpreter
/// ever sees it.
class Win32Launcher : public controls::Launcher
{
public:
    bool open(const std::string &target) override;
};

/// A pass over the waiting messages (PeekMessage), at most one every few milliseconds so that a
/// transfer's many small chunks do not spend their time asking for messages.
class Win32EventLoop : public controls::EventLoop
{
public:
    void yield() override;

private:
    static constexpr std::chrono::milliseconds kMinimumGap{5};
    std::optional<std::chrono::steady_clock::time_point> m_lastPass;
};

} // namespace tollen::ui::win32
