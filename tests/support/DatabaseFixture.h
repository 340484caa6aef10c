#pragma once
// What the tests of the database query share: driver databases written at test time as real
// /DIRSTRUCT/ trees, the main window's network settings pointed at a server of each kind, and a
// temporary directory of the test program's own for the query's local copy.

#include "TestServers.h"
#include "ui/HeadlessForm1.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tollen::testing {

/// A line of an index file with the nine fields in the file's order: type, manufacturer,
/// device name, hardware ID, class, decoration, version, date, remote path.
std::string indexLine(const std::vector<std::string> &fields);

/// Writes the index file of `directory` (below DIRSTRUCT, such as "pci/VEN_8086"), each line
/// ended by CR LF.
void writeIndex(const std::filesystem::path &root, const std::string &directory,
                const std::vector<std::string> &lines);

/// The query's local copy in this run's folder (the folder is made if need be).
std::filesystem::path localIndexCopy();

/// The database of a network card with two subsystems, a USB receiver and an HD-audio codec:
///   pci/VEN_8086: two rows (DEV_100E, DEV_10D3);
///   pci/VEN_8086/DEV_100E: four rows (SUBSYS_002E8086 twice, SUBSYS_001E8086, and a hardware
///     ID in lower case), decorations tabled, mixed case and unknown;
///   pci/VEN_8086/DEV_100E/SUBSYS_002E8086: one row;
///   usb/VID_046D: two rows (PID_C52B, PID_C534); usb/VID_046D/PID_C52B: one row;
///   hdaudio/FUNC_01/VEN_10EC/DEV_0662: one row.
void writeSampleDatabase(const std::filesystem::path &root);

/// A server of one kind serving a database root: nginx, vsftpd, or the disk through a file:
/// URL with the HTTP choice.
class DatabaseServer
{
public:
    enum class Kind { Http, Ftp, File };

    DatabaseServer(Kind kind, const std::filesystem::path &root);

    /// Sets the window's protocol choice, host, base path, user and password for this server.
    void choose(ui::HeadlessForm1 &controls) const;
    Kind kind() const { return m_kind; }
    /// nginx's request lines, once at least `count` are logged (or after a few seconds); empty
    /// for the other kinds.
    std::vector<std::string> requests(std::size_t count = 0) const;
    /// vsftpd's log and the logins in it; empty for the other kinds.
    std::string ftpLog() const;
    int ftpLogins() const;

private:
    Kind m_kind;
    std::filesystem::path m_root;
    std::unique_ptr<NginxServer> m_nginx;
    std::unique_ptr<VsftpServer> m_vsftpd;
};

const char *kindName(DatabaseServer::Kind kind);

} // namespace tollen::testing
