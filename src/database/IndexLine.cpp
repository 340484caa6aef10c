#include "database/IndexLine.h"

#include <array>

namespace tollen::database {

IndexFields splitIndexLine(std::string_view line)
{
    IndexFields fields;
    std::string_view rest = line;
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        const auto separator = rest.find(kFieldSeparator);
        std::string &field = fields[static_cast<IndexField>(index)];
        if (separator == std::string_view::npos) {
            field.assign(rest);
        } else {
            field.assign(rest.substr(0, separator));
            rest.remove_prefix(separator + 1);
        }
    }
    return fields;
}

namespace {

/// Each character as a field of a line may hold it.
constexpr std::array<char, 256> kFieldCharacters = [] {
    std::array<char, 256> characters{};
    for (std::size_t index = 0; index < characters.size(); ++index) {
        characters[index] = static_cast<char>(index);
    }
    characters[static_cast<unsigned char>(kFieldSeparator)] = '\'';
    characters['\r'] = ' ';
    characters['\n'] = ' ';
    return characters;
}();

} // namespace

std::string joinIndexLine(const IndexFields &fields)
{
    std::size_t size = kFieldCount - 1;
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        size += fields[static_cast<IndexField>(index)].size();
    }
    // The separators are in place from the start; each field is written between them.
    std::string line(size, kFieldSeparator);
    char *out = line.data();
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        if (index > 0) {
            ++out;
        }
        for (const char character : fields[static_cast<IndexField>(index)]) {
            *out++ = kFieldCharacters[static_cast<unsigned char>(character)];
        }
    }
    return line;
}

bool IndexLineReader::next(std::string_view &line)
{
    if (m_position >= m_text.size()) {
        return false;
    }
    const auto end = m_text.find('\r', m_position);
    if (end == std::string_view::npos) {
        line = m_text.substr(m_position);
        m_position = m_text.size();
        return true;
    }
    line = m_text.substr(m_position, end - m_position);
    m_position = end + 1;
    if (m_position < m_text.size() && m_text[m_position] == '\n') {
        ++m_position;
    }
    return true;
}

} // namespace tollen::database
