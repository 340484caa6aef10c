#include "TestServers.h"
#include "core/WideText.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <thread>
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

// The test servers are Linux programs. Under Wine a Windows program can start a Linux program
// with CreateProcess but gets no handle to wait on and no pipe to read from, so each start,
// stop or run goes through a small shell script that leaves its results in files, which the
// test polls. Paths cross over through Wine's own name conversions.

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

/// `path` converted by Wine's own function `function`: wine_get_unix_file_name gives the Linux
/// name of a Windows path, wine_get_dos_file_name the Windows name of a Linux path.
template <typename To, typename From>
std::basic_string<To> wineName(const char *function, const From *path)
{
    if (!runningUnderWine()) {
        throw std::runtime_error("the test servers are Linux programs: run this test under Wine");
    }
    using Convert = To *(CDECL *)(const From *);
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), function);
    To *name = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(found))(path);
    if (name == nullptr) {
        throw std::runtime_error(std::string("Wine has no name for a test path: ") + function);
    }
    std::basic_string<To> converted(name);
    HeapFree(GetProcessHeap(), 0, name);
    return converted;
}

std::string shellQuoted(const std::string &text)
{
    std::string quoted = "'";
    for (const char character : text) {
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return quoted + "'";
}

std::string shellCommand(const std::vector<std::string> &arguments)
{
    std::string command;
    for (const auto &argument : arguments) {
        command += (command.empty() ? "" : " ") + shellQuoted(argument);
    }
    return command;
}

/// A folder for the scripts and result files of this test program.
const fs::path &controlFolder()
{
    static const TemporaryFolder folder;
    return folder.path();
}

/// A fresh name in the control folder.
fs::path controlFile(const std::string &kind)
{
    static std::atomic<int> counter{0};
    return controlFolder() / (kind + "-" + std::to_string(++counter));
}

/// Starts `/bin/sh script` as a Linux process; it runs on by itself.
void startScript(const fs::path &script, const std::string &text)
{
    {
        std::ofstream out(script, std::ios::binary);
        out << text;
    }
    std::wstring commandLine = L"Z:\\bin\\sh \"" + wideFromUtf8(serverPath(script)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        throw std::runtime_error("cannot start /bin/sh");
    }
    if (process.hProcess != nullptr) {
        CloseHandle(process.hProcess);
    }
    if (process.hThread != nullptr) {
        CloseHandle(process.hThread);
    }
}

/// The contents of a result file once it is there (scripts write it under another name and
/// rename it, so it is never seen half written); nullopt after `seconds`.
std::optional<std::string> awaitFile(const fs::path &file, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code error;
        if (fs::exists(file, error)) {
            return readFile(file);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

/// `command` then the line that writes `file` whole: its output and a rename.
std::string writingResult(const std::string &command, const fs::path &file)
{
    const std::string target = shellQuoted(serverPath(file));
    const std::string partial = shellQuoted(serverPath(file) + ".part");
    return command + " > " + partial + " && mv " + partial + " " + target + "\n";
}

/// Winsock, started once for the whole test program.
void startWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) {
        throw std::runtime_error("Winsock does not start");
    }
}

class Socket
{
public:
    Socket() : m_socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Socket()
    {
        if (m_socket != INVALID_SOCKET) {
            closesocket(m_socket);
        }
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    SOCKET get() const { return m_socket; }

private:
    SOCKET m_socket;
};

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

bool runningUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::string storableName(std::string_view text)
{
    std::string name;
    std::ranges::copy_if(text, std::back_inserter(name), [](char character) {
        return std::string_view(R"(<>:"|?*)").find(character) == std::string_view::npos;
    });
    return name;
}

std::string serverPath(const fs::path &path)
{
    return wineName<char>("wine_get_unix_file_name", path.c_str());
}

fs::path makeTestFolder()
{
    // The Linux temporary directory, so that servers running as other users can read it; the
    // Wine prefix lies below the home folder of the user who runs the tests.
    const char *unixTemporary = std::getenv("TMPDIR");
    const fs::path parent = wineName<WCHAR>(
        "wine_get_dos_file_name",
        unixTemporary != nullptr && unixTemporary[0] == '/' ? unixTemporary : "/tmp");
    static std::mt19937_64 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder =
            parent / ("tollen-test-" + std::to_string(generator() & 0xFFFFFFFFFFULL));
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

void setEnvironmentVariable(const std::string &name, const std::optional<std::string> &value)
{
    // The C library keeps a copy of the environment of its own; both are set.
    const std::wstring wideName = wideFromUtf8(name);
    SetEnvironmentVariableW(wideName.c_str(), value ? wideFromUtf8(*value).c_str() : nullptr);
    _wputenv_s(wideName.c_str(), value ? wideFromUtf8(*value).c_str() : L"");
}

ServerProcess::ServerProcess(const std::vector<std::string> &arguments, bool portOnStdout)
{
    const fs::path output = controlFile("output");
    const fs::path pid = controlFile("pid");
    // A background subshell whose parent ends at once: the server is then no child of Wine's,
    // and setsid makes it the leader of a process group of its own.
    startScript(controlFile("start.sh"),
                "cd /\n( exec /usr/bin/setsid " + shellCommand(arguments) + " > " +
                    (portOnStdout ? shellQuoted(serverPath(output)) : std::string("/dev/null")) +
                    " 2>/dev/null < /dev/null ) &\n" + writingResult("echo $!", pid));
    const auto pidText = awaitFile(pid, 15);
    m_pid = pidText ? std::atoi(pidText->c_str()) : 0;
    if (m_pid <= 0) {
        throw std::runtime_error("cannot start " + arguments.front());
    }
    if (portOnStdout) {
        m_port = portOnFirstLine(output, arguments.back());
    }
}

ServerProcess::~ServerProcess()
{
    if (m_pid <= 0) {
        return;
    }
    const std::string group = "-" + std::to_string(m_pid);
    const std::string stat = "/proc/" + std::to_string(m_pid) + "/stat";
    const fs::path done = controlFile("stopped");
    // Ends the group (dash's kill takes "-s NAME" before "--", not "-NAME"), waits up to three
    // seconds for the server to go (or to be a zombie nobody reaps yet), then kills what is left of
    // the group.
    startScript(controlFile("stop.sh"),
                "kill -s TERM -- " + group + " 2>/dev/null\ni=0\n" +
                    "while [ $i -lt 300 ] && [ -e " + stat + " ] && ! grep -q ') Z' " + stat +
                    " 2>/dev/null; do sleep 0.01; i=$((i+1)); done\n" + "kill -s KILL -- " + group +
                    " 2>/dev/null\n" + writingResult("echo stopped", done));
    awaitFile(done, 10);
}

int freePort()
{
    startWinsock();
    Socket socket;
    sockaddr_in address = loopback(0);
    int length = sizeof address;
    if (::bind(socket.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::getsockname(socket.get(), reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        throw std::runtime_error("no free port");
    }
    return ntohs(address.sin_port);
}

bool waitForPort(int port, double seconds)
{
    startWinsock();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        Socket socket;
        sockaddr_in address = loopback(port);
        if (::connect(socket.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

int runProgram(const std::vector<std::string> &arguments)
{
    const fs::path status = controlFile("status");
    startScript(controlFile("run.sh"), "cd /\n" + shellCommand(arguments) +
                                           " > /dev/null 2>&1 < /dev/null\n" +
                                           writingResult("echo $?", status));
    const auto text = awaitFile(status, 120);
    return text ? std::atoi(text->c_str()) : -1;
}

} // namespace tollen::testing
