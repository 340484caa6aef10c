#include "inventory/ProfileFile.h"

#include "core/AtomicFileWriter.h"
#include "core/Text.h"

namespace tollen::inventory {

namespace {

/// The lines of a text as the profile reader sees them.
std::vector<std::string_view> profileLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\r', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

} // namespace

std::vector<DeviceRecord> parseProfile(std::string_view text)
{
    const auto lines = profileLines(text);
    std::vector<DeviceRecord> records;
    records.reserve((lines.size() + 1) / 2);
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        records.push_back(DeviceRecord{
            toUpper(lines[i]), i + 1 < lines.size() ? std::string(lines[i + 1]) : std::string()});
    }
    return records;
}

std::string formatProfile(const controls::ListView &ListView1)
{
    std::string text;
    for (int row = 1; row <= ListView1.rowCount(); ++row) {
        text += ListView1.text(row);
        text += "\r\n";
        text += ListView1.subItem(row, 1);
        text += "\r\n";
    }
    return text;
}

Error writeProfile(const controls::ListView &ListView1, const std::filesystem::path &file)
{
    return writeFileAtomically(file, formatProfile(ListView1));
}

} // namespace tollen::inventory
