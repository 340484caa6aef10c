#include "cli/DeviceCells.h"

namespace tollen::cli {

std::vector<std::string> deviceCells(const inventory::Device &device)
{
    const inventory::InstalledDriver &driver = device.driver;
    return {device.id,          device.name,     std::string(inventory::describe(driver.status)),
            driver.description, driver.provider, driver.version,
            driver.date,        driver.infName,  driver.matchingId};
}

void writeDeviceIds(JsonWriter &json, const inventory::Device &device)
{
    json.key("IDs");
    json.beginArray();
    for (const auto *ids : {&device.hardwareIds, &device.compatibleIds}) {
        for (const std::string &id : *ids) {
            json.value(id);
        }
    }
    json.endArray();
}

} // namespace tollen::cli
