#include "database/DriverRanking.h"

#include "core/Text.h"
#include "database/IndexTree.h"

#include <algorithm>
#include <optional>
#include <span>
#include <tuple>

namespace tollen::database {

namespace {

struct IdPieces
{
    std::string_view bus;
    std::vector<std::string_view> pieces;
};

IdPieces splitId(std::string_view id)
{
    const IdSplit bus = splitBus(id);
    IdPieces split{bus.front, {}};
    for (std::optional<std::string_view> rest = bus.rest; rest;) {
        const IdSplit piece = splitPiece(*rest);
        split.pieces.push_back(piece.front);
        rest = piece.rest;
    }
    return split;
}

/// How many pieces the two IDs share from their start; nullopt when their buses differ.
std::optional<std::size_t> commonPieces(const IdPieces &left, const IdPieces &right)
{
    if (!equalsIgnoringCase(left.bus, right.bus)) {
        return std::nullopt;
    }
    std::size_t count = 0;
    while (count < left.pieces.size() && count < right.pieces.size() &&
           equalsIgnoringCase(left.pieces[count], right.pieces[count])) {
        ++count;
    }
    return count;
}

bool isVendorPiece(std::string_view piece)
{
    return startsWithIgnoringCase(piece, "VEN_") || startsWithIgnoringCase(piece, "VID_");
}

bool isDevicePiece(std::string_view piece)
{
    return startsWithIgnoringCase(piece, "DEV_") || startsWithIgnoringCase(piece, "PID_");
}

bool isSubsystemPiece(std::string_view piece)
{
    return startsWithIgnoringCase(piece, "SUBSYS_");
}

} // namespace

std::string_view describe(MatchReason reason)
{
    switch (reason) {
    case MatchReason::ExactId:
        return "exact ID";
    case MatchReason::SameSubsystem:
        return "same subsystem";
    case MatchReason::SameDevice:
        return "same device";
    case MatchReason::SameVendor:
        return "same vendor";
    case MatchReason::SameBus:
        return "same bus";
    case MatchReason::OtherBus:
        break;
    }
    return "other bus";
}

MatchReason matchReason(std::string_view deviceId, std::string_view hardwareId)
{
    const IdPieces device = splitId(deviceId);
    const IdPieces driver = splitId(hardwareId);
    const auto common = commonPieces(device, driver);
    if (!common) {
        return MatchReason::OtherBus;
    }
    if (*common == device.pieces.size() && *common == driver.pieces.size()) {
        return MatchReason::ExactId;
    }
    const auto shared = std::span(device.pieces).first(*common);
    if (std::ranges::any_of(shared, isSubsystemPiece)) {
        return MatchReason::SameSubsystem;
    }
    if (std::ranges::any_of(shared, isDevicePiece)) {
        return MatchReason::SameDevice;
    }
    if (std::ranges::any_of(shared, isVendorPiece)) {
        return MatchReason::SameVendor;
    }
    return MatchReason::SameBus;
}

bool namesDevice(std::string_view deviceId, std::string_view hardwareId)
{
    const IdPieces device = splitId(deviceId);
    const IdPieces driver = splitId(hardwareId);
    const auto common = commonPieces(device, driver);
    return common && *common == driver.pieces.size();
}

std::vector<std::size_t> rankDrivers(std::string_view deviceId,
                                     const std::vector<DriverCandidate> &drivers)
{
    struct Key
    {
        // Lower sorts first: drivers naming the device by their piece count, longest first;
        // all others after them.
        int rank;
        // Newer dates first; a date that cannot be read is older than any.
        int newness;
    };
    const IdPieces device = splitId(deviceId);
    std::vector<Key> keys;
    keys.reserve(drivers.size());
    for (const DriverCandidate &driver : drivers) {
        const int unnamed = static_cast<int>(device.pieces.size()) + 1;
        int rank = unnamed;
        if (namesDevice(deviceId, driver.hardwareId)) {
            rank = unnamed - static_cast<int>(splitId(driver.hardwareId).pieces.size()) - 1;
        }
        keys.push_back(Key{rank, -driverDateKey(driver.date).value_or(-1)});
    }
    std::vector<std::size_t> order(drivers.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::ranges::stable_sort(order, [&](std::size_t left, std::size_t right) {
        return std::tie(keys[left].rank, keys[left].newness) <
               std::tie(keys[right].rank, keys[right].newness);
    });
    return order;
}

std::size_t vendorLevel(const std::vector<std::string> &criteria)
{
    for (std::size_t level = 0; level < criteria.size(); ++level) {
        const auto pieces = splitId(criteria[level]).pieces;
        if (!pieces.empty() && isVendorPiece(pieces.back())) {
            return level;
        }
    }
    return 0;
}

} // namespace tollen::database
