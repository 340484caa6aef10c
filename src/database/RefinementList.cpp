#include "database/RefinementList.h"

#include "core/Text.h"
#include "inventory/TextRoutines.h"

#include <utility>

namespace tollen::database {
namespace {

std::string withoutOccurrences(const std::string &text, const std::string &removed)
{
    if (removed.empty()) {
        return text;
    }
    std::string result;
    std::size_t start = 0;
    for (auto found = text.find(removed); found != std::string::npos;
         found = text.find(removed, start)) {
        result.append(text, start, found - start);
        start = found + removed.size();
    }
    result.append(text, start);
    return result;
}

} // namespace

std::string refinementPiece(const std::string &hardwareId, const std::string &query)
{
    const std::string rest = inventory::TextAfter(withoutOccurrences(hardwareId, query), '&');
    return toUpper(inventory::TextBefore(rest, '&'));
}

RefinementList::RefinementList(ui::ListBox &List2, std::string query)
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
