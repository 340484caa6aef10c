#pragma once
// Real servers for the transfer tests and benchmarks, each on 127.0.0.1 with a free port and
// all its files in a temporary folder: pyftpdlib and vsftpd for FTP, nginx for HTTP, and a
// scripted server for faults real servers cannot be made to show on demand. Each object starts
// its server in the constructor and stops it (and only it) in the destructor. Tests built for
// Windows run under Wine and start the same Linux servers (TestPlatformWine.cpp).

#include "TestPlatform.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollen::testing {

/// A child process started without a shell, in its own process group. Under Wine it is a Linux
/// process that a shell script of the test's own starts and stops.
class ServerProcess
{
public:
    /// Starts `arguments` (the program first). With `portOnStdout`, waits for the first line of
    /// its output and takes it as the listening port.
    ServerProcess(const std::vector<std::string> &arguments, bool portOnStdout);
    ~ServerProcess();
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;

    int port() const { return m_port; }
    void setPort(int port) { m_port = port; }

private:
    int m_pid = -1;
    int m_port = 0;
};

/// The port a server started by ServerProcess writes on the first line of `output`, waited for
/// up to 15 seconds; `server` names it in the error when none comes.
int portOnFirstLine(const std::filesystem::path &output, const std::string &server);

std::string readFile(const std::filesystem::path &path);
void writeFile(const std::filesystem::path &path, const std::string &bytes);
/// The names of the files in a folder, sorted; a temporary file left behind shows up here.
std::vector<std::string> fileNames(const std::filesystem::path &folder);
/// Deterministic bytes (i mod 251), the same the scripted server sends.
std::string patternBytes(std::size_t count);
/// A port on 127.0.0.1 that was free a moment ago.
int freePort();
/// Waits until something accepts connections on the port; false after `seconds`.
bool waitForPort(int port, double seconds = 10);
/// Runs a program to its end without a shell; its exit status.
int runProgram(const std::vector<std::string> &arguments);

/// A self-signed certificate for 127.0.0.1 and its key, made with openssl.
struct TestCertificate
{
    std::filesystem::path certificate;
    std::filesystem::path key;
};
TestCertificate makeTestCertificate(const std::filesystem::path &folder);

/// What the tests read from either FTP server: its address, its log and the logins in it.
class FtpTestServer
{
public:
    int port() const { return m_process->port(); }
    /// "127.0.0.1:port", the host box text for this server.
    std::string host() const;
    std::string log() const;
    /// Successful logins so far, from the server's log.
    int loginCount() const;

protected:
    /// `logName` is the log file in the server's folder, `loginMark` the text of a login in it.
    FtpTestServer(std::string logName, std::string loginMark);
    std::filesystem::path logPath() const { return m_folder.path() / m_logName; }

    TemporaryFolder m_folder;
    std::unique_ptr<ServerProcess> m_process;

private:
    std::string m_logName;
    std::string m_loginMark;
};

/// pyftpdlib with one user whose home is `root`.
class PyFtpServer : public FtpTestServer
{
public:
    PyFtpServer(const std::filesystem::path &root, const std::string &user,
                const std::string &password);
};

/// vsftpd with anonymous access (user "anonymous" or "ftp", any password) to `root`, which
/// must be readable by the "ftp" account; uploads allowed. With a certificate it demands
/// explicit TLS on the control and data connections.
class VsftpServer : public FtpTestServer
{
public:
    explicit VsftpServer(const std::filesystem::path &root,
                         const std::optional<TestCertificate> &tls = {});
};

/// nginx serving `root`, over TLS when a certificate is given, then offering HTTP/2 when
/// `http2` is set (as most HTTPS servers do); `serverConfig` adds directives to its server
/// block.
class NginxServer
{
public:
    explicit NginxServer(const std::filesystem::path &root,
                         const std::optional<TestCertificate> &tls = {},
                         const std::string &serverConfig = {}, bool http2 = false);
    int port() const { return m_process->port(); }
    /// "http://127.0.0.1:port" or "https://127.0.0.1:port".
    std::string url() const;
    /// The request lines logged, one per request ("GET /path HTTP/1.1"), in order. nginx logs a
    /// request once it is done with it, a moment after the client has its answer: this waits a
    /// few seconds at most until `count` lines are there.
    std::vector<std::string> requests(std::size_t count = 0) const;

private:
    TemporaryFolder m_folder;
    bool m_tls = false;
    std::unique_ptr<ServerProcess> m_process;
};

/// The scripted server of fault_server.py with its mode and arguments.
class FaultServer
{
public:
    explicit FaultServer(const std::vector<std::string> &arguments);
    int port() const { return m_process.port(); }
    std::string host() const;

private:
    ServerProcess m_process;
};

} // namespace tollen::testing
