#pragma once
// A virtual screen for the tests that start the real windowed program, and what they read of
// it: its window tree.

#include "ChildProcess.h"

#include <filesystem>
#include <memory>
#include <string>

namespace tollen::testing {

/// Xvfb on a free display number high above the ones desktops and other tools take. It does not
/// reset when a client leaves, so that looking at its windows cannot cut off the program.
class VirtualDisplay
{
public:
    explicit VirtualDisplay(const std::filesystem::path &folder);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    /// ":N", empty when no server started.
    const std::string &name() const { return m_name; }

private:
    void start(const std::string &name, const std::filesystem::path &folder);

    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};

/// The window tree of the display as xwininfo prints it: one line per window, titles quoted.
std::string windowTree(const std::string &display, const std::filesystem::path &folder);

/// How the tests start the windowed program on the display: a fresh home, configuration and
/// runtime folder inside `folder` (made here), no other display or platform, its output in
/// tollen.out and tollen.err there.
ChildOptions windowedProgram(const std::filesystem::path &program, const std::string &display,
                             const std::filesystem::path &folder);

} // namespace tollen::testing
