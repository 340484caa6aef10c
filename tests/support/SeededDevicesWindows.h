#pragma once
// Devices seeded into the registry of the Windows system the tests run on (Wine's), under
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum, as a user's own devices would be: from a
// registry export written at test time (UTF-16LE with a byte-order mark, the only form
// regedit reads every value type from) and merged with "regedit /S". Each seeding has a vendor
// ID of its own, so test programs running side by side do not meet each other's devices. The
// destructor removes what was seeded.

#include <filesystem>
#include <string>
#include <vector>

namespace tollen::testing {

struct SeededDevice
{
    /// "PCI", "USB", ...
    std::string bus;
    /// The device key's name after the seeding's vendor: "0001&SUBSYS_00000000&REV_00".
    std::string deviceSuffix;
    std::string instance = "3&11583659&0&10";
    /// Value lines of the instance key in .reg syntax: "\"DeviceDesc\"=\"Network Card\"".
    std::vector<std::string> values;
};

/// Another key seeded beside the devices, such as a driver's key under Control\Class.
struct SeededKey
{
    /// The key's path under HKEY_LOCAL_MACHINE.
    std::string path;
    std::vector<std::string> values;
};

class SeededDevices
{
public:
    /// Writes the export into `folder` and merges it; seeded() says whether that worked.
    SeededDevices(const std::filesystem::path &folder, std::vector<SeededDevice> devices,
                  std::vector<SeededKey> keys = {});
    ~SeededDevices();
    SeededDevices(const SeededDevices &) = delete;
    SeededDevices &operator=(const SeededDevices &) = delete;

    bool seeded() const { return m_seeded; }
    /// The device key's name of `device`: "VEN_xxxx&DEV_" + its suffix, "VID_xxxx&PID_" on USB.
    std::string hardwareId(const SeededDevice &device) const;
    /// The registry path of the device key under HKEY_LOCAL_MACHINE.
    std::string deviceKey(const SeededDevice &device) const;

private:
    std::vector<SeededDevice> m_devices;
    std::vector<SeededKey> m_keys;
    std::string m_vendor;
    bool m_seeded = false;
};

} // namespace tollen::testing
