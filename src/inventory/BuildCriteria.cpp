#include "inventory/BuildCriteria.h"

#include "core/TextRoutines.h"

#include <string>

namespace tollen::inventory {

namespace {

/// The entry preselected after entry 0, by the first three characters of the Device ID; -1
/// keeps entry 0.
int preselectedEntry(const std::string &deviceId)
{
    const std::string prefix = deviceId.substr(0, 3);
    if (prefix == "PCI" || prefix == "USB") {
        return 1;
    }
    if (prefix == "HDA") {
        return 2;
    }
    return -1;
}

} // namespace

void BuildCriteria(const controls::ListView &ListView1, controls::ListBox &List1)
{
    List1.clear();
    const int row = ListView1.selectedRow();
    if (row < 1) {
        return;
    }
    const std::string &deviceId = ListView1.text(row);
    const std::string bus = TextBefore(deviceId, '\\');
    if (bus != "ISAPNP") {
        std::string s = TextAfter(deviceId, '\\');
        for (std::string shorter = TextBeforeLast(s, '&'); shorter != s;
             shorter = TextBeforeLast(s, '&')) {
            List1.addItem(bus + "\\" + s, 0);
            s = shorter;
        }
        List1.addItem(bus + "\\" + s, 0);
    } else {
        List1.addItem(deviceId);
    }
    List1.select(0);
    if (const int entry = preselectedEntry(deviceId); entry >= 0) {
        List1.select(entry); // a missing entry leaves entry 0 selected
    }
}

} // namespace tollen::inventory
