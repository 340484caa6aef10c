#include "transfer/HttpStatus.h"

#include "core/Text.h"

#include <algorithm>

namespace tollen::transfer {

int httpStatusCode(std::string_view header)
{
    const std::string_view line = header.substr(0, header.find_first_of("\r\n"));
    const auto space = line.find(' ');
    if (line.rfind("HTTP/", 0) != 0 || space == std::string_view::npos) {
        return 0;
    }
    const std::string_view code = line.substr(space + 1, 3);
    const std::string_view rest = line.substr(space + 1 + code.size());
    if (code.size() != 3 || !std::all_of(code.begin(), code.end(), isAsciiDigit) ||
        (!rest.empty() && rest.front() != ' ')) {
        return 0;
    }
    return (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

} // namespace tollen::transfer
