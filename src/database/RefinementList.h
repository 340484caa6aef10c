#pragma once
// The refinement list "Subsys/DEVs" (List2): after a shallow query it offers the next piece of
// each listed hardware identifier, so that the user can go one level deeper with a
// double-click.

#include "controls/ListBox.h"

#include <string>
#include <unordered_set>

namespace tollen::database {

/// The piece that follows the query in a listed hardware identifier, in upper case: every
/// occurrence of the query (letter case counts) is removed from `hardwareId`, and of what is
/// left the text between the first and the second "&" is the piece. Empty when there is none.
/// An identifier written in another case than the query keeps its first pieces, so the piece
/// after its first "&" is taken instead.
std::string refinementPiece(const std::string &hardwareId, const std::string &query);

/// Gathers the pieces of one query's rows into the list, each once (letter case ignored), in
/// order of first appearance. The list must have been emptied for this query.
class RefinementList
{
public:
    RefinementList(controls::ListBox &List2, std::string query);

    void gather(const std::string &hardwareId);

private:
    controls::ListBox &m_list;
    std::string m_query;
    /// The pieces in the list. They are upper case, so a piece equal to one of them ignoring
    /// case is equal to it exactly: looking it up here is the list's own case-blind search
    /// without walking the list for every row, which an index of many thousand distinct
    /// identifiers would make quadratic.
    std::unordered_set<std::string> m_listed;
};

} // namespace tollen::database
