#include "database/ResultRow.h"

#include "database/GuessOsName.h"

#include <utility>

namespace tollen::database {

std::vector<std::string> resultRowCells(IndexFields &&fields)
{
    const auto take = [&fields](IndexField field) { return std::move(fields[field]); };
    const auto osName = GuessOsName(fields[IndexField::Decoration]);
    return {take(IndexField::Manufacturer),
            take(IndexField::DeviceName),
            take(IndexField::HardwareId),
            take(IndexField::Class),
            osName ? std::string(*osName) : take(IndexField::Decoration),
            take(IndexField::Version),
            take(IndexField::Date),
            take(IndexField::RemotePath),
            take(IndexField::Type)};
}

int addResultRow(controls::ListView &ListView2, IndexFields &&fields)
{
    std::vector<std::string> cells = resultRowCells(std::move(fields));
    const int row = ListView2.addRow(std::move(cells.front()));
    for (std::size_t column = 1; column < cells.size(); ++column) {
        ListView2.setSubItem(row, static_cast<int>(column), std::move(cells[column]));
    }
    return row;
}

} // namespace tollen::database
