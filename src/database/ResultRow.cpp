#include "database/ResultRow.h"

#include "database/GuessOsName.h"

namespace tollen::database {

int addResultRow(ui::ListView &ListView2, const IndexFields &fields)
{
    const int row = ListView2.addRow(fields[IndexField::Manufacturer]);
    ListView2.setSubItem(row, 1, fields[IndexField::DeviceName]);
    ListView2.setSubItem(row, 2, fields[IndexField::HardwareId]);
    ListView2.setSubItem(row, 3, fields[IndexField::Class]);
    const std::string &decoration = fields[IndexField::Decoration];
    const auto osName = GuessOsName(decoration);
    ListView2.setSubItem(row, 4, osName ? std::string(*osName) : decoration);
    ListView2.setSubItem(row, 5, fields[IndexField::Version]);
    ListView2.setSubItem(row, 6, fields[IndexField::Date]);
    ListView2.setSubItem(row, 7, fields[IndexField::RemotePath]);
    ListView2.setSubItem(row, 8, fields[IndexField::Type]);
    return row;
}

} // namespace tollen::database
