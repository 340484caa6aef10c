// tollen.exe started as a Windows user starts it, on a desktop of Wine's own with a title bar
// (explorer /desktop=...) on the Xvfb display of the test prefix: its main window lists the
// devices seeded in the system's registry, "Scan" finds the seeded adapter's driver in a
// database served by nginx on loopback, and the screen is photographed for the documentation.
// The test drives the window from outside, as another process: messages to its controls, and
// the list views' rows read through memory of the program's own.

#include "SeededDevicesWindows.h"
#include "TestPlatform.h"
#include "TestServers.h"
#include "core/WideText.h"
#include "ui/win32/SystemHeaders.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <thread>
#include <tlhelp32.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kDesktopWidth = 800;
constexpr int kDesktopHeight = 600;

/// Calls `ready` every tenth of a second until it holds or `timeout` has passed.
bool waitFor(const std::function<bool()> &ready, std::chrono::seconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

/// A message sent to a window of another process, given up on when that process hangs.
LRESULT sendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring windowText(HWND window)
{
    std::wstring text(256, L'\0');
    const auto length =
        sendTo(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

/// The program started on a desktop of its own by Wine's explorer, and its main window once it
/// shows. Both run in a job, so that whatever the test leaves running ends with it. The
/// destructor closes the window as a user does, ends the program should it not end, and then
/// the desktop.
class ProgramOnDesktop
{
public:
    ProgramOnDesktop(const fs::path &program, const std::wstring &desktop)
        : m_desktop(desktop), m_job(CreateJobObjectW(nullptr, nullptr))
    {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(m_job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        std::wstring commandLine =
            L"explorer.exe /desktop=" + desktop + L"," + std::to_wstring(kDesktopWidth) + L"x" +
            std::to_wstring(kDesktopHeight) + L" \"" + program.wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        m_started =
            CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                           nullptr, program.parent_path().c_str(), &startup, &m_explorer);
        if (m_started) {
            AssignProcessToJobObject(m_job, m_explorer.hProcess);
            ResumeThread(m_explorer.hThread);
        }
    }
    ~ProgramOnDesktop()
    {
        if (m_window != nullptr) {
            PostMessageW(m_window, WM_CLOSE, 0, 0);
        }
        if (m_program != nullptr) {
            if (WaitForSingleObject(m_program, 10'000) != WAIT_OBJECT_0) {
                TerminateProcess(m_program, 1);
                WaitForSingleObject(m_program, 5'000);
            }
            CloseHandle(m_program);
        }
        if (m_started) {
            // The desktop goes with the last program on it; should it stay, it is ended.
            if (WaitForSingleObject(m_explorer.hProcess, 5'000) != WAIT_OBJECT_0) {
                TerminateProcess(m_explorer.hProcess, 1);
                WaitForSingleObject(m_explorer.hProcess, 5'000);
            }
            CloseHandle(m_explorer.hThread);
            CloseHandle(m_explorer.hProcess);
        }
        TerminateJobObject(m_job, 1);
        CloseHandle(m_job);
    }
    ProgramOnDesktop(const ProgramOnDesktop &) = delete;
    ProgramOnDesktop &operator=(const ProgramOnDesktop &) = delete;

    bool started() const { return m_started; }

    /// Waits for a shown top-level window titled `title` of the program that explorer started.
    HWND awaitWindow(const std::wstring &title, std::chrono::seconds timeout)
    {
        waitFor([&] { return (m_window = shownWindow(title)) != nullptr; }, timeout);
        return m_window;
    }

    /// The program's process, once it was found.
    HANDLE process() const { return m_program; }

private:
    /// The program explorer started: the process whose parent explorer is.
    DWORD programId() const
    {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        DWORD found = 0;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && found == 0;
             more = Process32NextW(snapshot, &entry)) {
            if (entry.th32ParentProcessID == m_explorer.dwProcessId) {
                found = entry.th32ProcessID;
            }
        }
        CloseHandle(snapshot);
        return found;
    }

    /// The program's shown top-level window titled `title`. Top-level windows are found only
    /// from a thread on their desktop, and a thread that has made no window yet may move there:
    /// the search runs on a thread of its own.
    HWND shownWindow(const std::wstring &title)
    {
        if (m_program == nullptr) {
            m_programId = programId();
            if (m_programId == 0) {
                return nullptr;
            }
            m_program =
                OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_VM_OPERATION |
                                PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                            FALSE, m_programId);
        }
        HWND found = nullptr;
        std::thread([&] {
            const HDESK desktop = OpenDesktopW(m_desktop.c_str(), 0, FALSE, GENERIC_ALL);
            if (desktop == nullptr) {
                return;
            }
            if (SetThreadDesktop(desktop)) {
                for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, title.c_str());
                     window != nullptr && found == nullptr;
                     window = FindWindowExW(nullptr, window, nullptr, title.c_str())) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == m_programId && IsWindowVisible(window)) {
                        found = window;
                    }
                }
            }
            CloseDesktop(desktop);
        }).join();
        return found;
    }

    std::wstring m_desktop;
    HANDLE m_job;
    PROCESS_INFORMATION m_explorer{};
    bool m_started = false;
    DWORD m_programId = 0;
    HANDLE m_program = nullptr;
    HWND m_window = nullptr;
};

/// The controls of `window` (at any depth) of the class `name`, in the order of their creation.
std::vector<HWND> controlsOfClass(HWND window, const std::wstring &name)
{
    struct Search
    {
        const std::wstring &name;
        std::vector<HWND> found;
    } search{name, {}};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto &search = *reinterpret_cast<Search *>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, search.name.c_str()) == 0) {
                search.found.push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND buttonCaptioned(HWND window, const std::wstring &caption)
{
    for (const HWND button : controlsOfClass(window, WC_BUTTONW)) {
        if (windowText(button) == caption) {
            return button;
        }
    }
    return nullptr;
}

/// A list view of another process, read through a buffer in that process's memory: its
/// messages carry pointers, which the system hands over as they are.
class ForeignListView
{
public:
    ForeignListView(HANDLE process, HWND list)
        : m_process(process), m_list(list),
          m_memory(
              VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~ForeignListView()
    {
        if (m_memory != nullptr) {
            VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
        }
    }
    ForeignListView(const ForeignListView &) = delete;
    ForeignListView &operator=(const ForeignListView &) = delete;

    int rowCount() const { return static_cast<int>(sendTo(m_list, LVM_GETITEMCOUNT)); }

    /// The text of column `column` (0 the first) of row `row` (0 the first).
    std::string text(int row, int column) const
    {
        if (m_memory == nullptr) {
            return {};
        }
        auto *remoteText = reinterpret_cast<wchar_t *>(static_cast<char *>(m_memory) + kTextOffset);
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = remoteText;
        item.cchTextMax = kTextLength;
        WriteProcessMemory(m_process, m_memory, &item, sizeof item, nullptr);
        sendTo(m_list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(m_memory));
        std::wstring wide(kTextLength, L'\0');
        ReadProcessMemory(m_process, remoteText, wide.data(), kTextLength * sizeof(wchar_t),
                          nullptr);
        wide.resize(wcsnlen(wide.c_str(), kTextLength));
        return utf8FromWide(wide);
    }

    /// The row whose first column is `text`; -1 when there is none.
    int rowOf(const std::string &text) const
    {
        for (int row = 0; row < rowCount(); ++row) {
            if (this->text(row, 0) == text) {
                return row;
            }
        }
        return -1;
    }

    /// Clicks the first column of `row` as the mouse does.
    bool click(int row) const
    {
        RECT bounds{};
        bounds.left = LVIR_LABEL;
        if (m_memory == nullptr ||
            !WriteProcessMemory(m_process, m_memory, &bounds, sizeof bounds, nullptr) ||
            sendTo(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(m_memory)) == 0 ||
            !ReadProcessMemory(m_process, m_memory, &bounds, sizeof bounds, nullptr)) {
            return false;
        }
        const LPARAM point = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
        return PostMessageW(m_list, WM_LBUTTONDOWN, MK_LBUTTON, point) &&
               PostMessageW(m_list, WM_LBUTTONUP, 0, point);
    }

private:
    /// The item (or rectangle) first, then the text the list view writes.
    static constexpr std::size_t kTextOffset = 256;
    static_assert(sizeof(LVITEMW) <= kTextOffset);
    static constexpr int kTextLength = 1024;
    static constexpr std::size_t kSize = kTextOffset + kTextLength * sizeof(wchar_t);

    HANDLE m_process;
    HWND m_list;
    void *m_memory;
};

/// A driver database with one package for `hardwareId` and its device without the subsystem:
/// the index that a query of the device reads, as tollen-index writes it.
void writeDatabase(const fs::path &folder, const std::string &hardwareId,
                   const std::string &deviceId)
{
    std::string index;
    for (const std::string &id : {deviceId, hardwareId}) {
        index += "Folder\"Seeded Devices Ltd.\"Seeded Network Adapter\"" + id +
                 "\"Net\"NTamd64\"2.1.0.7\"05/04/2026\"/seeded/seeded-net.inf\r\n";
    }
    const std::string vendor = deviceId.substr(4, 8);
    const std::string device = deviceId.substr(13);
    writeFile(folder / "DIRSTRUCT" / "pci" / vendor / device / "index.txt", index);
}

std::wstring desktopName()
{
    std::random_device random;
    return L"TollenSmoke" + std::to_wstring(random() % 1'000'000);
}

TEST(WindowsMainWindow, ListsTheSeededDevicesAndScanFindsTheirDriverOverNginx)
{
    const TemporaryFolder folder;
    const std::vector<SeededDevice> devices = {
        {"PCI",
         "1041&SUBSYS_11001AF4&REV_01",
         "3&11583659&0&10",
         {R"("DeviceDesc"="@net.inf,%adapter%;Seeded Network Adapter")"}},
        {"USB", "0302", "5&1&0&1", {R"("DeviceDesc"="Seeded Input Device")"}},
    };
    const SeededDevices seeded(folder.path(), devices);
    ASSERT_TRUE(seeded.seeded());
    const std::string adapterId = "PCI\\" + seeded.hardwareId(devices[0]);
    const std::string inputId = "USB\\" + seeded.hardwareId(devices[1]);
    const std::string adapterDevice = adapterId.substr(0, adapterId.find("&SUBSYS_"));

    writeDatabase(folder.path() / "db", adapterId, adapterDevice);
    const NginxServer nginx(folder.path() / "db");

    // The program in a folder of its own, its settings file beside it naming the server.
    fs::create_directories(folder.path() / "bin");
    const fs::path program = folder.path() / "bin" / "tollen.exe";
    fs::copy_file(TOLLEN_GUI_PROGRAM, program);
    writeFile(folder.path() / "bin" / "sorrel.ini",
              "0\r\n" + nginx.url() + "\r\n\r\n/\r\nanonymous\r\nguest\r\n");

    ProgramOnDesktop tollen(program, desktopName());
    ASSERT_TRUE(tollen.started());
    const HWND window = tollen.awaitWindow(L"Tollen v1.0", 20s);
    ASSERT_NE(window, nullptr) << "no window titled \"Tollen v1.0\"";
    ASSERT_NE(tollen.process(), nullptr);

    // The installed hardware above the results: the list views in the order they were made.
    const std::vector<HWND> lists = controlsOfClass(window, WC_LISTVIEWW);
    ASSERT_EQ(lists.size(), 2U);
    const ForeignListView devicesList(tollen.process(), lists[0]);
    const ForeignListView resultsList(tollen.process(), lists[1]);
    ASSERT_TRUE(waitFor([&] { return devicesList.rowOf(inputId) >= 0; }, 20s))
        << "the device list has " << devicesList.rowCount() << " rows, none " << inputId;
    const int adapterRow = devicesList.rowOf(adapterId);
    ASSERT_GE(adapterRow, 0);
    EXPECT_EQ(devicesList.text(adapterRow, 1), "Seeded Network Adapter");
    EXPECT_EQ(devicesList.text(devicesList.rowOf(inputId), 1), "Seeded Input Device");

    // The adapter chosen with the mouse: its criteria replace the first device's, the device
    // without its subsystem chosen, and "Scan" looks that up.
    const std::vector<HWND> listBoxes = controlsOfClass(window, WC_LISTBOXW);
    ASSERT_FALSE(listBoxes.empty());
    const HWND criteria = listBoxes.front();
    const auto chosenCriterion = [&] {
        const auto index = sendTo(criteria, LB_GETCURSEL);
        std::wstring text(512, L'\0');
        if (index < 0 || sendTo(criteria, LB_GETTEXTLEN, static_cast<WPARAM>(index)) >= 512) {
            return std::string();
        }
        const auto length = sendTo(criteria, LB_GETTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
        return utf8FromWide(text);
    };
    ASSERT_TRUE(devicesList.click(adapterRow));
    ASSERT_TRUE(waitFor([&] { return chosenCriterion() == adapterDevice; }, 20s))
        << "the chosen criterion is \"" << chosenCriterion() << "\"";

    const HWND scan = buttonCaptioned(window, L"Scan");
    ASSERT_NE(scan, nullptr);
    PostMessageW(scan, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor([&] { return resultsList.rowCount() > 0; }, 30s)) << "no result rows";
    // One row for each of the package's two IDs, both naming the adapter.
    std::vector<std::string> hardwareIds;
    for (int row = 0; row < resultsList.rowCount(); ++row) {
        EXPECT_EQ(resultsList.text(row, 1), "Seeded Network Adapter");
        hardwareIds.push_back(resultsList.text(row, 2));
    }
    std::sort(hardwareIds.begin(), hardwareIds.end());
    EXPECT_EQ(hardwareIds, (std::vector<std::string>{adapterDevice, adapterId}));

    // The photograph, from the Linux side of the display: painted first, then taken.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    sendTo(window, WM_NULL);
    std::this_thread::sleep_for(300ms);
    const char *display = std::getenv("DISPLAY");
    ASSERT_NE(display, nullptr) << "the test prefix's wineserver has no display";
    // The build folder's name is the Linux one, which Wine's Z: drive shows as it is.
    const std::string screenshot =
        std::string(TOLLEN_BINARY_DIR) + "/screenshots/main-window-windows.png";
    fs::create_directories(fs::path(screenshot).parent_path());
    fs::remove(screenshot);
    const std::string size = std::to_string(kDesktopWidth) + "x" + std::to_string(kDesktopHeight);
    EXPECT_EQ(runProgram({"import", "-display", display, "-window", "root", "-crop", size + "+0+0",
                          "+repage", screenshot}),
              0);
    EXPECT_GT(fs::exists(screenshot) ? fs::file_size(screenshot) : 0U, 1000U);
}

} // namespace
} // namespace tollen::testing
