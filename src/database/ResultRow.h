#pragma once
// A driver result row of the results list ListView2, made from one line of an index file.

#include "controls/ListView.h"
#include "database/IndexLine.h"

#include <string>
#include <vector>

namespace tollen::database {

/// The row's cells in the list's column order: the manufacturer, then device name, hardware ID,
/// class, the operating system the decoration stands for (the decoration itself when the table
/// has no row for it), version, date, remote path and type. The fields move into the cells.
std::vector<std::string> resultRowCells(IndexFields &&fields);

/// Appends the row of `fields`; returns the row's position.
int addResultRow(controls::ListView &ListView2, IndexFields &&fields);

} // namespace tollen::database
