// Fuzzes the hardware profile reader as a loaded profile fills the installed-hardware list.

#include "FuzzSupport.h"
#include "core/Text.h"
#include "inventory/DeviceRecords.h"
#include "inventory/ProfileFile.h"

#include <algorithm>

using namespace tollen;
using tollen::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text = decodeFileText(fuzz::bytesOf(data, size));
    require(isValidUtf8(text));
    const auto records = inventory::parseProfile(text);
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')) + 1;
    require(records.size() <= (lines + 1) / 2);

    controls::ListView ListView1;
    inventory::SetUpListView1(ListView1);
    for (const auto &record : records) {
        require(record.deviceId == toUpper(record.deviceId));
        require(record.deviceId.find('\r') == std::string::npos);
        require(record.deviceName.find('\r') == std::string::npos);
        inventory::AddDeviceRecord(ListView1, record.deviceId, record.deviceName);
    }
    require(ListView1.rowCount() == static_cast<int>(records.size()));

    const auto reread = inventory::parseProfile(inventory::formatProfile(ListView1));
    require(reread.size() == records.size());
    for (std::size_t index = 0; index < records.size(); ++index) {
        require(reread[index].deviceId == records[index].deviceId);
        require(reread[index].deviceName == records[index].deviceName);
    }
    return 0;
}
