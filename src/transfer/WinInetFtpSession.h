#pragma once
// The FTP session on the Windows internet library: one connection handle (one login) kept for
// every request, directory changes and commands through its FTP calls, files through
// FtpOpenFile and InternetReadFile / InternetWriteFile. The server's replies come from
// InternetGetLastResponseInfo. Listings are fetched raw (LIST through FtpCommand) and read by the
// program's own listing reader. Where the library has no data connection for FtpCommand (Wine),
// the session opens one of its own after PASV; since the library then misses the end of the
// listing on the control connection, that connection is replaced by a fresh login.

#include "transfer/FtpSession.h"
#include "transfer/WinInetHandle.h"

#include <string>
#include <vector>

namespace tollen::transfer {

class WinInetFtpSession : public FtpSession
{
public:
    explicit WinInetFtpSession(TransferOptions options);

    Error login(const std::string &server, const std::string &user, const std::string &password,
                bool passive) override;
    void close() override;
    bool connected() const override { return m_connected; }
    const std::string &workingDirectory() const override { return m_workingDirectory; }

    Error changeDirectory(const std::string &directory) override;
    Error command(const std::vector<std::string> &commands) override;
    Error list(const std::string &directory, std::string &listing) override;
    Error beginDownload(const std::string &path, bool binary, std::uint64_t offset) override;
    std::size_t read(char *buffer, std::size_t count, Error &error) override;
    Error endDownload() override;
    Error beginUpload(const std::string &path, bool binary) override;
    Error write(const char *buffer, std::size_t count) override;
    Error endUpload() override;
    void abandonTransfer() override;

private:
    /// Logs in again when the connection was left in an unknown state (after an abandoned
    /// transfer or a listing on a data connection of the session's own).
    Error usableConnection();
    Error connect();
    Error sendCommand(const std::string &command);
    Error listThroughLibrary(const std::string &directory, std::string &listing, bool &unsupported);
    Error listThroughOwnConnection(const std::string &directory, std::string &listing);
    Error openFile(const std::string &path, bool binary, DWORD access);
    /// Closes the open file and reads how the server ended the transfer.
    Error closeFile();

    TransferOptions m_options;
    InternetHandle m_internet;
    InternetHandle m_connection;
    InternetHandle m_file;
    std::string m_host;
    int m_port = INTERNET_DEFAULT_FTP_PORT;
    std::string m_user;
    std::string m_password;
    bool m_passive = false;
    bool m_connected = false;
    bool m_stale = false; // the connection must be replaced before its next use
    bool m_fileEnded = false;
    std::string m_workingDirectory;
};

} // namespace tollen::transfer
