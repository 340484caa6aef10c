// Fuzzes the reader of raw FTP LIST output, the name pattern matcher on its names, and the
// reader of the answer to PASV.

#include "FuzzSupport.h"
#include "transfer/FtpListing.h"
#include "transfer/FtpPassiveReply.h"

#include <algorithm>
#include <string_view>

using namespace tollen;
using namespace tollen::transfer;
using tollen::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text = fuzz::bytesOf(data, size);
    const auto port = passiveReplyPort(text);
    require(!port || (*port >= 1 && *port <= 65535));
    // A fixed "now" (2024-06-15 12:00 UTC), so a run is the same whenever it is made.
    const auto entries = parseListing(text, 1718452800);
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    require(entries.size() <= lines);
    for (const ListingEntry &entry : entries) {
        require(!entry.name.empty());
        require(entry.name.find('\n') == std::string::npos);
        require(matchesPattern(entry.name, entry.name));
        require(matchesPattern("*", entry.name));
        // The input's first line as a pattern: any answer will do, but it must come.
        static_cast<void>(matchesPattern(text.substr(0, text.find('\n')), entry.name));
    }
    return 0;
}
