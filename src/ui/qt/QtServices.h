#pragma once
// The desktop's clipboard, its handler for URLs and files, and the event loop.

#include "controls/Services.h"

#include <chrono>
#include <optional>

namespace tollen::ui::qt {

class QtClipboard : public controls::Clipboard
{
public:
    void setText(const std::string &text) override;
    std::string text() const override;
};

/// Opens a URL or file with the desktop's handler: an existing local path as a file URL,
/// anything else as the URL it reads as. No shell sees the text.
class QtLauncher : public controls::Launcher
{
public:
    bool open(const std::string &target) override;
};

/// Processes pending events, at most once every few milliseconds: a transfer yields after every
/// chunk, and most of those yields then cost only a clock reading.
class QtEventLoop : public controls::EventLoop
{
public:
    static constexpr std::chrono::milliseconds kMinimumGap{5};

    void yield() override;

private:
    /// Empty until the first pass, which is always made.
    std::optional<std::chrono::steady_clock::time_point> m_lastPass;
};

} // namespace tollen::ui::qt
