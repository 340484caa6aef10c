// tollen-cli.exe run as a user runs it on Windows (under Wine): arguments and paths outside the
// code page, searches of the demo database over a loopback nginx and as a file: tree, and the
// match of devices seeded in the system's registry, whose rows must be those the Linux build's
// program gives for the same devices in an export, and the fetch of a machine's drivers, whose
// archives this build keeps as they came. (The window's test lists seeded devices too.)

#include "RegistryText.h"
#include "SeededDevicesWindows.h"
#include "TestPlatform.h"
#include "TestServers.h"
#include "core/WideText.h"
#include "ui/DemoDatabase.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>
#include <windows.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kDemoDatabase = TOLLEN_DEMO_DATABASE;
const fs::path kLinuxProgram = TOLLEN_LINUX_CLI_PROGRAM;

struct ProgramRun
{
    int code = -1;
    std::string output;
    std::string error;
};

/// `argument` quoted for CommandLineToArgvW and the C runtime's parser.
std::wstring quoted(const std::wstring &argument)
{
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t character : argument) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += character;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

HANDLE inheritableFile(const fs::path &file)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

/// Runs the Windows program `program` with `arguments` in `folder`, its output in files there.
ProgramRun runWindowsProgram(const fs::path &program, const std::vector<std::string> &arguments,
                             const fs::path &folder)
{
    std::wstring commandLine = quoted(program.wstring());
    for (const std::string &argument : arguments) {
        commandLine += L" " + quoted(wideFromUtf8(argument));
    }
    const HANDLE output = inheritableFile(folder / "out.txt");
    const HANDLE error = inheritableFile(folder / "err.txt");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    ProgramRun run;
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       folder.c_str(), &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 120'000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            run.code = static_cast<int>(code);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(output);
    CloseHandle(error);
    run.output = readFile(folder / "out.txt");
    run.error = readFile(folder / "err.txt");
    return run;
}

/// The lines of a program's output, without the carriage returns of Windows' text mode.
std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

/// tollen-cli.exe in a folder of its own with a settings file beside it, so that nothing of the
/// machine's own settings reaches the runs.
class WindowsCliProgram : public ::testing::Test
{
protected:
    WindowsCliProgram()
    {
        fs::create_directories(m_folder.path() / "bin");
        fs::copy_file(TOLLEN_CLI_PROGRAM, program());
        writeFile(m_folder.path() / "bin" / "sorrel.ini",
                  "0\r\nhttp://127.0.0.1:9/\r\n\r\n/\r\nanonymous\r\nguest\r\n");
    }

    fs::path program() const { return m_folder.path() / "bin" / "tollen-cli.exe"; }
    ProgramRun run(const std::vector<std::string> &arguments) const
    {
        return runWindowsProgram(program(), arguments, m_folder.path());
    }

    TemporaryFolder m_folder;
};

TEST_F(WindowsCliProgram, ArgumentsAndPathsOutsideTheCodePageArriveWhole)
{
    // A profile in a folder whose name no ANSI code page holds, saved and listed again.
    const fs::path folder = m_folder.path() / L"Profile \u00FC\u20AC\u4E2D";
    fs::create_directories(folder);
    writeFile(folder / L"ger\u00E4te.hwp",
              "PCI\\VEN_8086&DEV_100E\r\nNetzwerkkarte \xE2\x82\xAC\r\n");
    const std::string profile = utf8FromWide((folder / L"ger\u00E4te.hwp").wstring());
    const ProgramRun listed = run({"devices", profile, "--format", "tsv"});
    ASSERT_EQ(listed.code, 0) << listed.error;
    EXPECT_NE(withoutCarriageReturns(listed.output)
                  .find("PCI\\VEN_8086&DEV_100E\tNetzwerkkarte \xE2\x82\xAC\tunknown\t"),
              std::string::npos)
        << listed.output;

    const ProgramRun missing = run({"devices", utf8FromWide((folder / L"fehlt.hwp").wstring())});
    EXPECT_NE(missing.code, 0);
    EXPECT_NE(missing.error.find("fehlt.hwp: no such file"), std::string::npos) << missing.error;
    EXPECT_NE(missing.error.find("Profile \xC3\xBC\xE2\x82\xAC\xE4\xB8\xAD"), std::string::npos)
        << missing.error;
}

/// Runs the Linux build's tollen-cli with `arguments`; its output.
std::optional<std::string> runLinuxProgram(const fs::path &folder,
                                           const std::vector<std::string> &arguments)
{
    const fs::path output = folder / "linux-out.txt";
    std::vector<std::string> command = {"/bin/sh",
                                        "-c",
                                        "out=$1; shift; exec \"$@\" > \"$out\"",
                                        "sh",
                                        serverPath(output),
                                        kLinuxProgram.generic_string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    if (runProgram(command) != 0) {
        return std::nullopt;
    }
    return readFile(output);
}

/// Why the Windows program's results cannot be compared with the Linux build's: no demo database
/// or no Linux program; nothing when they can.
std::optional<std::string> missingComparison()
{
    if (!fs::is_directory(kDemoDatabase / "DIRSTRUCT")) {
        return "no demo database at " + kDemoDatabase.string() +
               ": build it on Linux (build/data/demo-db) and give its folder as "
               "TOLLEN_DEMO_DATABASE";
    }
    if (!fs::exists(kLinuxProgram)) {
        return "no Linux tollen-cli at " + kLinuxProgram.string() +
               " to compare with: build it, or give it as TOLLEN_LINUX_CLI_PROGRAM";
    }
    return std::nullopt;
}

TEST_F(WindowsCliProgram, SearchGivesTheRowsOfTheLinuxBuildOverNginxAndAsAFileTree)
{
    if (const auto missing = missingComparison()) {
        GTEST_SKIP() << *missing;
    }
    const NginxServer nginx(kDemoDatabase);
    const std::vector<std::string> query = {"search", R"(PCI\VEN_1AF4&DEV_1041)", "--format",
                                            "tsv"};
    std::vector<std::string> overNginx = query;
    overNginx.insert(overNginx.end(), {"--http", nginx.url()});
    const auto linux = runLinuxProgram(m_folder.path(), overNginx);
    ASSERT_TRUE(linux);
    ASSERT_NE(linux->find("VEN_1AF4"), std::string::npos) << *linux;

    const ProgramRun windowsOverNginx = run(overNginx);
    ASSERT_EQ(windowsOverNginx.code, 0) << windowsOverNginx.error;
    EXPECT_EQ(withoutCarriageReturns(windowsOverNginx.output), *linux);

    std::vector<std::string> asFiles = query;
    asFiles.insert(asFiles.end(), {"--http", ui::fileUrl(kDemoDatabase)});
    const ProgramRun windowsAsFiles = run(asFiles);
    ASSERT_EQ(windowsAsFiles.code, 0) << windowsAsFiles.error;
    EXPECT_EQ(withoutCarriageReturns(windowsAsFiles.output), *linux);
}

/// The heading line and the lines that hold `text`.
std::string linesHolding(const std::string &output, const std::string &text)
{
    std::istringstream lines(withoutCarriageReturns(output));
    std::string kept;
    std::string line;
    for (bool heading = true; std::getline(lines, line); heading = false) {
        if (heading || line.find(text) != std::string::npos) {
            kept += line + "\n";
        }
    }
    return kept;
}

TEST_F(WindowsCliProgram, MatchOfDevicesSeededInTheRegistryGivesTheLinuxBuildsResults)
{
    if (const auto missing = missingComparison()) {
        GTEST_SKIP() << *missing;
    }
    // Two adapters of the seeding's own vendor that the demo database knows by a compatible ID:
    // one with a driver installed (its key under Control\Class, older than the database's), one
    // without a driver.
    const std::string driverClass = "{7e57da7a-0000-0000-0000-" +
                                    std::to_string(100000000000 + std::random_device()() % 1000) +
                                    "}";
    const std::string driverKey = driverClass + "\\0000";
    const std::vector<std::string> ids = {
        "\"HardwareID\"=" + regMultiString({"PCI\\VEN_0000&DEV_0000&SUBSYS_00000000"}),
        "\"CompatibleIDs\"=" + regMultiString({"PCI\\VEN_1AF4&DEV_1041", "PCI\\VEN_1AF4"})};
    std::vector<std::string> installed = ids;
    installed.insert(installed.end(), {R"("DeviceDesc"="Seeded adapter with a driver")",
                                       "\"Driver\"=\"" + driverClass + "\\\\0000\""});
    std::vector<std::string> driverless = ids;
    driverless.push_back(R"("DeviceDesc"="Seeded adapter without a driver")");
    const std::vector<SeededDevice> devices = {
        {"PCI", "0001&SUBSYS_00000000&REV_00", "3&1&0&1", installed},
        {"PCI", "0002&SUBSYS_00000000&REV_00", "3&1&0&2", driverless}};
    const std::string classKey = "SYSTEM\\CurrentControlSet\\Control\\Class\\" + driverKey;
    const std::vector<std::string> driverValues = {
        R"("DriverDesc"="Seeded driver")", R"("ProviderName"="Seeder")",
        R"("DriverVersion"="1.0.0.0")",    R"("DriverDate"="1-1-2001")",
        R"("InfPath"="oem9.inf")",         R"("MatchingDeviceId"="pci\\ven_1af4&dev_1041")"};
    const SeededDevices seeded(m_folder.path(), devices, {{classKey, driverValues}});
    ASSERT_TRUE(seeded.seeded());

    // The same devices in an export of a SYSTEM hive, for the Linux program.
    std::string exported = "Windows Registry Editor Version 5.00\r\n";
    const auto addKey = [&](const std::string &path, const std::vector<std::string> &values) {
        exported += "\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\" + path + "]\r\n";
        for (const std::string &value : values) {
            exported += value + "\r\n";
        }
    };
    for (const SeededDevice &device : devices) {
        addKey("Enum\\PCI\\" + seeded.hardwareId(device) + "\\" + device.instance, device.values);
    }
    addKey("Control\\Class\\" + driverKey, driverValues);
    writeFile(m_folder.path() / "machine.reg", exported);

    const NginxServer nginx(kDemoDatabase);
    const std::vector<std::string> options = {"--format", "tsv",   "--http", nginx.url(),
                                              "--arch",   "amd64", "--os",   "10.0"};
    std::vector<std::string> linuxMatch = {"match", serverPath(m_folder.path() / "machine.reg")};
    linuxMatch.insert(linuxMatch.end(), options.begin(), options.end());
    const auto linux = runLinuxProgram(m_folder.path(), linuxMatch);
    ASSERT_TRUE(linux);
    ASSERT_NE(linux->find("\tupdate\t"), std::string::npos) << *linux;
    ASSERT_NE(linux->find("\tnew\t"), std::string::npos) << *linux;

    std::vector<std::string> windowsMatch = {"match"};
    windowsMatch.insert(windowsMatch.end(), options.begin(), options.end());
    const ProgramRun windows = run(windowsMatch);
    const std::string vendor = seeded.hardwareId(devices[0]).substr(0, 8);
    EXPECT_EQ(linesHolding(windows.output, vendor), *linux) << windows.error;
}

TEST_F(WindowsCliProgram, FetchCopiesFolderPackagesWholeAndKeepsArchivesAsTheyCame)
{
    const fs::path profile = m_folder.path() / "machine.hwp";
    writeFile(profile, "PCI\\VEN_1AF4&DEV_1041&SUBSYS_11001AF4&REV_01\r\nVirtio adapter\r\n"
                       "PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02\r\nGigabit adapter\r\n");
    const fs::path drivers = m_folder.path() / "drivers";
    const NginxServer nginx(kDemoDatabase);
    const ProgramRun fetched =
        run({"fetch", utf8FromWide(profile.wstring()), "--to", utf8FromWide(drivers.wstring()),
             "--all", "--arch", "amd64", "--format", "tsv", "--http", nginx.url()});
    ASSERT_EQ(fetched.code, 0) << fetched.error << fetched.output;
    EXPECT_NE(fetched.output.find("kept as it came"), std::string::npos) << fetched.output;

    // Every file of the folder package, and the archive itself, arrived byte for byte.
    std::map<std::string, std::string> arrived;
    for (const auto &entry : fs::recursive_directory_iterator(drivers)) {
        if (entry.is_regular_file()) {
            arrived[entry.path().filename().string()] = readFile(entry.path());
        }
    }
    for (const fs::path &file :
         {kDemoDatabase / "virtio/tollen-viomisc.inf", kDemoDatabase / "virtio/tollen-vionet.inf",
          kDemoDatabase / "virtio/tollen-viostor.inf", kDemoDatabase / "network/pro1000.zip"}) {
        EXPECT_EQ(arrived[file.filename().string()], readFile(file)) << file;
    }
    EXPECT_NE(arrived["tollen-fetch.json"].find("pro1000.zip"), std::string::npos);
}

} // namespace
} // namespace tollen::testing
