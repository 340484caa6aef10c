// Soak run: 1,000 database queries (from the "Scan" click to the filled results list) and 100
// driver downloads in one process, half of each against loopback nginx and half against
// vsftpd, on the main window's headless controls. Prints the resident memory and the open file
// descriptors at the start (after a warm-up of 20 queries and 10 downloads that lets the
// allocator and the libraries make what they keep for good), halfway and at the end. It fails when
// memory grew by 1 MB or more, when a descriptor was left open, or when any query or download
// failed.
//
//   tollen_soak_benchmark [QUERIES DOWNLOADS]

#include "TestServers.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"
#include "ui/TransferRoutines.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace tollen;

const char *const kQuery = R"(PCI\VEN_8086&DEV_1502)";
const char *const kIndexFolder = "DIRSTRUCT/pci/VEN_8086/DEV_1502";
constexpr int kIndexRows = 400;
constexpr std::size_t kDriverBytes = 2 * 1024 * 1024;

struct Usage
{
    long residentKilobytes = 0;
    long descriptors = 0;
};

Usage usage()
{
    Usage now;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            now.residentKilobytes = std::atol(line.c_str() + 6);
        }
    }
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator("/proc/self/fd")) {
        ++now.descriptors;
    }
    // The iterator's own descriptor was counted too.
    --now.descriptors;
    return now;
}

std::string indexText()
{
    std::string text;
    for (int line = 0; line < kIndexRows; ++line) {
        char buffer[256];
        const int length = std::snprintf(
            buffer, sizeof buffer,
            "Archived\"Intel\"Intel(R) 82579LM\"PCI\\VEN_8086&DEV_1502&SUBSYS_%04X8086&REV_04\""
            "Net\"NTAMD64.6.1\"12.%d.0.0\"01/02/2020\"/drivers/e1c/%05d/e1c.zip\r\n",
            0x1000 + line, line % 20, line);
        text.append(buffer, static_cast<std::size_t>(length));
    }
    return text;
}

/// The main window, loaded, with one server chosen and the criterion selected.
class Window
{
public:
    Window() : m_form(m_headless.controls(), ui::Form1Startup{})
    {
        m_form.Form_Load();
        m_headless.List1.addItem(kQuery);
        m_headless.List1.select(0);
    }

    void choose(bool ftp, const std::string &host)
    {
        m_headless.Option1.select(ftp ? 1 : 0);
        m_headless.host.setText(host);
        m_headless.path.setText("/");
        m_headless.user.setText("anonymous");
        m_headless.pass.setText("guest");
    }

    bool query()
    {
        m_headless.Command1.onClick();
        return m_headless.ListView2.rowCount() == kIndexRows && m_headless.window.isEnabled();
    }

    bool download(const fs::path &destination)
    {
        std::string strurl = "/drivers/driver.zip";
        std::string strdestination = destination.string();
        return m_routines.DownloadFile(strurl, strdestination) == 1 &&
               fs::file_size(destination) == kDriverBytes;
    }

private:
    ui::HeadlessForm1 m_headless;
    ui::Form1 m_form;
    transfer::cFTP m_q;
    transfer::Inet m_inet;
    ui::TransferRoutines m_routines{m_q, m_inet, m_headless.controls()};
};

} // namespace

int main(int argc, char **argv)
{
    const int queries = argc >= 3 ? std::atoi(argv[1]) : 1000;
    const int downloads = argc >= 3 ? std::atoi(argv[2]) : 100;
    // glibc raises its mapping threshold when a large block is freed, and from then on keeps
    // freed download buffers (1 MB each) in the heap: resident memory then rises by some 2.5 MB
    // once, whether after 40 queries or after 1,000. A fixed threshold makes the figures show
    // what the program holds rather than what the allocator keeps for reuse.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    testing::TemporaryFolder folder;
    // The queries keep their local copies in this run's folder, under the benchmark's own.
    setenv("TEMP", folder.path().c_str(), 1);
    const fs::path root = folder.path() / "root";
    testing::writeFile(root / kIndexFolder / "index.txt", indexText());
    testing::writeFile(root / "drivers/driver.zip", testing::patternBytes(kDriverBytes));
    const fs::path local = folder.path() / "driver.zip";
    testing::NginxServer nginx(root);
    testing::VsftpServer vsftpd(root);
    Window window;

    int failures = 0;
    const auto round = [&](int count, bool downloading) {
        for (int i = 0; i < count; ++i) {
            const bool ftp = i % 2 == 1;
            window.choose(ftp, ftp ? vsftpd.host() : nginx.url());
            failures += (downloading ? window.download(local) : window.query()) ? 0 : 1;
        }
    };
    // The warm-up lets libcurl and the libraries make what they keep for good.
    for (int turn = 0; turn < 2; ++turn) {
        round(10, false);
        round(5, true);
    }
    const Usage start = usage();
    round(queries / 2, false);
    round(downloads / 2, true);
    const Usage middle = usage();
    round(queries - queries / 2, false);
    round(downloads - downloads / 2, true);
    const Usage end = usage();

    const long grown = end.residentKilobytes - start.residentKilobytes;
    const long leaked = end.descriptors - start.descriptors;
    std::printf("Soak: %d queries and %d downloads of %zu bytes, half on nginx, half on vsftpd\n",
                queries, downloads, kDriverBytes);
    std::printf("%-22s %10s %10s %10s\n", "", "start", "halfway", "end");
    std::printf("%-22s %10ld %10ld %10ld\n", "resident memory (kB)", start.residentKilobytes,
                middle.residentKilobytes, end.residentKilobytes);
    std::printf("%-22s %10ld %10ld %10ld\n", "open descriptors", start.descriptors,
                middle.descriptors, end.descriptors);
    std::printf("growth: %ld kB, %ld descriptors; failed operations: %d\n", grown, leaked,
                failures);
    return grown < 1024 && leaked <= 0 && failures == 0 ? 0 : 1;
}
