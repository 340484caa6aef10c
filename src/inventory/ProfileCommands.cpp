#include "inventory/ProfileCommands.h"

#include "core/PathText.h"
#include "inventory/DeviceInventory.h"
#include "inventory/DeviceRecords.h"
#include "inventory/ProfileFile.h"

#include <filesystem>

namespace tollen::inventory {

namespace {

constexpr std::uint32_t kSaveFlags = controls::kOverwritePrompt | controls::kHideReadOnly |
                                     controls::kNoChangeDirectory | controls::kPathMustExist;

controls::FileDialogRequest profileDialog(std::uint32_t flags)
{
    controls::FileDialogRequest request;
    request.title = kProfileDialogTitle;
    request.filter = kProfileFilter;
    request.flags = flags;
    request.defaultExtension = kProfileExtension;
    request.cancelError = true;
    return request;
}

} // namespace

Error loadDeviceList(const std::filesystem::path &file, controls::ListView &ListView1,
                     DeviceInventory *devices)
{
    DeviceInventory inventory;
    if (Error failure = readDeviceInventory(file, inventory)) {
        return failure;
    }
    ListView1.clear();
    for (const auto &device : inventory.devices) {
        AddDeviceRecord(ListView1, device.id, device.name);
    }
    if (devices) {
        *devices = std::move(inventory);
    }
    return {};
}

void SaveProfile(const controls::ListView &ListView1, controls::Dialogs &dialogs)
{
    const auto chosen = dialogs.showSave(profileDialog(kSaveFlags));
    if (!chosen) {
        return;
    }
    if (const Error failure = writeProfile(ListView1, pathFromUtf8(chosen.path))) {
        dialogs.messageBox("Error saving profile: " + failure.message,
                           controls::MessageButtons::OkStop, "Error");
    }
}

void LoadProfile(controls::ListView &ListView1, controls::Dialogs &dialogs)
{
    const auto chosen = dialogs.showOpen(profileDialog(controls::kHideReadOnly));
    if (chosen) {
        ReadProfile(chosen.path, ListView1, dialogs);
    }
}

bool ReadProfile(const std::string &path, controls::ListView &ListView1, controls::Dialogs &dialogs)
{
    std::error_code ignored;
    const std::filesystem::path file = pathFromUtf8(path);
    const bool exists = std::filesystem::is_regular_file(file, ignored);
    if (!exists || loadDeviceList(file, ListView1)) {
        dialogs.messageBox("Error opening file", controls::MessageButtons::Ok, "Error");
        return false;
    }
    return true;
}

bool LoadCommandTailProfile(const std::string &commandTail, controls::ListView &ListView1,
                            controls::Dialogs &dialogs)
{
    if (commandTail.empty() || ReadProfile(commandTail, ListView1, dialogs)) {
        return true;
    }
    dialogs.messageBox("Error loading specified profile: " + commandTail,
                       controls::MessageButtons::OkStop, "Error");
    return false;
}

} // namespace tollen::inventory
