#pragma once
// Device records: one row of ListView1 each, the Device ID as the row's text and the Device Name
// as its sub-item 1. The list is the only store of records; rows keep the order they were added.

#include "controls/ListBox.h"
#include "controls/ListView.h"

#include <array>
#include <string>
#include <string_view>

namespace tollen::inventory {

/// The results list's nine column headings, in their order.
inline constexpr std::array<std::string_view, 9> kResultHeadings = {
    "Manufacturer", "Device Name", "Hardware ID", "Class", "OS (Guess)",
    "Version",      "Date",        "Remote Path", "Type"};

/// The results list: report view, its nine columns, full-row selection.
void SetUpListView2(controls::ListView &ListView2);

/// The installed-hardware list: report view, "Device ID" at 0.66 and "Device Name" at 0.33 of
/// the list's width, headings shown.
void SetUpListView1(controls::ListView &ListView1);

/// Appends a row with the Device ID, then writes the Device Name into the last row.
void AddDeviceRecord(controls::ListView &ListView1, const std::string &deviceId,
                     const std::string &deviceName);

/// Appends `text` to `list` unless an entry equal to it, ignoring letter case, is present.
void AddUniqueItem(const std::string &text, controls::ListBox &list);

} // namespace tollen::inventory
