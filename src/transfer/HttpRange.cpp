#include "transfer/HttpRange.h"

#include "core/Text.h"
#include "transfer/HttpHeaderValue.h"
#include "transfer/HttpStatus.h"

#include <limits>

namespace tollen::transfer {
namespace {

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

/// The leading digits of a header value as a number; no digits give 0, too many the largest.
std::int64_t leadingNumber(std::string_view text)
{
    std::int64_t value = 0;
    for (const char character : text) {
        if (!isAsciiDigit(character)) {
            break;
        }
        if (value > (kLargest - 9) / 10) {
            return kLargest;
        }
        value = value * 10 + (character - '0');
    }
    return value;
}

/// The number that makes up the whole of `text`; nothing when it holds anything else.
std::optional<std::int64_t> wholeNumber(std::string_view text)
{
    if (text.empty() || text.size() > 18) {
        return std::nullopt;
    }
    for (const char character : text) {
        if (!isAsciiDigit(character)) {
            return std::nullopt;
        }
    }
    return leadingNumber(text);
}

/// The part "bytes FIRST-LAST/SIZE" names; nothing for any other form (an unknown size "*",
/// another unit, a range outside the file).
std::optional<HttpPart> contentRange(std::string_view range)
{
    constexpr std::string_view kUnit = "bytes ";
    if (range.size() < kUnit.size() || !equalsIgnoringCase(range.substr(0, kUnit.size()), kUnit)) {
        return std::nullopt;
    }
    range.remove_prefix(kUnit.size());
    const auto dash = range.find('-');
    const auto slash = range.find('/');
    if (dash == std::string_view::npos || slash == std::string_view::npos || slash < dash) {
        return std::nullopt;
    }
    const auto first = wholeNumber(range.substr(0, dash));
    const auto last = wholeNumber(range.substr(dash + 1, slash - dash - 1));
    const auto size = wholeNumber(range.substr(slash + 1));
    if (!first || !last || !size || *last < *first || *last >= *size) {
        return std::nullopt;
    }
    return HttpPart{*first, *last - *first + 1, *size};
}

} // namespace

std::optional<HttpPart> answeredPart(std::string_view header, std::int64_t start)
{
    const int status = httpStatusCode(header);
    if (status == 200 && start == 0) {
        return HttpPart{0, std::nullopt, leadingNumber(httpHeaderValue(header, "Content-Length"))};
    }
    if (status != 206) {
        return std::nullopt;
    }
    const auto part = contentRange(httpHeaderValue(header, "Content-Range"));
    if (!part || part->first != start) {
        return std::nullopt;
    }
    return part;
}

std::string rangeRequest(std::int64_t start)
{
    return "Range: bytes=" + std::to_string(start) + "-\r\n";
}

std::int64_t requestedStart(std::string_view requestHeaders)
{
    constexpr std::string_view kUnit = "bytes=";
    const std::string range = httpHeaderValue(requestHeaders, "Range");
    if (range.size() <= kUnit.size() || range.back() != '-' ||
        !equalsIgnoringCase(std::string_view(range).substr(0, kUnit.size()), kUnit)) {
        return 0;
    }
    return wholeNumber(
               std::string_view(range).substr(kUnit.size(), range.size() - kUnit.size() - 1))
        .value_or(0);
}

std::string fileVersion(std::string_view header)
{
    const std::string tag = httpHeaderValue(header, "ETag");
    // A weak tag names content that may differ byte by byte: parts cannot be joined by it.
    if (!tag.empty() && !tag.starts_with("W/")) {
        return tag;
    }
    return httpHeaderValue(header, "Last-Modified");
}

} // namespace tollen::transfer
