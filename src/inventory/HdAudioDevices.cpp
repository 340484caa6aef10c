#include "inventory/SysfsDevices.h"
#include "inventory/SysfsFile.h"

namespace tollen::inventory {

namespace {

constexpr const char *kGenericName = "High Definition Audio Device";

/// The function group (1 audio, 2 modem) from the modalias "hdaudio:vVVVVDDDDrRRRRRRRRaFF".
std::uint32_t functionGroup(const std::filesystem::path &entry)
{
    const std::string alias = readSysfsLine(entry / "modalias").value_or("");
    const auto marker = alias.rfind('a');
    if (alias.rfind("hdaudio:", 0) == 0 && marker != std::string::npos &&
        marker + 3 == alias.size()) {
        const std::string digits = alias.substr(marker + 1);
        if (digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
            return static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
        }
    }
    return 1;
}

} // namespace

std::vector<SysfsDevice> readHdAudioDevices(const std::filesystem::path &sysfsRoot)
{
    std::vector<SysfsDevice> devices;
    for (const auto &entry : sysfsEntries(sysfsRoot / "bus" / "hdaudio" / "devices")) {
        const auto vendorId = readSysfsHex(entry / "vendor_id");
        if (!vendorId) {
            continue;
        }
        const auto subsystem = readSysfsHex(entry / "subsystem_id").value_or(0);
        // Windows shows the codec's major, minor and revision digits, without the stepping.
        const auto revision = (readSysfsHex(entry / "revision_id").value_or(0) >> 8) & 0xFFFF;
        const std::string vendorName = readSysfsLine(entry / "vendor_name").value_or("");
        const std::string chipName = readSysfsLine(entry / "chip_name").value_or("");
        std::string description = vendorName.empty() || chipName.empty()
                                      ? std::string(kGenericName)
                                      : vendorName + " " + chipName;
        devices.push_back(SysfsDevice{"HDAUDIO",
                                      "FUNC_" + hexId(functionGroup(entry), 2) + "&VEN_" +
                                          hexId(*vendorId >> 16, 4) + "&DEV_" +
                                          hexId(*vendorId & 0xFFFF, 4) + "&SUBSYS_" +
                                          hexId(subsystem, 8) + "&REV_" + hexId(revision, 4),
                                      entry.filename().string(), std::move(description),
                                      IdDetails{}, sysfsDriverName(entry)});
    }
    return devices;
}

} // namespace tollen::inventory
