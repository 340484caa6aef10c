#include "TestServers.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

// Programs the servers run: paths of this (Linux) machine, also for tests built for Windows.
const std::string kScripts = TOLLEN_SERVERS_DIR;
const char *const kPython = "/usr/bin/python3";

} // namespace

TemporaryFolder::TemporaryFolder() : m_path(makeTestFolder()) {}

TemporaryFolder::~TemporaryFolder()
{
    // On Windows a file the program still holds open (a handle its internet library closes on a
    // thread of its own) cannot go at once: a few tries over a second before saying so.
    std::error_code error;
    for (int attempt = 0; attempt < 20; ++attempt) {
        error.clear();
        fs::remove_all(m_path, error);
        if (!error) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::cerr << "cannot remove the test folder " << m_path.string() << ": " << error.message()
              << '\n';
}

int portOnFirstLine(const fs::path &output, const std::string &server)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    std::string line = readFile(output);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        line = readFile(output);
    }
    const int port = std::atoi(line.c_str());
    if (port <= 0) {
        throw std::runtime_error("server did not start: " + server);
    }
    return port;
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

std::vector<std::string> fileNames(const fs::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string patternBytes(std::size_t count)
{
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(i % 251);
    }
    return bytes;
}

TestCertificate makeTestCertificate(const fs::path &folder)
{
    TestCertificate made{folder / "server.crt", folder / "server.key"};
    const int status =
        runProgram({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                    "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                    "-keyout", serverPath(made.key), "-out", serverPath(made.certificate)});
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
    const std::string text = log();
    int count = 0;
    for (auto at = text.find(m_loginMark); at != std::string::npos;
         at = text.find(m_loginMark, at + 1)) {
        ++count;
    }
    return count;
}

PyFtpServer::PyFtpServer(const fs::path &root, const std::string &user, const std::string &password)
    : FtpTestServer("ftp.log", " logged in.")
{
    m_process = std::make_unique<ServerProcess>(
        std::vector<std::string>{kPython, kScripts + "/pyftpd.py", "--root", serverPath(root),
                                 "--user", user, "--password", password, "--log",
                                 serverPath(logPath())},
        true);
}

VsftpServer::VsftpServer(const fs::path &root, const std::optional<TestCertificate> &tls)
    : FtpTestServer("vsftpd.log", "OK LOGIN")
{
    const int port = freePort();
    fs::create_directories(m_folder.path() / "empty");
    std::string config = "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nbackground=NO\n"
                         "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\n"
                         "run_as_launching_user=NO\nanonymous_enable=YES\nlocal_enable=NO\n"
                         "no_anon_password=YES\nwrite_enable=YES\nanon_upload_enable=YES\n"
                         "anon_mkdir_write_enable=YES\nanon_other_write_enable=YES\n"
                         "anon_umask=022\nallow_writeable_chroot=YES\npasv_enable=YES\n"
                         "pasv_address=127.0.0.1\nconnect_from_port_20=NO\nport_enable=YES\n"
                         "xferlog_enable=YES\nlog_ftp_protocol=YES\ndual_log_enable=NO\n"
                         "syslog_enable=NO\nuse_localtime=NO\ndelay_failed_login=1\n";
    config += "listen_port=" + std::to_string(port) + "\nanon_root=" + serverPath(root) +
              "\nsecure_chroot_dir=" + serverPath(m_folder.path() / "empty") +
              "\nvsftpd_log_file=" + serverPath(logPath()) + "\n";
    if (tls) {
        config += "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_data_ssl=YES\n"
                  "force_anon_logins_ssl=YES\nrequire_ssl_reuse=NO\nrsa_cert_file=" +
                  serverPath(tls->certificate) + "\nrsa_private_key_file=" + serverPath(tls->key) +
                  "\n";
    }
    writeFile(m_folder.path() / "vsftpd.conf", config);
    m_process = std::make_unique<ServerProcess>(
        std::vector<std::string>{"/usr/sbin/vsftpd", serverPath(m_folder.path() / "vsftpd.conf")},
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
        certificates = "ssl_certificate " + serverPath(tls->certificate) +
                       ";\n ssl_certificate_key " + serverPath(tls->key) + ";\n";
    }
    std::string temporaries;
    for (const char *kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
        temporaries += std::string(kind) + "_temp_path " + serverPath(dir / kind) + ";\n";
    }
    const std::string config = "worker_processes 1;\npid " + serverPath(dir / "nginx.pid") +
                               ";\nerror_log " + serverPath(dir / "logs" / "error.log") +
                               ";\nevents { worker_connections 64; }\nhttp {\n" + "access_log " +
                               serverPath(dir / "logs" / "access.log") + ";\n" + temporaries +
                               "server {\n" + listen + ";\n" + certificates + "root " +
                               serverPath(root) + ";\n" + serverConfig + "\n}\n}\n";
    writeFile(dir / "nginx.conf", config);
    m_process = std::make_unique<ServerProcess>(
        std::vector<std::string>{"/usr/sbin/nginx", "-p", serverPath(dir), "-c",
                                 serverPath(dir / "nginx.conf"), "-g", "daemon off;"},
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

std::vector<std::string> NginxServer::requests(std::size_t count) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (true) {
        std::vector<std::string> lines;
        std::istringstream log(readFile(m_folder.path() / "logs/access.log"));
        for (std::string entry; std::getline(log, entry);) {
            // The combined format quotes the request line after the date.
            const auto open = entry.find("] \"");
            const auto close = open == std::string::npos ? open : entry.find("\" ", open + 3);
            if (close != std::string::npos) {
                lines.push_back(entry.substr(open + 3, close - open - 3));
            }
        }
        if (lines.size() >= count || std::chrono::steady_clock::now() >= deadline) {
            return lines;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

FaultServer::FaultServer(const std::vector<std::string> &arguments)
    : m_process(
          [&] {
              std::vector<std::string> all = {kPython, kScripts + "/fault_server.py"};
              all.insert(all.end(), arguments.begin(), arguments.end());
              return all;
          }(),
          true)
{
}

std::string FaultServer::host() const
{
    return "127.0.0.1:" + std::to_string(port());
}

} // namespace tollen::testing
