#include "SeededDevicesWindows.h"

#include "core/WideText.h"

#include <fstream>
#include <random>
#include <windows.h>

namespace tollen::testing {

namespace {

constexpr const char *kEnumRoot = "SYSTEM\\CurrentControlSet\\Enum\\";

/// Runs `commandLine` and waits for it; its exit code, or -1 when it did not start or end.
int runAndWait(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60'000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

void writeUtf16File(const std::filesystem::path &file, const std::string &text)
{
    // CRLF line ends, as the Registry Editor writes them.
    std::wstring wide = L"\xFEFF";
    for (const wchar_t character : wideFromUtf8(text)) {
        if (character == L'\n') {
            wide += L'\r';
        }
        wide += character;
    }
    std::ofstream out(file, std::ios::binary);
    for (const wchar_t character : wide) {
        out.put(static_cast<char>(character & 0xFF));
        out.put(static_cast<char>((character >> 8) & 0xFF));
    }
}

} // namespace

SeededDevices::SeededDevices(const std::filesystem::path &folder, std::vector<SeededDevice> devices,
                             std::vector<SeededKey> keys)
    : m_devices(std::move(devices)), m_keys(std::move(keys))
{
    std::random_device random;
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int digit = 0; digit < 4; ++digit) {
        m_vendor += kHex[random() % 16];
    }

    std::string text = "Windows Registry Editor Version 5.00\n";
    for (const SeededDevice &device : m_devices) {
        text += "\n[HKEY_LOCAL_MACHINE\\" + deviceKey(device) + "\\" + device.instance + "]\n";
        for (const std::string &line : device.values) {
            text += line + "\n";
        }
    }
    for (const SeededKey &key : m_keys) {
        text += "\n[HKEY_LOCAL_MACHINE\\" + key.path + "]\n";
        for (const std::string &line : key.values) {
            text += line + "\n";
        }
    }
    const std::filesystem::path file = folder / "seeded-devices.reg";
    writeUtf16File(file, text);
    m_seeded = runAndWait(L"regedit.exe /S \"" + file.wstring() + L"\"") == 0;
}

SeededDevices::~SeededDevices()
{
    for (const SeededDevice &device : m_devices) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, wideFromUtf8(deviceKey(device)).c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, wideFromUtf8(deviceKey(device)).c_str());
    }
    for (const SeededKey &key : m_keys) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, wideFromUtf8(key.path).c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, wideFromUtf8(key.path).c_str());
    }
}

std::string SeededDevices::hardwareId(const SeededDevice &device) const
{
    return device.bus == "USB" ? "VID_" + m_vendor + "&PID_" + device.deviceSuffix
                               : "VEN_" + m_vendor + "&DEV_" + device.deviceSuffix;
}

std::string SeededDevices::deviceKey(const SeededDevice &device) const
{
    return kEnumRoot + device.bus + "\\" + hardwareId(device);
}

} // namespace tollen::testing
