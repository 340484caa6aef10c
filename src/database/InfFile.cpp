#include "database/InfFile.h"

#include "database/AsciiText.h"

namespace tollen::database {
namespace {

constexpr char kQuote = '"';
constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);

/// The line up to its comment: the first ";" outside double quotes.
std::string_view withoutComment(std::string_view line)
{
    bool quoted = false;
    for (std::size_t index = 0; index < line.size(); ++index) {
        if (line[index] == kQuote) {
            quoted = !quoted;
        } else if (line[index] == ';' && !quoted) {
            return line.substr(0, index);
        }
    }
    return line;
}

/// Position of the first `separator` outside double quotes, or npos.
std::size_t findUnquoted(std::string_view text, char separator, std::size_t from = 0)
{
    bool quoted = false;
    for (std::size_t index = from; index < text.size(); ++index) {
        if (text[index] == kQuote) {
            quoted = !quoted;
        } else if (text[index] == separator && !quoted) {
            return index;
        }
    }
    return std::string_view::npos;
}

/// One part of a line with its surrounding blanks trimmed and its quotes removed; "" inside
/// quotes is one quote, an unclosed quote runs to the end.
std::string unquote(std::string_view part)
{
    part = trimBlanks(part);
    std::string result;
    result.reserve(part.size());
    bool quoted = false;
    for (std::size_t index = 0; index < part.size(); ++index) {
        const char character = part[index];
        if (character != kQuote) {
            result += character;
        } else if (quoted && index + 1 < part.size() && part[index + 1] == kQuote) {
            result += kQuote;
            ++index;
        } else {
            quoted = !quoted;
        }
    }
    return result;
}

/// Splits a line into the raw text left of its first "=" outside quotes and the text right of
/// it; without such an "=", there is no key and the whole line is the value text.
std::pair<std::optional<std::string_view>, std::string_view> splitKey(std::string_view line)
{
    const std::size_t equals = findUnquoted(line, '=');
    if (equals == std::string_view::npos) {
        return {std::nullopt, line};
    }
    return {line.substr(0, equals), line.substr(equals + 1)};
}

InfLine parseLine(std::string_view line)
{
    InfLine parsed;
    const auto [key, valueText] = splitKey(line);
    if (key) {
        parsed.key = unquote(*key);
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = findUnquoted(valueText, ',', start);
        parsed.values.push_back(unquote(valueText.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return parsed;
}

bool isStringsSectionName(std::string_view lowerName)
{
    return lowerName == "strings" || lowerName.starts_with("strings.");
}

} // namespace

InfFile::InfFile(std::string text) : m_text(std::move(text))
{
    readLines();
    if (m_unclosedSectionName) {
        m_sections.clear();
        m_sectionIndex.clear();
        m_joinedLines.clear();
        return;
    }
    readStringTables();
}

void InfFile::readLines()
{
    const std::string_view text = m_text;
    std::size_t current = kNoSection;
    std::string joined;
    bool joining = false;
    std::size_t position = 0;
    while (position < text.size() && !m_unclosedSectionName) {
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = withoutComment(text.substr(position, end - position));
        position = end;
        if (position < text.size()) {
            const bool crLf =
                text[position] == '\r' && position + 1 < text.size() && text[position + 1] == '\n';
            position += crLf ? 2 : 1;
        }
        const std::string_view trimmed = trimBlanks(line);
        const bool continues = !trimmed.empty() && trimmed.back() == '\\';
        if (continues) {
            line = line.substr(0, line.find_last_of('\\'));
        }
        if (joining || continues) {
            joined += line;
            joining = continues;
            if (!joining) {
                m_joinedLines.push_back(std::make_unique<std::string>(std::move(joined)));
                joined.clear();
                addLine(*m_joinedLines.back(), current);
            }
        } else {
            addLine(line, current);
        }
    }
    if (joining) {
        m_joinedLines.push_back(std::make_unique<std::string>(std::move(joined)));
        addLine(*m_joinedLines.back(), current);
    }
}

void InfFile::addLine(std::string_view line, std::size_t &current)
{
    line = trimBlanks(line);
    if (line.empty()) {
        return;
    }
    if (line.front() != '[') {
        // Lines before the first section belong to none.
        if (current != kNoSection) {
            m_sections[current].lines.push_back(line);
        }
        return;
    }
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        m_unclosedSectionName = true;
        return;
    }
    const std::string name = asciiLower(trimBlanks(line.substr(1, close - 1)));
    const auto [found, added] = m_sectionIndex.try_emplace(name, m_sections.size());
    if (added) {
        m_sections.emplace_back();
    }
    current = found->second;
}

const InfFile::Section *InfFile::findSection(std::string_view name) const
{
    const auto found = m_sectionIndex.find(asciiLower(name));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

bool InfFile::hasSection(std::string_view name) const
{
    return findSection(name) != nullptr;
}

std::vector<InfLine> InfFile::section(std::string_view name) const
{
    std::vector<InfLine> lines;
    if (const Section *found = findSection(name)) {
        lines.reserve(found->lines.size());
        for (const std::string_view line : found->lines) {
            lines.push_back(parseLine(line));
        }
    }
    return lines;
}

void InfFile::readStringTables()
{
    // The first other [Strings.*] section is the first in file order, so walk the names in the
    // order their sections were first opened.
    std::vector<std::pair<std::size_t, std::string_view>> localized;
    for (const auto &[name, index] : m_sectionIndex) {
        if (isStringsSectionName(name) && name != "strings" && name != "strings.0409") {
            localized.emplace_back(index, name);
        }
    }
    std::vector<std::string> order = {"strings", "strings.0409"};
    if (!localized.empty()) {
        order.emplace_back(std::min_element(localized.begin(), localized.end())->second);
    }
    for (const std::string &name : order) {
        StringTable table;
        if (const Section *strings = findSection(name)) {
            for (const std::string_view line : strings->lines) {
                // A string's value is the whole text right of "=": commas stay part of it.
                const auto [key, value] = splitKey(line);
                if (key) {
                    table.try_emplace(asciiLower(unquote(*key)), unquote(value));
                }
            }
        }
        m_stringTables.push_back(std::move(table));
    }
}

const std::string *InfFile::lookUpString(std::string_view token) const
{
    const std::string key = asciiLower(token);
    for (const StringTable &table : m_stringTables) {
        if (const auto found = table.find(key); found != table.end()) {
            return &found->second;
        }
    }
    return nullptr;
}

std::string InfFile::substituteStrings(std::string_view value) const
{
    std::string result;
    std::size_t position = 0;
    while (position < value.size()) {
        const std::size_t open = value.find('%', position);
        const std::size_t close = open == std::string_view::npos ? open : value.find('%', open + 1);
        if (close == std::string_view::npos) {
            result += value.substr(position);
            break;
        }
        result += value.substr(position, open - position);
        const std::string_view token = value.substr(open + 1, close - open - 1);
        if (token.empty()) {
            result += '%';
        } else if (const std::string *replacement = lookUpString(token)) {
            result += *replacement;
        } else {
            result += value.substr(open, close - open + 1);
        }
        position = close + 1;
    }
    return result;
}

} // namespace tollen::database
