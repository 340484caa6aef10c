#include "database/ResultRow.h"

#include "core/Text.h"
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

int addResultRow(controls::ListView &ListView2, IndexFields &&fields,
                 const std::optional<FileDigest> &proof)
{
    std::vector<std::string> cells = resultRowCells(std::move(fields));
    const int row = ListView2.addRow(std::move(cells.front()));
    for (std::size_t column = 1; column < cells.size(); ++column) {
        ListView2.setSubItem(row, static_cast<int>(column), std::move(cells[column]));
    }
    if (proof) {
        ListView2.setSubItem(row, kProofDigestColumn, proof->sha256);
        ListView2.setSubItem(row, kProofSizeColumn, std::to_string(proof->size));
    }
    return row;
}

std::optional<FileDigest> resultRowProof(const controls::ListView &ListView2, int row)
{
    const std::string digest = ListView2.subItem(row, kProofDigestColumn);
    const auto size = wholeNumber<std::uint64_t>(ListView2.subItem(row, kProofSizeColumn));
    if (!isSha256Hex(digest) || !size) {
        return std::nullopt;
    }
    return FileDigest{digest, *size};
}

} // namespace tollen::database
