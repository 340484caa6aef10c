#pragma once
// A driver result row of the results list ListView2, made from one line of an index file. Past
// its visible columns the row holds the proof of its package (digest and size, when the line
// carries them) in two hidden cells, so that a download of the row can be checked.

#include "controls/ListView.h"
#include "core/Sha256.h"
#include "database/IndexLine.h"

#include <optional>
#include <string>
#include <vector>

namespace tollen::database {

/// The row's cells in the list's column order: the manufacturer, then device name, hardware ID,
/// class, the operating system the decoration stands for (the decoration itself when the table
/// has no row for it), version, date, remote path and type. The fields move into the cells.
std::vector<std::string> resultRowCells(IndexFields &&fields);

/// The hidden cells of a row's proof: its digest and its size.
inline constexpr int kProofDigestColumn = 9;
inline constexpr int kProofSizeColumn = 10;

/// Appends the row of `fields` with the package's `proof`; returns the row's position.
int addResultRow(controls::ListView &ListView2, IndexFields &&fields,
                 const std::optional<FileDigest> &proof = std::nullopt);

/// The proof the row holds; nothing for a row of an older database.
std::optional<FileDigest> resultRowProof(const controls::ListView &ListView2, int row);

} // namespace tollen::database
