#pragma once
// Clipboard, launcher and event loop without a desktop: they keep what they were given so the
// tests and the command-line face can see it.

#include "controls/Services.h"

namespace tollen::controls {

class HeadlessClipboard : public Clipboard
{
public:
    void setText(const std::string &text) override { m_text = text; }
    std::string text() const override { return m_text; }

private:
    std::string m_text;
};

class HeadlessLauncher : public Launcher
{
public:
    bool open(const std::string &target) override
    {
        m_opened.push_back(target);
        return handlerFound;
    }
    const std::vector<std::string> &opened() const { return m_opened; }

    /// What open() reports: false acts as a desktop with no program for the target.
    bool handlerFound = true;

private:
    std::vector<std::string> m_opened;
};

class HeadlessEventLoop : public EventLoop
{
public:
    void yield() override
    {
        ++m_yields;
        if (onYield) {
            onYield();
        }
    }
    long long yields() const { return m_yields; }

    /// Runs at each yield, as queued events would (tests use it to act mid-transfer).
    std::function<void()> onYield;

private:
    long long m_yields = 0;
};

} // namespace tollen::controls
