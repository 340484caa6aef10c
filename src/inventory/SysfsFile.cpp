#include "inventory/SysfsFile.h"

#include "core/Text.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace tollen::inventory {

namespace {

/// Attribute files hold a line or a number; anything longer is not read further.
constexpr std::size_t kLongestLine = 4096;

} // namespace

std::optional<std::string> readSysfsLine(const std::filesystem::path &file)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::string bytes(kLongestLine, '\0');
    stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (stream.bad()) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(stream.gcount()));
    bytes = bytes.substr(0, bytes.find_first_of("\r\n"));
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    return trimSpaces(decodeFileText(bytes));
}

std::optional<std::uint32_t> readSysfsHex(const std::filesystem::path &file)
{
    const auto line = readSysfsLine(file);
    if (!line) {
        return std::nullopt;
    }
    std::string_view digits = *line;
    if (digits.substr(0, 2) == "0x" || digits.substr(0, 2) == "0X") {
        digits.remove_prefix(2);
    }
    std::uint32_t number = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

std::string sysfsDriverName(const std::filesystem::path &entry)
{
    std::error_code error;
    const auto target = std::filesystem::read_symlink(entry / "driver", error);
    return error ? std::string() : target.filename().string();
}

std::vector<std::filesystem::path> sysfsEntries(const std::filesystem::path &folder)
{
    std::vector<std::filesystem::path> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace tollen::inventory
