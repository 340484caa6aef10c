#include "inventory/ProfileCommands.h"

#include "core/FilePrefix.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "inventory/DeviceListSource.h"
#include "inventory/DeviceRecords.h"
#include "inventory/DeviceScan.h"
#include "inventory/ProfileFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>

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

/// True when the text holds a control character that no profile holds: anything below a space
/// other than tab, carriage return and line feed.
bool holdsBinaryData(std::string_view bytes)
{
    return std::ranges::any_of(bytes, [](char byte) {
        const auto value = static_cast<unsigned char>(byte);
        return value < 0x20 && byte != '\t' && byte != '\r' && byte != '\n';
    });
}

} // namespace

Error loadDeviceList(const std::filesystem::path &file, controls::ListView &ListView1)
{
    const auto cannotRead = [&] { return Error{1, utf8FromPath(file) + " cannot be read"}; };
    const auto head = readFilePrefix(file, kDeviceListHeadSize);
    if (!head) {
        return cannotRead();
    }
    const DeviceListKind kind = recogniseDeviceList(*head);
    if (kind == DeviceListKind::Profile) {
        const auto bytes = readFilePrefix(file, kProfileSizeLimit + 1);
        if (!bytes) {
            return cannotRead();
        }
        if (bytes->size() > kProfileSizeLimit || holdsBinaryData(*bytes)) {
            return Error{1, utf8FromPath(file) +
                                " is not a hardware profile, registry export or offline hive"};
        }
        ListView1.clear();
        for (const auto &record : parseProfile(decodeFileText(*bytes))) {
            AddDeviceRecord(ListView1, record.deviceId, record.deviceName);
        }
        return {};
    }
    auto source = openDeviceListStore(file, kind);
    if (source.error) {
        return source.error;
    }
    ListView1.clear();
    DeviceScan(*source.store, source.layout, ListView1).ScanAll();
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
