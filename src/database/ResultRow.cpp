#include "database/ResultRow.h"

#include "database/GuessOsName.h"

#include <utility>

namespace tollen::database {

int addResultRow(controls::ListView &ListView2, IndexFields &&fields)
{
    const auto take = [&fields](IndexField field) { return std::move(fields[field]); };
    const int row = ListView2.addRow(take(IndexField::Manufacturer));
    ListView2.setSubItem(row, 1, take(IndexField::DeviceName));
    ListView2.setSubItem(row, 2, take(IndexField::HardwareId));
    ListView2.setSubItem(row, 3, take(IndexField::Class));
    const auto osName = GuessOsName(fields[IndexField::Decoration]);
    ListView2.setSubItem(row, 4, osName ? std::string(*osName) : take(IndexField::Decoration));
    ListView2.setSubItem(row, 5, take(IndexField::Version));
    ListView2.setSubItem(row, 6, take(IndexField::Date));
    ListView2.setSubItem(row, 7, take(IndexField::RemotePath));
    ListView2.setSubItem(row, 8, take(IndexField::Type));
    return row;
}

} // namespace tollen::database
