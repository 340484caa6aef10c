#include "database/RefinementList.h"

#include "core/Text.h"

#include <string_view>
#include <utility>

namespace tollen::database {
namespace {

/// The text between the first and the second "&" of `text` (all of it without "&"), as the
/// program's TextAfter and TextBefore give it.
std::string_view betweenFirstTwoSeparators(std::string_view text)
{
    const auto first = text.find('&');
    if (first != std::string_view::npos) {
        text.remove_prefix(first + 1);
    }
    return text.substr(0, text.find('&'));
}

} // namespace

std::string refinementPiece(const std::string &hardwareId, const std::string &query)
{
    auto found = query.empty() ? std::string::npos : hardwareId.find(query);
    if (found == std::string::npos) {
        return toUpper(betweenFirstTwoSeparators(hardwareId));
    }
    std::string rest;
    std::size_t start = 0;
    for (; found != std::string::npos; found = hardwareId.find(query, start)) {
        rest.append(hardwareId, start, found - start);
        start = found + query.size();
    }
    rest.append(hardwareId, start);
    return toUpper(betweenFirstTwoSeparators(rest));
}

RefinementList::RefinementList(controls::ListBox &List2, std::string query)
    : m_list(List2), m_query(std::move(query))
{
}

void RefinementList::gather(const std::string &hardwareId)
{
    std::string piece = refinementPiece(hardwareId, m_query);
    if (piece.empty()) {
        return;
    }
    if (const auto [listed, added] = m_listed.insert(std::move(piece)); added) {
        m_list.addItem(*listed);
    }
}

} // namespace tollen::database
