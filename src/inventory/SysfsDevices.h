#pragma once
// This machine's devices as sysfs shows them, each given the bus name and hardware ID that
// Windows would give it: PCI as VEN_vvvv&DEV_dddd&SUBSYS_ssssSSSS&REV_rr (subsystem device
// before subsystem vendor), USB as VID_vvvv&PID_pppp (root hubs as ROOT_HUB, ROOT_HUB20 or
// ROOT_HUB30 by their USB version), HD-audio codecs as
// FUNC_ff&VEN_vvvv&DEV_dddd&SUBSYS_ssssssss&REV_rrrr, with what the bus tells beyond that ID for
// Windows' ID lists, and the kernel driver bound to it. Entries with missing or malformed
// identity files are left out; nothing here fails.

#include "inventory/PciNames.h"
#include "inventory/UsbNames.h"
#include "inventory/WindowsIds.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tollen::inventory {

struct SysfsDevice
{
    std::string bus;
    std::string hardwareId;
    /// The sysfs entry's name, which tells two devices of one model apart.
    std::string instance;
    std::string description;
    IdDetails details;
    /// The name of the kernel driver bound to the device, as lspci -k shows it; empty for none.
    std::string kernelDriver;
};

/// The devices of <sysfsRoot>/bus/pci/devices.
std::vector<SysfsDevice> readPciDevices(const std::filesystem::path &sysfsRoot,
                                        const PciNames &names);

/// The devices (not their interfaces) of <sysfsRoot>/bus/usb/devices.
std::vector<SysfsDevice> readUsbDevices(const std::filesystem::path &sysfsRoot,
                                        const UsbNames &names);

/// The codecs of <sysfsRoot>/bus/hdaudio/devices.
std::vector<SysfsDevice> readHdAudioDevices(const std::filesystem::path &sysfsRoot);

/// Upper-case hexadecimal with at least `digits` digits.
std::string hexId(std::uint32_t number, int digits);

} // namespace tollen::inventory
