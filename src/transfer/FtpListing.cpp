#include "transfer/FtpListing.h"

#include "core/Text.h"

#include <array>
#include <charconv>
#include <optional>

namespace tollen::transfer {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Seconds from 1601-01-01 to 1970-01-01, and 100-nanosecond intervals per second.
constexpr std::int64_t kEpochDifference = 11644473600;
constexpr std::int64_t kIntervalsPerSecond = 10000000;

struct Token
{
    std::string_view text;
    std::size_t end = 0; // position after the token in the line
};

std::vector<Token> tokenize(std::string_view line, std::size_t limit)
{
    std::vector<Token> tokens;
    std::size_t position = 0;
    while (tokens.size() < limit) {
        while (position < line.size() && line[position] == ' ') {
            ++position;
        }
        if (position >= line.size()) {
            break;
        }
        const std::size_t start = position;
        while (position < line.size() && line[position] != ' ') {
            ++position;
        }
        tokens.push_back({line.substr(start, position - start), position});
    }
    return tokens;
}

template <typename Number> std::optional<Number> number(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

/// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct Clock
{
    int hour = 0;
    int minute = 0;
};

std::optional<Clock> parseClock(std::string_view text)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view minutes = text.substr(colon + 1);
    int offset = 0;
    if (minutes.size() == 4 && (minutes.substr(2) == "AM" || minutes.substr(2) == "PM")) {
        offset = minutes.substr(2) == "PM" ? 12 : 0;
        minutes = minutes.substr(0, 2);
    }
    const auto hour = number<int>(text.substr(0, colon));
    const auto minute = number<int>(minutes);
    if (!hour || !minute || *minute > 59 || *hour > 23 || (minutes.size() != 2)) {
        return std::nullopt;
    }
    int fullHour = *hour;
    if (text.size() > colon + 3) { // an AM/PM clock: 12 AM is midnight, 12 PM noon
        if (*hour < 1 || *hour > 12) {
            return std::nullopt;
        }
        fullHour = *hour % 12 + offset;
    }
    return Clock{fullHour, *minute};
}

std::int64_t fileTime(std::int64_t year, unsigned month, unsigned day, Clock clock)
{
    const std::int64_t seconds =
        daysFromCivil(year, month, day) * kSecondsPerDay + clock.hour * 3600 + clock.minute * 60;
    return (seconds + kEpochDifference) * kIntervalsPerSecond;
}

std::optional<unsigned> monthNumber(std::string_view text)
{
    static constexpr std::array<std::string_view, 12> names = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() != 3) {
        return std::nullopt;
    }
    for (unsigned index = 0; index < names.size(); ++index) {
        bool same = true;
        for (std::size_t i = 0; i < 3; ++i) {
            same = same && asciiLower(text[i]) == names[index][i];
        }
        if (same) {
            return index + 1;
        }
    }
    return std::nullopt;
}

/// The UTC year of a time, counted without the C library, whose calls for it differ between
/// the systems.
int currentYear(std::int64_t nowUnixSeconds)
{
    const std::int64_t days = nowUnixSeconds >= 0
                                  ? nowUnixSeconds / kSecondsPerDay
                                  : (nowUnixSeconds - kSecondsPerDay + 1) / kSecondsPerDay;
    // The inverse of daysFromCivil: eras of 400 years, years starting in March.
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(shifted - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400;
    return static_cast<int>(year + (monthFromMarch >= 10 ? 1 : 0));
}

/// "-rw-r--r--  1 owner group  1234 Mar  5 14:30 name" and its variants.
std::optional<ListingEntry> parseUnixLine(std::string_view line, std::int64_t nowUnixSeconds)
{
    const char kind = line.empty() ? ' ' : line[0];
    if (std::string_view("-dlbcps").find(kind) == std::string_view::npos || line.size() < 10) {
        return std::nullopt;
    }
    const auto tokens = tokenize(line, 9);
    // The month follows the size; the group column may be missing, and an owner or group
    // named like a month may come first, so look for the first columns that fit.
    for (std::size_t index = 3; index + 2 < tokens.size(); ++index) {
        const auto month = monthNumber(tokens[index].text);
        const auto size = number<std::uint64_t>(tokens[index - 1].text);
        const auto day = number<unsigned>(tokens[index + 1].text);
        if (!month || !size || !day || *day < 1 || *day > 31) {
            continue;
        }
        const std::string_view yearOrClock = tokens[index + 2].text;
        std::int64_t written = 0;
        if (const auto clock = parseClock(yearOrClock)) {
            int year = currentYear(nowUnixSeconds);
            written = fileTime(year, *month, *day, *clock);
            const std::int64_t limit =
                (nowUnixSeconds + kSecondsPerDay + kEpochDifference) * kIntervalsPerSecond;
            if (written > limit) {
                written = fileTime(year - 1, *month, *day, *clock);
            }
        } else if (const auto year = number<int>(yearOrClock);
                   year && *year >= 1601 && *year <= 9999) {
            written = fileTime(*year, *month, *day, Clock{});
        } else {
            continue;
        }
        const std::size_t nameStart = tokens[index + 2].end + 1;
        if (nameStart > line.size()) {
            return std::nullopt;
        }
        std::string_view name = line.substr(nameStart);
        if (kind == 'l') {
            name = name.substr(0, name.find(" -> "));
        }
        if (name.empty()) {
            return std::nullopt;
        }
        return ListingEntry{std::string(name), *size, kind == 'd', written};
    }
    return std::nullopt;
}

struct Date
{
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
};

/// "03-05-24" or "03-05-2024" (month first, as IIS writes it) and "2024-03-05" (year first),
/// with "-" or "/" between the parts.
std::optional<Date> parseDosDate(std::string_view text)
{
    const auto separatorAt = [text](std::size_t position) {
        return text[position] == '-' || text[position] == '/';
    };
    std::string_view yearText;
    std::string_view monthText;
    std::string_view dayText;
    if (text.size() == 10 && separatorAt(4) && separatorAt(7)) {
        yearText = text.substr(0, 4);
        monthText = text.substr(5, 2);
        dayText = text.substr(8, 2);
    } else if ((text.size() == 8 || text.size() == 10) && separatorAt(2) && separatorAt(5)) {
        monthText = text.substr(0, 2);
        dayText = text.substr(3, 2);
        yearText = text.substr(6);
    } else {
        return std::nullopt;
    }
    const auto year = number<unsigned>(yearText);
    const auto month = number<unsigned>(monthText);
    const auto day = number<unsigned>(dayText);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) {
        return std::nullopt;
    }
    std::int64_t fullYear = *year;
    if (yearText.size() == 2) {
        fullYear += fullYear < 70 ? 2000 : 1900;
    }
    return Date{fullYear, *month, *day};
}

/// "03-05-24  02:30PM       <DIR>          name" and "2024-03-05  14:30  1234 name" forms.
std::optional<ListingEntry> parseDosLine(std::string_view line)
{
    const auto tokens = tokenize(line, 3);
    if (tokens.size() < 3) {
        return std::nullopt;
    }
    const auto date = parseDosDate(tokens[0].text);
    const auto clock = parseClock(tokens[1].text);
    if (!date || !clock) {
        return std::nullopt;
    }
    // The name starts after the size (or <DIR>) and the blanks that follow it.
    std::size_t position = tokens[2].end - tokens[2].text.size();
    std::size_t sizeEnd = line.find(' ', position);
    if (sizeEnd == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view sizeText = line.substr(position, sizeEnd - position);
    const bool directory = sizeText == "<DIR>";
    const auto size = number<std::uint64_t>(sizeText);
    if (!directory && !size) {
        return std::nullopt;
    }
    position = line.find_first_not_of(' ', sizeEnd);
    if (position == std::string_view::npos) {
        return std::nullopt;
    }
    return ListingEntry{std::string(line.substr(position)), directory ? 0 : *size, directory,
                        fileTime(date->year, date->month, date->day, *clock)};
}

} // namespace

std::vector<ListingEntry> parseListing(std::string_view text, std::int64_t nowUnixSeconds)
{
    std::vector<ListingEntry> entries;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (auto entry = parseUnixLine(line, nowUnixSeconds)) {
            entries.push_back(std::move(*entry));
        } else if (auto dosEntry = parseDosLine(line)) {
            entries.push_back(std::move(*dosEntry));
        }
    }
    return entries;
}

bool matchesPattern(std::string_view pattern, std::string_view name)
{
    // Greedy matching with one backtrack point for the last "*" seen.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        // A "*" is a wildcard even where the name holds a "*" of its own.
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace tollen::transfer
