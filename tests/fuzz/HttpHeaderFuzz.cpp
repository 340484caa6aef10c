// Fuzzes the reading of an HTTP response header's status code and named values, and of the
// byte a request's range asks from.

#include "FuzzSupport.h"
#include "core/Text.h"
#include "transfer/HttpHeaderValue.h"
#include "transfer/HttpRange.h"
#include "transfer/HttpStatus.h"

#include <string>
#include <string_view>

using namespace tollen;
using namespace tollen::transfer;
using tollen::fuzz::require;

namespace {

void requireCleanValue(std::string_view header, const std::string &value)
{
    require(value.find('\n') == std::string::npos);
    const std::string_view blank = " \t\r";
    require(value.empty() || (blank.find(value.front()) == std::string_view::npos &&
                              blank.find(value.back()) == std::string_view::npos));
    require(header.find(value) != std::string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view header = fuzz::bytesOf(data, size);
    const int status = httpStatusCode(header);
    require(status >= 0 && status <= 999);

    for (const char *name : {"Content-Length", "Content-Range", "Location", ""}) {
        requireCleanValue(header, httpHeaderValue(header, name));
    }

    const std::string probeName = "X-Tollen-Probe";
    const std::string withProbe = std::string(header) + "\r\nx-tollen-probe: 4711 \r\n";
    if (asciiLower(header).find("x-tollen-probe") == std::string::npos) {
        require(httpHeaderValue(withProbe, probeName) == "4711");
    }

    // The byte a request asks from: never negative, and the one the window's range names.
    require(requestedStart(header) >= 0);
    const auto start = static_cast<std::int64_t>(size);
    require(requestedStart(std::string(header) + "\r\n" + rangeRequest(start)) == start ||
            asciiLower(header).find("range") != std::string::npos);

    const std::string withStatus = "HTTP/2 206\r\n" + std::string(header);
    require(httpStatusCode(withStatus) == 206);
    return 0;
}
