#pragma once
// Where a query's index file lies in the driver database: a query such as
// "PCI\VEN_8086&DEV_100E" names the bus and up to four identifier pieces, and its index file is
// /DIRSTRUCT/pci/VEN_8086/DEV_100E/index.txt (IndexTree.h: the bus in lower case, the pieces as
// written).

#include "database/IndexTree.h"

#include <string>
#include <vector>

namespace tollen::database {

/// The largest number of pieces a query path holds; later pieces are not used.
inline constexpr int kMaximumPieces = static_cast<int>(kDeepestPiece);

struct QueryPath
{
    /// The text before the first backslash as its folder is named (the whole query when it has
    /// none).
    std::string bus;
    /// The pieces of the path, at most four.
    std::vector<std::string> pieces;
    /// The query's detail level as the split counts it: the number of pieces taken, or 5 when
    /// text was left after the fourth.
    int pieceCount = 1;

    /// Splits a query: the bus, then the text after its backslash at each "&". An empty piece
    /// counts ("A&&B" has three pieces); an "&" at the very end starts none.
    static QueryPath fromQuery(const std::string &query);

    /// "/DIRSTRUCT/" and the bus, then "/" and each piece.
    std::string directory() const;
    /// The index file of the directory.
    std::string indexFile() const;
    /// Whether the query gathers the next pieces of the listed identifiers for refinement: PCI
    /// and HD-audio queries of one or two pieces, USB queries of one.
    bool refinementMode() const;
};

} // namespace tollen::database
