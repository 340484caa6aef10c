#include "inventory/ProfileCommands.h"

#include "core/Text.h"
#include "inventory/DeviceListSource.h"
#include "inventory/DeviceRecords.h"
#include "inventory/DeviceScan.h"
#include "inventory/ProfileFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace tollen::inventory {

namespace {

constexpr std::uint32_t kSaveFlags =
    ui::kOverwritePrompt | ui::kHideReadOnly | ui::kNoChangeDirectory | ui::kPathMustExist;

ui::FileDialogRequest profileDialog(std::uint32_t flags)
{
    ui::FileDialogRequest request;
    request.title = kProfileDialogTitle;
    request.filter = kProfileFilter;
    request.flags = flags;
    request.defaultExtension = kProfileExtension;
    request.cancelError = true;
    return request;
}

/// The first `limit` bytes of a file, or all of it; nullopt when it cannot be read.
std::optional<std::string> readBytes(const std::filesystem::path &file,
                                     std::optional<std::size_t> limit = std::nullopt)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::string bytes;
    if (limit) {
        bytes.resize(*limit);
        stream.read(bytes.data(), static_cast<std::streamsize>(*limit));
        bytes.resize(static_cast<std::size_t>(stream.gcount()));
    } else {
        bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }
    if (stream.bad()) {
        return std::nullopt;
    }
    return bytes;
}

/// Reads the file as its kind says into ListView1; false leaves the rows as they were.
bool loadDeviceList(const std::filesystem::path &file, ui::ListView &ListView1)
{
    const auto head = readBytes(file, kDeviceListHeadSize);
    if (!head) {
        return false;
    }
    const DeviceListKind kind = recogniseDeviceList(*head);
    if (kind == DeviceListKind::Profile) {
        const auto bytes = readBytes(file);
        if (!bytes) {
            return false;
        }
        ListView1.clear();
        for (const auto &record : parseProfile(decodeFileText(*bytes))) {
            AddDeviceRecord(ListView1, record.deviceId, record.deviceName);
        }
        return true;
    }
    auto source = openDeviceListStore(file, kind);
    if (source.error) {
        return false;
    }
    ListView1.clear();
    DeviceScan(*source.store, source.layout, ListView1).ScanAll();
    return true;
}

} // namespace

void SaveProfile(const ui::ListView &ListView1, ui::Dialogs &dialogs)
{
    const auto chosen = dialogs.showSave(profileDialog(kSaveFlags));
    if (!chosen) {
        return;
    }
    if (const Error failure = writeProfile(ListView1, chosen.path)) {
        dialogs.messageBox("Error saving profile: " + failure.message, ui::MessageButtons::OkStop,
                           "Error");
    }
}

void LoadProfile(ui::ListView &ListView1, ui::Dialogs &dialogs)
{
    const auto chosen = dialogs.showOpen(profileDialog(ui::kHideReadOnly));
    if (chosen) {
        ReadProfile(chosen.path, ListView1, dialogs);
    }
}

bool ReadProfile(const std::string &path, ui::ListView &ListView1, ui::Dialogs &dialogs)
{
    std::error_code ignored;
    const bool exists = std::filesystem::is_regular_file(path, ignored);
    if (!exists || !loadDeviceList(path, ListView1)) {
        dialogs.messageBox("Error opening file", ui::MessageButtons::Ok, "Error");
        return false;
    }
    return true;
}

bool LoadCommandTailProfile(const std::string &commandTail, ui::ListView &ListView1,
                            ui::Dialogs &dialogs)
{
    if (commandTail.empty() || ReadProfile(commandTail, ListView1, dialogs)) {
        return true;
    }
    dialogs.messageBox("Error loading specified profile: " + commandTail,
                       ui::MessageButtons::OkStop, "Error");
    return false;
}

} // namespace tollen::inventory
