// Times the database query from the "Scan" click to the results list shown with every row, for
// index files of 100 KB, 1,000,000 bytes and 10 MB served by loopback nginx and vsftpd: through
// the main window on headless controls and on the Qt controls (offscreen platform, the list view
// drawn), next to `curl -o` fetching the same file in the same run. Each query runs in a child
// process of its own; each figure is the best of a few runs. The query asks for a file above
// 1,000,000 bytes first: the benchmark answers Yes at once, so the figures are the program's
// time, not the user's. Prints times, rows per second, the ratio to curl and the processor time
// of the query's own process (the servers' work is not in it); the last line is the slowest
// 1,000,000-byte query.
//
//   tollen_query_benchmark

#include "ChildRun.h"
#include "TestServers.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"
#include "ui/qt/QtForm1.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tollen;

constexpr int kRepeats = 3;
const char *const kQuery = R"(PCI\VEN_8086&DEV_1502)";
const char *const kIndexFolder = "DIRSTRUCT/pci/VEN_8086/DEV_1502";

/// Dialogs that answer the question about files above 1,000,000 bytes with Yes at once.
class AnswerYes : public controls::HeadlessDialogs
{
public:
    int messageBox(const std::string &, controls::MessageButtons,
                   const std::optional<std::string> &) override
    {
        return controls::kAnswerYes;
    }
};

struct IndexFile
{
    const char *name;
    std::size_t bytes;
};
constexpr IndexFile kFiles[] = {{"100 KB", 100'000}, {"1 MB", 1'000'000}, {"10 MB", 10'000'000}};

/// Index lines as a large database holds them for one device: many subsystems (so the
/// refinement list fills too), the decorations of the table and some it does not know.
std::string indexText(std::size_t bytes)
{
    static const char *const decorations[] = {"NTAMD64.6.1", "ntx86.6.1", "NTAMD64.10.0",
                                              "NTARM64",     "NTX86.5.1", "NTAMD64.6.3"};
    std::string text;
    for (unsigned line = 0; text.size() < bytes; ++line) {
        char buffer[320];
        const int length = std::snprintf(
            buffer, sizeof buffer,
            "%s\"Intel\"Intel(R) 82579LM Gigabit Network Connection\"PCI\\VEN_8086&DEV_1502&"
            "SUBSYS_%04X%04X&REV_%02X\"Net\"%s\"12.%u.%u.0\"%02u/%02u/20%02u\"/drivers/intel/"
            "e1c/%05u/e1c%s\r\n",
            line % 3 == 0 ? "Archived" : "Folder", 0x1000 + line % 2000, 0x8086 + line % 7,
            line % 5, decorations[line % 6], line % 20, line % 100, line % 12 + 1, line % 28 + 1,
            line % 20, line, line % 3 == 0 ? ".zip" : "62x64.inf");
        text.append(buffer, static_cast<std::size_t>(length));
    }
    // Cut back to the last whole line, then pad that line's path to the exact size.
    text.resize(text.rfind("\r\n", bytes - 2) + 2);
    text.insert(text.size() - 2, std::string(bytes - text.size(), 'x'));
    return text;
}

std::size_t lineCount(const std::string &text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
}

/// One query from the "Scan" click; prints the seconds until the list shows every row. `settle`
/// lets a window on the screen draw itself first, `shown` lets it draw the filled list.
int query(ui::Form1Controls controls, const std::string &protocol, const std::string &host,
          int rows, const std::function<void()> &settle, const std::function<void()> &shown,
          const std::function<void()> &click)
{
    ui::Form1 form(controls, ui::Form1Startup{});
    form.Form_Load();
    controls.Option1.select(protocol == "ftp" ? 1 : 0);
    controls.host.setText(host);
    controls.path.setText("/");
    controls.user.setText("anonymous");
    controls.pass.setText("guest");
    controls.List1.addItem(kQuery);
    controls.List1.select(0);
    settle();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    click();
    shown();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("%.6f %.6f\n", elapsed.count(), cpu);
    if (controls.ListView2.rowCount() != rows || !controls.ListView2.isVisible()) {
        std::fprintf(stderr, "query listed %d rows of %d: %s\n", controls.ListView2.rowCount(),
                     rows, controls.Label5.caption().c_str());
        return 1;
    }
    return 0;
}

int runChild(int argc, char **argv)
{
    const std::string face = argv[2];
    const std::string protocol = argv[3];
    const std::string host = argv[4];
    const int rows = std::atoi(argv[5]);
    AnswerYes dialogs;
    if (face == "qt") {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QApplication application(argc, argv);
        ui::qt::QtForm1 w;
        const ui::Form1Controls controls = ui::Form1Controls::of(w, dialogs);
        w.window.show();
        const auto drawAll = [] {
            QApplication::sendPostedEvents();
            QApplication::processEvents();
        };
        return query(controls, protocol, host, rows, drawAll, drawAll,
                     [&] { w.Command1.widget()->click(); });
    }
    ui::HeadlessForm1 form;
    const ui::Form1Controls scripted = ui::Form1Controls::of(form, dialogs);
    return query(
        scripted, protocol, host, rows, [] {}, [] {}, [&] { form.Command1.onClick(); });
}

struct Run
{
    double seconds = 0;
    /// The processor time the measured work took, where the program reports it.
    double cpuSeconds = 0;
    bool ok = false;
};

/// Runs a program whose first output line holds the time and processor time it measured.
Run runMeasured(const std::vector<std::string> &arguments)
{
    const bench::ChildRun child = bench::runChild(arguments);
    Run run;
    char *rest = nullptr;
    run.seconds = std::strtod(child.output.c_str(), &rest);
    run.cpuSeconds = std::strtod(rest, nullptr);
    run.ok = child.ok;
    return run;
}

Run best(const std::vector<std::string> &arguments)
{
    Run fastest;
    for (int i = 0; i < kRepeats; ++i) {
        const Run run = runMeasured(arguments);
        if (!run.ok) {
            return run;
        }
        if (!fastest.ok || run.seconds < fastest.seconds) {
            fastest = run;
        }
    }
    return fastest;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 6 && std::string(argv[1]) == "--child") {
        return runChild(argc, argv);
    }
    testing::TemporaryFolder folder;
    // The queries keep their local copies in this run's folder, under the benchmark's own.
    setenv("TEMP", folder.path().c_str(), 1);
    const std::string self = fs::canonical("/proc/self/exe").string();
    const fs::path download = folder.path() / "curl-copy.txt";

    std::printf("Query from the Scan click to the filled results list, best of %d runs each\n",
                kRepeats);
    double worst = 0;
    bool allOk = true;
    for (const IndexFile &file : kFiles) {
        const fs::path root = folder.path() / (std::string("root-") + std::to_string(file.bytes));
        const std::string text = indexText(file.bytes);
        testing::writeFile(root / kIndexFolder / "index.txt", text);
        const auto rows = static_cast<int>(lineCount(text));
        testing::NginxServer nginx(root);
        testing::VsftpServer vsftpd(root);
        struct Server
        {
            const char *name;
            std::string protocol;
            std::string host;
            std::string curlUrl;
        };
        const Server servers[] = {
            {"nginx ", "http", nginx.url(), nginx.url() + "/" + kIndexFolder + "/index.txt"},
            {"vsftpd", "ftp", vsftpd.host(),
             "ftp://anonymous:guest@" + vsftpd.host() + "/" + kIndexFolder + "/index.txt"}};
        std::printf("%s index file (%zu bytes, %d rows)\n", file.name, file.bytes, rows);
        for (const Server &server : servers) {
            const Run curl = best({"/usr/bin/curl", "-s", "-w", "%{time_total}\n", "-o",
                                   download.string(), server.curlUrl});
            allOk = allOk && curl.ok;
            std::printf("  %s curl -o     %8.1f ms\n", server.name, curl.seconds * 1000);
            for (const char *face : {"headless", "qt"}) {
                const Run run = best(
                    {self, "--child", face, server.protocol, server.host, std::to_string(rows)});
                allOk = allOk && run.ok;
                const double ms = run.seconds * 1000;
                if (file.bytes == 1'000'000) {
                    worst = std::max(worst, ms);
                }
                std::printf(
                    "  %s %-10s %8.1f ms  %9.0f rows/s  %6.1fx curl  (processor %.1f ms)%s\n",
                    server.name, face, ms, run.seconds > 0 ? rows / run.seconds : 0,
                    curl.seconds > 0 ? run.seconds / curl.seconds : 0, run.cpuSeconds * 1000,
                    run.ok ? "" : "  FAILED");
            }
        }
    }
    std::printf("worst ms (1 MB): %.1f\n", worst);
    return allOk ? 0 : 1;
}
