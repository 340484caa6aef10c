#pragma once
// The main window's profile actions: "Save profile" (Command3), "Load profile" (Command4),
// ReadProfile, and the profile named on the command line. They work on ListView1 and ask their
// questions through the window's dialogs. A loaded file may also be a registry export or an
// offline hive: its device tree is scanned and its devices replace the rows.

#include "controls/Dialogs.h"
#include "controls/ListView.h"
#include "core/Error.h"
#include "inventory/DeviceInventory.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace tollen::inventory {

inline constexpr const char *kProfileDialogTitle = "Save hardware-profile as...";
inline constexpr const char *kProfileFilter = "Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*";
inline constexpr const char *kProfileExtension = "hwp";

/// A hardware profile is two short lines per device; a larger file is not read as one.
inline constexpr std::size_t kProfileSizeLimit = 16 * 1024 * 1024;

/// Replaces the rows of ListView1 with the device list in `file`, read as its content says (a
/// profile, a registry export or an offline hive). A file that cannot be read, a hive or export
/// without a device tree, and a would-be profile that holds binary data (control characters
/// other than tab and line ends) or exceeds kProfileSizeLimit give an error naming the problem,
/// and the rows stay as they were. When `devices` is given, it receives the devices the rows show,
/// with their ID lists and installed drivers.
Error loadDeviceList(const std::filesystem::path &file, controls::ListView &ListView1,
                     DeviceInventory *devices = nullptr);

/// Command3: asks for a file and writes the rows of ListView1 to it. A cancelled dialog ends
/// silently; a file that cannot be written is told to the user and left as it was.
void SaveProfile(const controls::ListView &ListView1, controls::Dialogs &dialogs);

/// Command4: asks for a file and reads it with ReadProfile.
void LoadProfile(controls::ListView &ListView1, controls::Dialogs &dialogs);

/// Replaces the rows of ListView1 with the device list in `path`. False, after the box
/// "Error opening file", when there is no such file or it cannot be read; the rows then stay.
bool ReadProfile(const std::string &path, controls::ListView &ListView1,
                 controls::Dialogs &dialogs);

/// The profile named by the command tail, after the scan. False when it could not be read: the
/// user has been told, and the main window must close.
bool LoadCommandTailProfile(const std::string &commandTail, controls::ListView &ListView1,
                            controls::Dialogs &dialogs);

} // namespace tollen::inventory
