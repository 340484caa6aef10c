#pragma once
// The program's tagged value: a value that carries its own kind. The registry class, the FTP
// class and the directory list pass these between callers that decide by kind.

#include <compare>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tollen {

using ByteArray = std::vector<std::uint8_t>;

/// Days since 1899-12-30 00:00; the fraction is the time of day.
struct DateTime
{
    double days = 0.0;
    auto operator<=>(const DateTime &) const = default;
};

using TaggedValue = std::variant<std::monostate, std::int16_t, std::int32_t, std::string, ByteArray,
                                 bool, DateTime>;

inline bool isEmpty(const TaggedValue &value)
{
    return std::holds_alternative<std::monostate>(value);
}

/// True for the two integer kinds, the only kinds a DWORD write accepts.
inline bool isInteger(const TaggedValue &value)
{
    return std::holds_alternative<std::int16_t>(value) ||
           std::holds_alternative<std::int32_t>(value);
}

/// The value converted to text as the program shows it: empty gives "", integers their decimal
/// form, Booleans "True" or "False", byte arrays their bytes as characters, date-times the
/// number of days.
std::string toText(const TaggedValue &value);

} // namespace tollen
