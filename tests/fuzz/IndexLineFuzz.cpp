// Fuzzes the reading of an index file as a query does it: lines, fields and the refinement list.

#include "FuzzSupport.h"
#include "core/Text.h"
#include "database/IndexLine.h"
#include "database/RefinementList.h"

#include <string>
#include <string_view>

using namespace tollen;
using namespace tollen::database;
using tollen::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text = fuzz::bytesOf(data, size);
    // The first line is the query the refinement rule works with; the rest the index file.
    const auto queryEnd = text.find('\n');
    const std::string query(text.substr(0, queryEnd));
    text = queryEnd == std::string_view::npos ? std::string_view() : text.substr(queryEnd + 1);

    controls::ListBox List2;
    RefinementList refinement(List2, query);
    IndexLineReader reader(text);
    std::string_view line;
    std::size_t lineCount = 0;
    while (reader.next(line)) {
        ++lineCount;
        require(line.find('\r') == std::string_view::npos);
        const IndexFields fields = splitIndexLine(line);
        const std::string joined = joinIndexLine(fields);
        const IndexFields again = splitIndexLine(joined);
        for (std::size_t index = 0; index < kFieldCount; ++index) {
            const std::string &field = fields[static_cast<IndexField>(index)];
            require(field.find(kFieldSeparator) == std::string::npos);
            if (field.find('\n') == std::string::npos) {
                require(again[static_cast<IndexField>(index)] == field);
            }
        }
        require(joinIndexLine(again) == joined);

        const std::string &hardwareId = fields[IndexField::HardwareId];
        const std::string piece = refinementPiece(hardwareId, query);
        require(piece.find('&') == std::string::npos);
        require(piece == toUpper(piece));
        refinement.gather(hardwareId);
    }
    require(static_cast<std::size_t>(List2.count()) <= lineCount);
    for (int index = 0; index < List2.count(); ++index) {
        require(!List2.item(index).empty());
        require(List2.findStringExact(List2.item(index)) == index);
    }
    return 0;
}
