#include "database/IndexLine.h"

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

std::string joinIndexLine(const IndexFields &fields)
{
    std::string line;
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        if (index > 0) {
            line += kFieldSeparator;
        }
        for (const char character : fields[static_cast<IndexField>(index)]) {
            switch (character) {
            case kFieldSeparator:
                line += '\'';
                break;
            case '\r':
            case '\n':
                line += ' ';
                break;
            default:
                line += character;
            }
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
