#pragma once
// A virtual screen for the tests that start real windows.

#include "ChildProcess.h"

#include <csignal>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace tollen::testing {

/// Xvfb on a free display number high above the ones desktops and other tools take. It does not
/// reset when a client leaves, so that looking at its windows cannot cut off the program.
class VirtualDisplay
{
public:
    explicit VirtualDisplay(const std::filesystem::path &folder)
    {
        std::random_device random;
        for (int attempt = 0; attempt < 5 && m_name.empty(); ++attempt) {
            const int number = 200 + static_cast<int>(random() % 700);
            if (!std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
                start(":" + std::to_string(number), folder);
            }
        }
    }
    ~VirtualDisplay()
    {
        if (m_server) {
            m_server->signal(SIGTERM);
            m_server->wait(std::chrono::seconds(5));
        }
    }
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    /// ":N", empty when no server started.
    const std::string &name() const { return m_name; }

private:
    void start(const std::string &name, const std::filesystem::path &folder)
    {
        auto server = std::make_unique<ChildProcess>(ChildOptions{
            {"Xvfb", name, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
            {},
            folder,
            {},
            folder / "xvfb.log",
        });
        // Ready once a client gets an answer; a server that cannot take the number ends.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline &&
               !server->wait(std::chrono::milliseconds(100))) {
            if (runToEnd({{"xwininfo", "-display", name, "-root"}, {}, folder, {}, {}},
                         std::chrono::seconds(5)) == 0) {
                m_name = name;
                m_server = std::move(server);
                return;
            }
        }
    }

    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};

} // namespace tollen::testing
