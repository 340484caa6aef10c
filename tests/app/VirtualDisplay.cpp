#include "VirtualDisplay.h"

#include "TestServers.h"

#include <csignal>
#include <random>

namespace tollen::testing {

using namespace std::chrono_literals;

VirtualDisplay::VirtualDisplay(const std::filesystem::path &folder)
{
    std::random_device random;
    for (int attempt = 0; attempt < 5 && m_name.empty(); ++attempt) {
        const int number = 200 + static_cast<int>(random() % 700);
        if (!std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
            start(":" + std::to_string(number), folder);
        }
    }
}

VirtualDisplay::~VirtualDisplay()
{
    if (m_server) {
        m_server->signal(SIGTERM);
        m_server->wait(5s);
    }
}

void VirtualDisplay::start(const std::string &name, const std::filesystem::path &folder)
{
    auto server = std::make_unique<ChildProcess>(ChildOptions{
        {"Xvfb", name, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
        {},
        folder,
        {},
        folder / "xvfb.log",
    });
    // Ready once a client gets an answer; a server that cannot take the number ends.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline && !server->wait(100ms)) {
        if (runToEnd({{"xwininfo", "-display", name, "-root"}, {}, folder, {}, {}}, 5s) == 0) {
            m_name = name;
            m_server = std::move(server);
            return;
        }
    }
}

std::string windowTree(const std::string &display, const std::filesystem::path &folder)
{
    const auto listing = folder / "windows.txt";
    runToEnd({{"xwininfo", "-display", display, "-root", "-tree"}, {}, folder, listing, {}}, 5s);
    return readFile(listing);
}

ChildOptions windowedProgram(const std::filesystem::path &program, const std::string &display,
                             const std::filesystem::path &folder)
{
    const auto runtime = folder / "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    return {{program.string()},
            {{"DISPLAY", display},
             {"HOME", folder.string()},
             {"XDG_CONFIG_HOME", (folder / "config").string()},
             {"XDG_RUNTIME_DIR", runtime.string()},
             {"LSAN_OPTIONS", "suppressions=" TOLLEN_SOURCE_DIR "/tests/app/lsan-suppressions.txt"},
             {"WAYLAND_DISPLAY", std::nullopt},
             {"QT_QPA_PLATFORM", std::nullopt}},
            folder,
            folder / "tollen.out",
            folder / "tollen.err"};
}

} // namespace tollen::testing
