// Times `tollen-cli match` of a 60-device SYSTEM export against two databases served by loopback
// nginx: the demo database of the build tree, and one that tollen-index builds from 10,000
// generated INF files (40 vendors, each device in many versions and for several systems, so a
// vendor's index holds thousands of rows). Next to each run, `curl` fetches the same index files
// the match asked for (read from nginx's log) in one run over one connection: the cost of the
// transfers alone. Each figure is the best of a few runs. Prints the seconds, the number of index
// files fetched and the ratio to curl; the last line reads
// "match seconds (60 devices, 10,000 INFs): X".
//
//   tollen_match_benchmark

#include "ChildRun.h"
#include "RegistryText.h"
#include "TestPlatform.h"
#include "TestServers.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tollen::bench::ChildRun;
using tollen::bench::runChild;

constexpr int kInfFiles = 10000;
constexpr int kVendors = 40;
constexpr int kDevicesPerVendor = 25;
constexpr int kMachineDevices = 60;
constexpr int kRepeats = 3;

std::string hex4(int number)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", number & 0xFFFF);
    return text;
}

int vendorOf(int vendorNumber)
{
    return 0x1000 + vendorNumber * 0x111;
}

/// INF number n: one driver version of vendor n % 40 for five of its devices, decorated for
/// x86 and amd64 as real packages are.
std::string makeInf(int number)
{
    const int vendor = vendorOf(number % kVendors);
    std::string models;
    for (int device = 0; device < 5; ++device) {
        const int deviceId = 0x100 + (number / kVendors + device) % kDevicesPerVendor;
        const std::string id = "PCI\\VEN_" + hex4(vendor) + "&DEV_" + hex4(deviceId);
        models += "%Device% = Install, " + id + "&SUBSYS_0001" + hex4(vendor) + ", " + id + "\r\n";
    }
    return "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\nClass=Net\r\n"
           "ClassGuid={4d36e972-e325-11ce-bfc1-08002be10318}\r\nProvider=%Maker%\r\nDriverVer=" +
           std::to_string(1 + number % 12) + "/" + std::to_string(1 + number % 28) + "/20" +
           std::to_string(10 + number % 14) + "," + std::to_string(number % 30) + ".0." +
           std::to_string(number) +
           ".0\r\n\r\n[Manufacturer]\r\n%Maker% = Models, NTx86, "
           "NTamd64.6.1\r\n\r\n[Models.NTx86]\r\n" +
           models + "\r\n[Models.NTamd64.6.1]\r\n" + models + "\r\n[Strings]\r\nMaker = \"Vendor " +
           hex4(vendor) + "\"\r\nDevice = \"Network adapter\"\r\n";
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

/// A SYSTEM export of 60 PCI network adapters: most are devices the large database has drivers
/// for, a few are not; each has its hardware and compatible IDs as Windows lists them and, for
/// half of them, an installed driver.
std::string machineExport()
{
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SYSTEM\\Select]\r\n\"Current\"=dword:00000001\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Session "
                       "Manager\\Environment]\r\n\"PROCESSOR_ARCHITECTURE\"=\"AMD64\"\r\n";
    for (int device = 0; device < kMachineDevices; ++device) {
        const std::string vendor = hex4(vendorOf(device % kVendors));
        const std::string dev = hex4(0x100 + device % 30);
        const std::string base = "PCI\\VEN_" + vendor + "&DEV_" + dev;
        const std::string subsys = "&SUBSYS_0001" + vendor;
        const std::string key = "[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Enum\\PCI\\VEN_" +
                                vendor + "&DEV_" + dev + subsys + "&REV_01\\3&0&" +
                                std::to_string(device) + "]\r\n";
        text += "\r\n" + key + "\"DeviceDesc\"=\"Network adapter\"\r\n\"HardwareID\"=" +
                tollen::testing::regMultiString({base + subsys + "&REV_01", base + subsys,
                                                 base + "&CC_020000", base + "&CC_0200"}) +
                "\r\n\"CompatibleIDs\"=" +
                tollen::testing::regMultiString(
                    {base + "&REV_01", base, "PCI\\VEN_" + vendor + "&CC_020000",
                     "PCI\\VEN_" + vendor + "&CC_0200", "PCI\\VEN_" + vendor, "PCI\\CC_020000",
                     "PCI\\CC_0200"}) +
                "\r\n";
        if (device % 2 == 0) {
            const std::string driver = "{4d36e972-e325-11ce-bfc1-08002be10318}\\" + hex4(device);
            text += "\"Driver\"=\"" + driver + "\"\r\n\r\n";
            text += "[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Class\\" + driver +
                    "]\r\n\"DriverVersion\"=\"1.0.0.0\"\r\n\"DriverDate\"=\"1-1-2012\"\r\n"
                    "\"ProviderName\"=\"Vendor\"\r\n\"InfPath\"=\"oem1.inf\"\r\n";
        }
    }
    return text;
}

struct Figures
{
    double matchSeconds = 1e9;
    double curlSeconds = 1e9;
    std::size_t files = 0;
};

/// The best of a few runs of the match over `root`, and of curl fetching what it fetched.
Figures measure(const fs::path &root, const fs::path &machine, const fs::path &folder)
{
    Figures figures;
    for (int round = 0; round < kRepeats; ++round) {
        const tollen::testing::NginxServer nginx(root);
        const ChildRun match = runChild({TOLLEN_CLI_PROGRAM, "match", machine.string(), "--http",
                                         nginx.url(), "--format", "tsv"});
        if (match.output.empty()) {
            std::fprintf(stderr, "match printed nothing over %s\n", root.c_str());
            std::exit(1);
        }
        figures.matchSeconds = std::min(figures.matchSeconds, match.wallSeconds);
        std::vector<std::string> curl = {"/usr/bin/curl", "-s"};
        // nginx logs a request a moment after it answered it.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const std::vector<std::string> requests = nginx.requests();
        for (const std::string &request : requests) {
            const auto start = request.find(' ') + 1;
            curl.push_back(nginx.url() + request.substr(start, request.rfind(' ') - start));
            curl.push_back("-o");
            curl.push_back((folder / "curl-copy").string());
        }
        figures.files = requests.size();
        figures.curlSeconds = std::min(figures.curlSeconds, runChild(curl).wallSeconds);
    }
    return figures;
}

void show(const char *name, const Figures &figures)
{
    std::printf("%-28s %6.3f s  %5zu index files  curl %6.3f s  ratio %5.2f\n", name,
                figures.matchSeconds, figures.files, figures.curlSeconds,
                figures.matchSeconds / figures.curlSeconds);
}

} // namespace

int main()
{
    const tollen::testing::TemporaryFolder folder;
    const fs::path machine = folder.path() / "machine.reg";
    writeFile(machine, machineExport());

    const fs::path packages = folder.path() / "packages";
    for (int number = 0; number < kInfFiles; ++number) {
        writeFile(packages / ("vendor" + std::to_string(number % kVendors)) /
                      ("driver" + std::to_string(number)) / "driver.inf",
                  makeInf(number));
    }
    const ChildRun index = runChild({TOLLEN_INDEX_PROGRAM, "--quiet", packages.string()});
    if (!index.ok) {
        std::fprintf(stderr, "tollen-index failed on the generated packages\n");
        return 1;
    }
    std::printf("tollen-index of %d INF files: %.1f s\n", kInfFiles, index.wallSeconds);

    const Figures demo = measure(TOLLEN_DEMO_DATABASE, machine, folder.path());
    show("demo database", demo);
    const Figures large = measure(packages, machine, folder.path());
    show("10,000 INF files", large);
    std::printf("match seconds (60 devices, 10,000 INFs): %.3f\n", large.matchSeconds);
    return 0;
}
