#include "database/DriverVersion.h"

#include "core/Text.h"

#include <array>
#include <compare>
#include <cstdint>

namespace tollen::database {
namespace {

/// The parts of a version: four numbers, missing ones 0.
using VersionParts = std::array<std::uint32_t, 4>;

std::optional<int> dateKey(std::string_view year, std::string_view month, std::string_view day)
{
    const auto y = wholeNumber<int>(year);
    const auto m = wholeNumber<int>(month);
    const auto d = wholeNumber<int>(day);
    if (year.size() != 4 || month.size() > 2 || day.size() > 2 || !y || !m || !d || *m < 1 ||
        *m > 12 || *d < 1 || *d > 31) {
        return std::nullopt;
    }
    return *y * 10000 + *m * 100 + *d;
}

/// The text before the first `separator`, between it and the second, and after the second;
/// nullopt when there are fewer than two (a third one is left in the last part, which then reads
/// as no number).
std::optional<std::array<std::string_view, 3>> dateParts(std::string_view date, char separator)
{
    const auto first = date.find(separator);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const auto second = date.find(separator, first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    return std::array{date.substr(0, first), date.substr(first + 1, second - first - 1),
                      date.substr(second + 1)};
}

std::optional<VersionParts> versionParts(std::string_view version)
{
    VersionParts parts{};
    std::string_view rest = trimBlanks(version);
    for (std::uint32_t &part : parts) {
        const auto dot = rest.find('.');
        const auto value = wholeNumber<std::uint32_t>(rest.substr(0, dot));
        if (!value) {
            return std::nullopt;
        }
        part = *value;
        if (dot == std::string_view::npos) {
            return parts;
        }
        rest.remove_prefix(dot + 1);
    }
    return std::nullopt;
}

/// -1, 0, 1 for two values of which nullopt is the lowest.
template <typename Value>
int compareReadable(const std::optional<Value> &left, const std::optional<Value> &right)
{
    const auto order = left <=> right;
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

std::optional<int> driverDateKey(std::string_view date)
{
    if (const auto parts = dateParts(date, '/')) {
        return dateKey((*parts)[2], (*parts)[0], (*parts)[1]);
    }
    const auto parts = dateParts(date, '-');
    if (!parts) {
        return std::nullopt;
    }
    // A four-digit first part is a year ("2023-08-19"); the registry writes "6-21-2006".
    if ((*parts)[0].size() == 4) {
        return (*parts)[1].size() == 2 && (*parts)[2].size() == 2
                   ? dateKey((*parts)[0], (*parts)[1], (*parts)[2])
                   : std::nullopt;
    }
    return dateKey((*parts)[2], (*parts)[0], (*parts)[1]);
}

int compareDriverDates(std::string_view left, std::string_view right)
{
    return compareReadable(driverDateKey(left), driverDateKey(right));
}

int compareDriverVersions(std::string_view left, std::string_view right)
{
    return compareReadable(versionParts(left), versionParts(right));
}

} // namespace tollen::database
