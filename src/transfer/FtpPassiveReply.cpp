#include "transfer/FtpPassiveReply.h"

#include "core/Text.h"

#include <array>

namespace tollen::transfer {

std::optional<int> passiveReplyPort(std::string_view reply)
{
    if (reply.substr(0, 4) != "227 ") {
        return std::nullopt;
    }
    // Servers put the six numbers in brackets or not: the first digit after the code starts
    // them.
    std::size_t at = reply.find_first_of("0123456789", 4);
    std::array<int, 6> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (at >= reply.size() || !isAsciiDigit(reply[at])) {
            return std::nullopt;
        }
        int value = 0;
        std::size_t digits = 0;
        while (at < reply.size() && isAsciiDigit(reply[at]) && digits < 4) {
            value = value * 10 + (reply[at] - '0');
            ++at;
            ++digits;
        }
        if (value > 255 || (at < reply.size() && isAsciiDigit(reply[at]))) {
            return std::nullopt;
        }
        numbers[i] = value;
        if (i + 1 < numbers.size()) {
            if (at >= reply.size() || reply[at] != ',') {
                return std::nullopt;
            }
            ++at;
        }
    }
    const int port = numbers[4] * 256 + numbers[5];
    return port > 0 ? std::optional<int>(port) : std::nullopt;
}

} // namespace tollen::transfer
