#include "cli/FetchRecord.h"

#include "cli/DeviceCells.h"
#include "cli/JsonWriter.h"
#include "cli/Table.h"
#include "database/DriverMatch.h"
#include "database/ResultRow.h"

namespace tollen::cli {

namespace {

/// The record's format; a reader that finds a larger one knows it may miss something.
constexpr int kFormat = 1;

void writeOptionalText(JsonWriter &json, std::string_view name, const std::string &text)
{
    json.key(name);
    if (text.empty()) {
        json.null();
    } else {
        json.value(text);
    }
}

void writeFiles(JsonWriter &json, const std::vector<database::PackageFile> &files)
{
    json.beginArray();
    for (const database::PackageFile &file : files) {
        json.beginObject();
        json.key("Path");
        json.value(file.path);
        json.key("Size");
        json.value(static_cast<std::int64_t>(file.digest.size));
        writeOptionalText(json, "SHA-256", file.digest.sha256);
        json.endObject();
    }
    json.endArray();
}

void writePackage(JsonWriter &json, const PackageToFetch &package, const FetchedPackage &fetched)
{
    json.beginObject();
    json.key("Folder");
    json.value(package.folder);
    json.key("Package");
    json.value(package.path);
    writeOptionalText(json, "SHA-256", package.proof ? package.proof->sha256 : std::string());
    json.key("Verified");
    json.value(package.proof.has_value());
    json.key("Result");
    json.value(describe(fetched.kind));
    writeOptionalText(json, "Note", fetched.reason);
    json.key("Files");
    writeFiles(json, fetched.files);
    json.endObject();
}

void writeDevice(JsonWriter &json, const FetchedDevice &device)
{
    const DeviceReport &report = *device.report;
    json.beginObject();
    json.key("Device ID");
    json.value(report.device.id);
    json.key("Device Name");
    json.value(report.device.name);
    writeDeviceIds(json, report.device);
    json.key("Driver");
    if (device.package == nullptr) {
        json.null();
    } else {
        const database::IndexFields &row = report.match.drivers.front().row;
        writeRow(json,
                 Table{driverColumns(), {database::resultRowCells(database::IndexFields(row))}, {}},
                 0);
    }
    json.key("Package");
    if (device.package == nullptr) {
        json.null();
    } else {
        writePackage(json, *device.package, *device.fetched);
    }
    json.endObject();
}

} // namespace

std::string_view describe(FetchedPackage::Kind kind)
{
    switch (kind) {
    case FetchedPackage::Kind::Fetched:
        return "fetched";
    case FetchedPackage::Kind::AlreadyThere:
        return "already there";
    case FetchedPackage::Kind::Mismatch:
        return "mismatch";
    case FetchedPackage::Kind::Failed:
    case FetchedPackage::Kind::NotWritable:
        break;
    }
    return "failed";
}

std::string fetchRecordText(const std::vector<FetchedDevice> &devices)
{
    JsonWriter json;
    json.beginObject();
    json.key("format");
    json.value(kFormat);
    json.key("devices");
    json.beginArray();
    for (const FetchedDevice &device : devices) {
        writeDevice(json, device);
    }
    json.endArray();
    json.endObject();
    return json.text() + "\n";
}

std::string installNotesText()
{
    constexpr std::string_view notes[] = {
        "Drivers fetched by tollen-cli: one folder per driver package, and in tollen-fetch.json",
        "the devices each one is for, with every file's SHA-256 checksum.",
        "",
        "In the commands below, DIR stands for this folder as Windows sees it (for example",
        "E:\\drivers). Run them in a command prompt started as administrator.",
        "",
        "To add the drivers to the running Windows system and install each on the devices it",
        "fits:",
        "",
        "    pnputil /add-driver DIR\\*.inf /subdirs /install",
        "",
        "To add them to an offline Windows image (one mounted at X:\\, or the Windows partition",
        "of another disk):",
        "",
        "    dism /Image:X:\\ /Add-Driver /Driver:DIR /Recurse",
        "",
        "A package that came as an installer, or as an archive this copy of tollen-cli could not",
        "unpack, holds that file instead of INF files: run or unpack it on Windows. The folder",
        ".tollen-fetch holds tollen-cli's own records; Windows needs nothing in it.",
    };
    std::string text;
    for (const std::string_view line : notes) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace tollen::cli
