// Fuzzes what decides which driver fits a device: an ID as a user pastes it, the ID list made
// from it, [Models] decorations, driver dates and versions, and the ranking of index lines.
// The first four lines are an ID, a decoration, two dates and two versions (each line "A B");
// the rest is an index file.

#include "FuzzSupport.h"
#include "core/Text.h"
#include "database/DriverMatch.h"
#include "database/DriverVersion.h"
#include "database/ModelsDecoration.h"
#include "database/PastedId.h"
#include "inventory/DeviceInventory.h"

#include <string>
#include <string_view>

using namespace tollen;
using namespace tollen::database;
using tollen::fuzz::require;

namespace {

std::string_view takeLine(std::string_view &text)
{
    const auto end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return line;
}

/// Both orders of a comparison agree, and a text equals itself.
template <class Compare> void requireConsistent(std::string_view pair, Compare compare)
{
    const auto space = pair.find(' ');
    const std::string_view left = pair.substr(0, space);
    const std::string_view right = space == std::string_view::npos ? "" : pair.substr(space + 1);
    require(compare(left, right) == -compare(right, left));
    require(compare(left, left) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text = fuzz::bytesOf(data, size);
    const std::string typed(takeLine(text));
    const std::string_view decoration = takeLine(text);
    requireConsistent(takeLine(text), compareDriverDates);
    requireConsistent(takeLine(text), compareDriverVersions);

    for (const PastedBus bus : {PastedBus::Pci, PastedBus::Usb}) {
        if (const auto id = pastedHardwareId(typed, bus)) {
            require(*id == asciiUpper(*id) && id->find('\\') != std::string::npos);
        }
    }
    // What is not known of the target excludes nothing.
    require(decorationApplies(decoration, {}) != Applicability::DoesNotApply);
    const inventory::TargetSystem target{"amd64", inventory::WindowsVersion{10, 0, 19041}};
    decorationApplies(decoration, target);

    const inventory::Device device = inventory::deviceOfId(typed, "device");
    require(!device.hardwareIds.empty());
    std::vector<IndexFields> rows;
    IndexLineReader lines(text);
    for (std::string_view line; lines.next(line);) {
        rows.push_back(splitIndexLine(line));
    }
    const std::vector<MatchedDriver> ranked = rankMatches(device, rows, target);
    require(ranked.size() <= rows.size());
    std::vector<std::string> ids = device.hardwareIds;
    ids.insert(ids.end(), device.compatibleIds.begin(), device.compatibleIds.end());
    for (std::size_t index = 0; index < ranked.size(); ++index) {
        const MatchedDriver &driver = ranked[index];
        require(driver.idRank < ids.size());
        require(equalsIgnoringCase(ids[driver.idRank], driver.row[IndexField::HardwareId]));
        require(index == 0 || ranked[index - 1].applicability <= driver.applicability);
    }
    return 0;
}
