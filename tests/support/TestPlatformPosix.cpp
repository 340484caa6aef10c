#include "ChildProcess.h"
#include "TestServers.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

class Descriptor
{
public:
    explicit Descriptor(int descriptor = -1) : m_descriptor(descriptor) {}
    ~Descriptor()
    {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_descriptor; }

private:
    int m_descriptor;
};

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

fs::path makeTestFolder()
{
    std::string pattern = (fs::temp_directory_path() / "tollen-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    // Servers that drop their privileges (vsftpd, nginx workers) read from here too.
    fs::permissions(pattern, fs::perms(0755));
    return pattern;
}

void setEnvironmentVariable(const std::string &name, const std::optional<std::string> &value)
{
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

bool runningUnderWine()
{
    return false;
}

std::string storableName(std::string_view text)
{
    return std::string(text);
}

std::string serverPath(const fs::path &path)
{
    return path.string();
}

ServerProcess::ServerProcess(const std::vector<std::string> &arguments, bool portOnStdout)
{
    // The port line comes in a file of the constructor's own; the server may go on writing to it
    // once its folder is gone.
    const TemporaryFolder folder;
    const fs::path output = portOnStdout ? folder.path() / "port" : fs::path();
    m_pid = startChild({arguments, {}, {}, output, {}});
    if (m_pid <= 0) {
        throw std::runtime_error("cannot start " + arguments[0]);
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
    ::kill(-m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (::waitpid(m_pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Session processes of the server (vsftpd forks one per connection) end with it.
    ::kill(-m_pid, SIGKILL);
}

int freePort()
{
    Descriptor socket(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(socket.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::getsockname(socket.get(), reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        throw std::runtime_error("no free port");
    }
    return ntohs(address.sin_port);
}

bool waitForPort(int port, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        Descriptor socket(::socket(AF_INET, SOCK_STREAM, 0));
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
    return runToEnd({arguments, {}, {}, {}, {}}, std::chrono::minutes(10)).value_or(-1);
}

} // namespace tollen::testing
