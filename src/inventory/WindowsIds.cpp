#include "inventory/WindowsIds.h"

#include "core/Text.h"

#include <algorithm>
#include <map>
#include <utility>

namespace tollen::inventory {

namespace {

/// The fields of "VEN_8086&DEV_100E&...", by upper-case name.
using Fields = std::map<std::string, std::string, std::less<>>;

/// The fields of `text`, values upper-cased as Windows writes them; nullopt when a field lacks its
/// name or value, a name repeats, a name is not one of `known`, or one of `required` is missing.
std::optional<Fields> readFields(std::string_view text, const std::vector<std::string_view> &known,
                                 const std::vector<std::string_view> &required)
{
    Fields fields;
    while (!text.empty()) {
        const auto end = std::min(text.find('&'), text.size());
        const auto field = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const auto separator = field.find('_');
        if (separator == std::string_view::npos || separator == 0 ||
            separator + 1 == field.size()) {
            return std::nullopt;
        }
        std::string name = toUpper(field.substr(0, separator));
        if (std::find(known.begin(), known.end(), name) == known.end() ||
            !fields.emplace(std::move(name), toUpper(field.substr(separator + 1))).second) {
            return std::nullopt;
        }
    }
    for (const auto name : required) {
        if (!fields.contains(name)) {
            return std::nullopt;
        }
    }
    return fields;
}

std::optional<std::string> field(const Fields &fields, std::string_view name)
{
    const auto found = fields.find(name);
    return found == fields.end() ? std::nullopt : std::optional<std::string>(found->second);
}

/// The class-code forms "CC_ccsspp" and "CC_ccss"; none when the class code is unknown.
std::vector<std::string> pciClassForms(const std::optional<std::string> &classCode)
{
    if (!classCode || classCode->size() != 6) {
        return {};
    }
    return {"CC_" + *classCode, "CC_" + classCode->substr(0, 4)};
}

WindowsIdList pciIds(const Fields &fields, const IdDetails &details)
{
    const std::string vendor = "PCI\\VEN_" + fields.at("VEN");
    const std::string device = vendor + "&DEV_" + fields.at("DEV");
    const auto subsystem = field(fields, "SUBSYS");
    const auto revision = field(fields, "REV");
    const auto classForms = pciClassForms(details.classCode);
    WindowsIdList list;
    if (subsystem && revision) {
        list.hardwareIds.push_back(device + "&SUBSYS_" + *subsystem + "&REV_" + *revision);
    }
    if (subsystem) {
        list.hardwareIds.push_back(device + "&SUBSYS_" + *subsystem);
    }
    for (const auto &form : classForms) {
        list.hardwareIds.push_back(device + "&" + form);
    }
    if (revision) {
        list.compatibleIds.push_back(device + "&REV_" + *revision);
    }
    list.compatibleIds.push_back(device);
    for (const auto &form : classForms) {
        list.compatibleIds.push_back(vendor + "&" + form);
    }
    list.compatibleIds.push_back(vendor);
    for (const auto &form : classForms) {
        list.compatibleIds.push_back("PCI\\" + form);
    }
    return list;
}

WindowsIdList usbIds(const Fields &fields, const IdDetails &details)
{
    const std::string device = "USB\\VID_" + fields.at("VID") + "&PID_" + fields.at("PID");
    const auto revision = details.revision ? details.revision : field(fields, "REV");
    WindowsIdList list;
    if (revision) {
        list.hardwareIds.push_back(device + "&REV_" + *revision);
    }
    list.hardwareIds.push_back(device);
    if (details.classCode && details.classCode->size() == 6) {
        // A composite device is named by its device class, the interfaces by theirs.
        const std::string deviceClass = (details.composite ? "USB\\DevClass_" : "USB\\Class_") +
                                        details.classCode->substr(0, 2);
        const std::string subclass = deviceClass + "&SubClass_" + details.classCode->substr(2, 2);
        list.compatibleIds = {subclass + "&Prot_" + details.classCode->substr(4, 2), subclass,
                              deviceClass};
    }
    if (details.composite) {
        list.compatibleIds.emplace_back("USB\\COMPOSITE");
    }
    return list;
}

WindowsIdList hdAudioIds(const Fields &fields)
{
    const std::string function = "HDAUDIO\\FUNC_" + fields.at("FUNC");
    const std::string vendor = function + "&VEN_" + fields.at("VEN");
    const std::string device = vendor + "&DEV_" + fields.at("DEV");
    const auto subsystem = field(fields, "SUBSYS");
    const auto revision = field(fields, "REV");
    WindowsIdList list;
    if (subsystem && revision) {
        list.hardwareIds.push_back(device + "&SUBSYS_" + *subsystem + "&REV_" + *revision);
    }
    if (subsystem) {
        list.hardwareIds.push_back(device + "&SUBSYS_" + *subsystem);
    }
    if (revision) {
        list.compatibleIds.push_back(device + "&REV_" + *revision);
    }
    list.compatibleIds.insert(list.compatibleIds.end(), {device, vendor, function});
    return list;
}

std::optional<WindowsIdList> busIds(std::string_view bus, std::string_view rest,
                                    const IdDetails &details)
{
    if (bus == "PCI") {
        if (const auto fields = readFields(rest, {"VEN", "DEV", "SUBSYS", "REV"}, {"VEN", "DEV"})) {
            return pciIds(*fields, details);
        }
    } else if (bus == "USB") {
        if (const auto fields = readFields(rest, {"VID", "PID", "REV"}, {"VID", "PID"})) {
            return usbIds(*fields, details);
        }
    } else if (bus == "HDAUDIO") {
        const std::vector<std::string_view> identity = {"FUNC", "VEN", "DEV"};
        if (const auto fields =
                readFields(rest, {"FUNC", "VEN", "DEV", "SUBSYS", "REV"}, identity)) {
            return hdAudioIds(*fields);
        }
    }
    return std::nullopt;
}

} // namespace

WindowsIdList windowsIdList(std::string_view deviceId, const IdDetails &details)
{
    const auto separator = deviceId.find('\\');
    const std::string bus = toUpper(deviceId.substr(0, separator));
    auto list = separator == std::string_view::npos
                    ? std::nullopt
                    : busIds(bus, deviceId.substr(separator + 1), details);
    if (!list) {
        return WindowsIdList{{std::string(deviceId)}, {}};
    }
    if (list->hardwareIds.empty()) {
        list->hardwareIds.push_back(std::move(list->compatibleIds.front()));
        list->compatibleIds.erase(list->compatibleIds.begin());
    }
    return *list;
}

} // namespace tollen::inventory
