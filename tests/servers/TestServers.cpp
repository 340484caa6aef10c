#include "TestServers.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char **environ;

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kScripts = TOLLEN_SERVERS_DIR;
const char *const kPython = "/usr/bin/python3";

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

int spawn(const std::vector<std::string> &arguments, int stdoutDescriptor)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutDescriptor >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stdoutDescriptor, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<char *> argv;
    for (const auto &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    return pid;
}

int countOccurrences(const std::string &text, const std::string &what)
{
    int count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = (fs::temp_directory_path() / "tollen-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_path = pattern;
    // Servers that drop their privileges (vsftpd, nginx workers) read from here too.
    fs::permissions(m_path, fs::perms(0755));
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

ServerProcess::ServerProcess(const std::vector<std::string> &arguments, bool portOnStdout)
{
    if (!portOnStdout) {
        m_pid = spawn(arguments, -1);
        return;
    }
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    Descriptor reader(pipeEnds[0]);
    {
        Descriptor writer(pipeEnds[1]);
        m_pid = spawn(arguments, writer.get());
    }
    std::string line;
    pollfd watch{reader.get(), POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&watch, 1, 15000) > 0) {
        char buffer[64];
        const auto count = ::read(reader.get(), buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        line.append(buffer, static_cast<std::size_t>(count));
    }
    m_port = std::atoi(line.c_str());
    if (m_port <= 0) {
        throw std::runtime_error("server did not start: " + arguments.back());
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

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string patternBytes(std::size_t count)
{
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(i % 251);
    }
    return bytes;
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
    const int pid = spawn(arguments, -1);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TestCertificate makeTestCertificate(const fs::path &folder)
{
    TestCertificate made{folder / "server.crt", folder / "server.key"};
    const int status =
        runProgram({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                    "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                    "-keyout", made.key.string(), "-out", made.certificate.string()});
    if (status != 0) {
        throw std::runtime_error("openssl could not make a certificate");
    }
    fs::permissions(made.key, fs::perms(0644));
    return made;
}

FtpTestServer::FtpTestServer(std::string logName, std::string loginMark)
    : m_logName(std::move(logName)), m_loginMark(std::move(loginMark))
{
}

std::string FtpTestServer::host() const
{
    return "127.0.0.1:" + std::to_string(port());
}

std::string FtpTestServer::log() const
{
    return readFile(logPath());
}

int FtpTestServer::loginCount() const
{
    return countOccurrences(log(), m_loginMark);
}

PyFtpServer::PyFtpServer(const fs::path &root, const std::string &user, const std::string &password,
                         const std::optional<TestCertificate> &tls)
    : FtpTestServer("ftp.log", " logged in.")
{
    std::vector<std::string> arguments = {kPython,      (kScripts / "pyftpd.py").string(),
                                          "--root",     root.string(),
                                          "--user",     user,
                                          "--password", password,
                                          "--log",      logPath().string()};
    if (tls) {
        arguments.insert(arguments.end(),
                         {"--cert", tls->certificate.string(), "--key", tls->key.string()});
    }
    m_process = std::make_unique<ServerProcess>(arguments, true);
}

VsftpServer::VsftpServer(const fs::path &root, const std::optional<TestCertificate> &tls)
    : FtpTestServer("vsftpd.log", "OK LOGIN")
{
    const int port = freePort();
    fs::create_directories(m_folder.path() / "empty");
    std::string config = "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\n"
                         "listen_port=" +
                         std::to_string(port) +
                         "\nbackground=NO\nseccomp_sandbox=NO\nisolate=NO\n"
                         "isolate_network=NO\nrun_as_launching_user=NO\n"
                         "anonymous_enable=YES\nlocal_enable=NO\nno_anon_password=YES\n"
                         "anon_root=" +
                         root.string() +
                         "\nwrite_enable=YES\nanon_upload_enable=YES\n"
                         "anon_mkdir_write_enable=YES\nanon_other_write_enable=YES\n"
                         "anon_umask=022\nallow_writeable_chroot=YES\n"
                         "secure_chroot_dir=" +
                         (m_folder.path() / "empty").string() +
                         "\npasv_enable=YES\npasv_address=127.0.0.1\n"
                         "connect_from_port_20=NO\nport_enable=YES\n"
                         "xferlog_enable=YES\nlog_ftp_protocol=YES\n"
                         "vsftpd_log_file=" +
                         logPath().string() +
                         "\ndual_log_enable=NO\nsyslog_enable=NO\nuse_localtime=NO\n"
                         "delay_failed_login=1\n";
    if (tls) {
        config += "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_data_ssl=YES\n"
                  "force_anon_logins_ssl=YES\nrequire_ssl_reuse=NO\nrsa_cert_file=" +
                  tls->certificate.string() + "\nrsa_private_key_file=" + tls->key.string() + "\n";
    }
    writeFile(m_folder.path() / "vsftpd.conf", config);
    m_process = std::make_unique<ServerProcess>(
        std::vector<std::string>{"/usr/sbin/vsftpd", (m_folder.path() / "vsftpd.conf").string()},
        false);
    m_process->setPort(port);
    if (!waitForPort(port)) {
        throw std::runtime_error("vsftpd did not start");
    }
}

NginxServer::NginxServer(const fs::path &root, const std::optional<TestCertificate> &tls,
                         const std::string &serverConfig, bool http2)
    : m_tls(tls.has_value())
{
    const int port = freePort();
    const fs::path dir = m_folder.path();
    fs::create_directories(dir / "logs");
    std::string listen = "listen 127.0.0.1:" + std::to_string(port);
    std::string certificates;
    if (tls) {
        listen += http2 ? " ssl http2" : " ssl";
        certificates = "ssl_certificate " + tls->certificate.string() + ";\n ssl_certificate_key " +
                       tls->key.string() + ";\n";
    }
    std::string temporaries;
    for (const char *kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
        temporaries += std::string(kind) + "_temp_path " + (dir / kind).string() + ";\n";
    }
    const std::string config =
        "worker_processes 1;\npid " + (dir / "nginx.pid").string() + ";\nerror_log " +
        (dir / "logs/error.log").string() + ";\nevents { worker_connections 64; }\nhttp {\n" +
        "access_log " + (dir / "logs/access.log").string() + ";\n" + temporaries + "server {\n" +
        listen + ";\n" + certificates + "root " + root.string() + ";\n" + serverConfig + "\n}\n}\n";
    writeFile(dir / "nginx.conf", config);
    m_process = std::make_unique<ServerProcess>(
        std::vector<std::string>{"/usr/sbin/nginx", "-p", dir.string(), "-c",
                                 (dir / "nginx.conf").string(), "-g", "daemon off;"},
        false);
    m_process->setPort(port);
    if (!waitForPort(port)) {
        throw std::runtime_error("nginx did not start");
    }
}

std::string NginxServer::url() const
{
    return std::string(m_tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(port());
}

namespace {

std::vector<std::string> faultArguments(const std::vector<std::string> &arguments)
{
    std::vector<std::string> all = {kPython, (kScripts / "fault_server.py").string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

} // namespace

FaultServer::FaultServer(const std::vector<std::string> &arguments)
    : m_process(faultArguments(arguments), true)
{
}

std::string FaultServer::host() const
{
    return "127.0.0.1:" + std::to_string(port());
}

} // namespace tollen::testing
