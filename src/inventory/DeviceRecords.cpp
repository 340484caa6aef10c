#include "inventory/DeviceRecords.h"

namespace tollen::inventory {

void SetUpListView2(controls::ListView &ListView2)
{
    ListView2.setReportView(true);
    for (const std::string_view heading : kResultHeadings) {
        ListView2.addColumn(std::string(heading));
    }
    ListView2.setExtendedStyle(ListView2.extendedStyle() | controls::ListView::kFullRowSelect);
}

void SetUpListView1(controls::ListView &ListView1)
{
    ListView1.setReportView(true);
    const double width = ListView1.geometry().width;
    ListView1.addColumn("Device ID", 0.66 * width);
    ListView1.addColumn("Device Name", 0.33 * width);
    ListView1.setHeadingsHidden(false);
}

void AddDeviceRecord(controls::ListView &ListView1, const std::string &deviceId,
                     const std::string &deviceName)
{
    ListView1.addRow(deviceId);
    ListView1.setSubItem(ListView1.rowCount(), 1, deviceName);
}

void AddUniqueItem(const std::string &text, controls::ListBox &list)
{
    if (list.findStringExact(text, -1) == controls::ListBox::kNotFound) {
        list.addItem(text);
    }
}

} // namespace tollen::inventory
