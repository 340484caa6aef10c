#include "builder/InfFile.h"

#include "core/Text.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tollen::builder {
namespace {

constexpr char kQuote = '"';
constexpr char kContinuation = '\\';

/// Position of the first `separator` outside double quotes, or npos.
std::size_t findUnquoted(std::string_view text, char separator, std::size_t from = 0)
{
    std::size_t found = text.find(separator, from);
    std::size_t index = from;
    while (found != std::string_view::npos) {
        // Only the text before the separator is searched for a quote, so that the calls for
        // each value of a long line read it once.
        const std::size_t open = text.substr(0, found).find(kQuote, index);
        if (open == std::string_view::npos) {
            return found;
        }
        const std::size_t close = text.find(kQuote, open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        index = close + 1;
        if (found < index) {
            found = text.find(separator, index);
        }
    }
    return std::string_view::npos;
}

/// Finds one character again and again in a text read from its start to its end, searching each
/// stretch once: the lines of a file that ends its lines with CR alone search it for LF once.
class NextCharacter
{
public:
    explicit NextCharacter(char wanted) : m_wanted(wanted) {}

    /// The first position of the character from `from` on, or the text's size.
    std::size_t find(std::string_view text, std::size_t from)
    {
        if (!m_searched || m_found < from) {
            m_found = std::min(text.find(m_wanted, from), text.size());
            m_searched = true;
        }
        return m_found;
    }

private:
    char m_wanted;
    std::size_t m_found = 0;
    bool m_searched = false;
};

/// Appends one part of a line with its surrounding blanks trimmed and its quotes removed; ""
/// inside quotes is one quote, an unclosed quote runs to the end.
void appendUnquoted(std::string &out, std::string_view part)
{
    part = trimBlanks(part);
    if (part.find(kQuote) == std::string_view::npos) {
        out += part;
        return;
    }
    bool quoted = false;
    for (std::size_t index = 0; index < part.size(); ++index) {
        const char character = part[index];
        if (character != kQuote) {
            out += character;
        } else if (quoted && index + 1 < part.size() && part[index + 1] == kQuote) {
            out += kQuote;
            ++index;
        } else {
            quoted = !quoted;
        }
    }
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

/// Takes the first of the logical lines off `lines`.
std::string_view takeLine(std::string_view &lines)
{
    const std::size_t end = lines.find('\n');
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    return line;
}

/// Parses a line into `parsed`, reusing its strings' room from the line before.
void parseLine(std::string_view line, InfLine &parsed)
{
    const auto [key, valueText] = splitKey(line);
    if (key) {
        parsed.key.emplace();
        appendUnquoted(*parsed.key, *key);
    } else {
        parsed.key.reset();
    }
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = findUnquoted(valueText, ',', start);
        if (count == parsed.values.size()) {
            parsed.values.emplace_back();
        }
        std::string &value = parsed.values[count++];
        value.clear();
        appendUnquoted(value, valueText.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    parsed.values.resize(count);
}

/// The characters of a name or key, lower-cased and, for a key, with its quotes removed as
/// appendUnquoted() removes them: names and keys are compared without copying them.
class FoldedCharacters
{
public:
    FoldedCharacters(std::string_view text, bool removeQuotes)
        : m_text(text), m_removeQuotes(removeQuotes)
    {
    }

    bool next(unsigned char &character)
    {
        while (m_index < m_text.size()) {
            const char read = m_text[m_index++];
            if (read != kQuote || !m_removeQuotes) {
                character = static_cast<unsigned char>(asciiLower(read));
                return true;
            }
            if (m_quoted && m_index < m_text.size() && m_text[m_index] == kQuote) {
                ++m_index;
                character = kQuote;
                return true;
            }
            m_quoted = !m_quoted;
        }
        return false;
    }

private:
    std::string_view m_text;
    std::size_t m_index = 0;
    bool m_removeQuotes;
    bool m_quoted = false;
};

/// Below zero, zero or above zero as `left` sorts before, with or after `right`.
int compareFolded(FoldedCharacters left, FoldedCharacters right)
{
    for (;;) {
        unsigned char leftCharacter = 0;
        unsigned char rightCharacter = 0;
        const bool leftHas = left.next(leftCharacter);
        const bool rightHas = right.next(rightCharacter);
        if (!leftHas || !rightHas) {
            return static_cast<int>(leftHas) - static_cast<int>(rightHas);
        }
        if (leftCharacter != rightCharacter) {
            return leftCharacter < rightCharacter ? -1 : 1;
        }
    }
}

/// compareFolded() for names, which keep their quotes: the common case, made quick.
int compareNames(std::string_view left, std::string_view right)
{
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t index = 0; index < common; ++index) {
        const auto leftCharacter = static_cast<unsigned char>(asciiLower(left[index]));
        const auto rightCharacter = static_cast<unsigned char>(asciiLower(right[index]));
        if (leftCharacter != rightCharacter) {
            return leftCharacter < rightCharacter ? -1 : 1;
        }
    }
    return left.size() == right.size() ? 0 : left.size() < right.size() ? -1 : 1;
}

/// compareFolded() for a key of a [Strings] section and either another key or a token, which is
/// taken as written.
int compareKeys(std::string_view key, std::string_view other, bool otherIsKey)
{
    const bool quoted = key.find(kQuote) != std::string_view::npos ||
                        (otherIsKey && other.find(kQuote) != std::string_view::npos);
    return quoted ? compareFolded({key, true}, {other, otherIsKey}) : compareNames(key, other);
}

bool isLocalizedStringsName(std::string_view name)
{
    constexpr std::string_view kPrefix = "strings.";
    return name.size() >= kPrefix.size() &&
           compareNames(name.substr(0, kPrefix.size()), kPrefix) == 0 &&
           compareNames(name, "strings.0409") != 0;
}

} // namespace

InfFile::InfFile(std::string text) : m_text(std::move(text))
{
    if (m_text.size() > std::numeric_limits<Offset>::max()) {
        m_text.resize(std::numeric_limits<Offset>::max());
    }
    readLines();
    if (m_unclosedSectionName) {
        m_sections.clear();
        m_text.clear();
        return;
    }
    std::stable_sort(m_sections.begin(), m_sections.end(),
                     [this](const SectionPart &left, const SectionPart &right) {
                         return compareNames(view(left.name), view(right.name)) < 0;
                     });
    readStringTables();
}

void InfFile::readLines()
{
    // Logical lines are never longer than the physical lines they come from, so they are
    // written over the text as it is read: `write` never passes `read`.
    char *const text = m_text.data();
    const std::size_t size = m_text.size();
    std::size_t read = 0;
    std::size_t write = 0;
    std::size_t lineBegin = 0;
    const auto endLine = [&] {
        while (write > lineBegin && isBlank(text[write - 1])) {
            --write;
        }
        if (write == lineBegin) {
            return true;
        }
        const std::string_view line(text + lineBegin, write - lineBegin);
        if (line.front() != '[' && m_sections.empty()) {
            // Lines before the first section belong to none.
            write = lineBegin;
            return true;
        }
        // Only a last line that lost nothing has no room for its line end, and needs none.
        if (write < size) {
            text[write++] = '\n';
        }
        lineBegin = write;
        return line.front() != '[' || addSectionName(line, static_cast<Offset>(write));
    };
    NextCharacter lineFeed('\n');
    NextCharacter carriageReturn('\r');
    while (read < size) {
        // One physical line, up to its comment: the first ";" outside double quotes.
        const std::string_view whole(text, size);
        const std::size_t begin = read;
        read = std::min(lineFeed.find(whole, begin), carriageReturn.find(whole, begin));
        const std::size_t end =
            begin + std::min(findUnquoted(whole.substr(begin, read - begin), ';'), read - begin);
        if (read < size) {
            read += text[read] == '\r' && read + 1 < size && text[read + 1] == '\n' ? 2 : 1;
        }
        std::string_view content(text + begin, end - begin);
        const std::string_view trimmed = trimBlanks(content);
        const bool continues = !trimmed.empty() && trimmed.back() == kContinuation;
        if (continues) {
            content = content.substr(0, content.find_last_of(kContinuation));
        }
        if (write == lineBegin) {
            while (!content.empty() && isBlank(content.front())) {
                content.remove_prefix(1);
            }
        }
        std::memmove(text + write, content.data(), content.size());
        write += content.size();
        if (!continues && !endLine()) {
            m_unclosedSectionName = true;
            return;
        }
    }
    if (!endLine()) {
        m_unclosedSectionName = true;
        return;
    }
    m_text.resize(write);
    if (!m_sections.empty()) {
        Span &lines = m_sections.back().lines;
        lines.size = static_cast<Offset>(write - lines.begin);
    }
}

bool InfFile::addSectionName(std::string_view line, Offset linesBegin)
{
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return false;
    }
    const Offset lineBegin = static_cast<Offset>(line.data() - m_text.data());
    if (!m_sections.empty()) {
        Span &lines = m_sections.back().lines;
        lines.size = lineBegin - lines.begin;
    }
    const std::string_view name = trimBlanks(line.substr(1, close - 1));
    m_sections.push_back(
        {{static_cast<Offset>(name.data() - m_text.data()), static_cast<Offset>(name.size())},
         {linesBegin, 0}});
    return true;
}

std::pair<std::vector<InfFile::SectionPart>::const_iterator,
          std::vector<InfFile::SectionPart>::const_iterator>
InfFile::findSection(std::string_view name) const
{
    const auto first =
        std::partition_point(m_sections.begin(), m_sections.end(), [&](const SectionPart &part) {
            return compareNames(view(part.name), name) < 0;
        });
    const auto last = std::partition_point(first, m_sections.end(), [&](const SectionPart &part) {
        return compareNames(view(part.name), name) == 0;
    });
    return {first, last};
}

bool InfFile::hasSection(std::string_view name) const
{
    const auto [first, last] = findSection(name);
    return first != last;
}

bool InfFile::forEachLine(std::string_view section, const InfLineVisitor &visit) const
{
    InfLine parsed;
    const auto [first, last] = findSection(section);
    for (auto part = first; part != last; ++part) {
        std::string_view lines = view(part->lines);
        while (!lines.empty()) {
            parseLine(takeLine(lines), parsed);
            if (!visit(parsed)) {
                return false;
            }
        }
    }
    return true;
}

void InfFile::readStringTables()
{
    m_stringTables.push_back(readStringTable("strings"));
    m_stringTables.push_back(readStringTable("strings.0409"));
    // The first other [Strings.*] section is the one whose first part comes first in the file.
    const SectionPart *localized = nullptr;
    for (const SectionPart &part : m_sections) {
        if (isLocalizedStringsName(view(part.name)) &&
            (localized == nullptr || part.name.begin < localized->name.begin)) {
            localized = &part;
        }
    }
    if (localized != nullptr) {
        m_stringTables.push_back(readStringTable(view(localized->name)));
    }
}

InfFile::StringTable InfFile::readStringTable(std::string_view section) const
{
    StringTable table;
    const auto [first, last] = findSection(section);
    for (auto part = first; part != last; ++part) {
        std::string_view lines = view(part->lines);
        while (!lines.empty()) {
            const std::string_view line = takeLine(lines);
            // A string's value is the whole text right of "=": commas stay part of it.
            const auto [key, value] = splitKey(line);
            if (key) {
                const std::string_view trimmedKey = trimBlanks(*key);
                const auto offsetOf = [&](std::string_view piece) {
                    return static_cast<Offset>(piece.data() - m_text.data());
                };
                table.push_back({{offsetOf(trimmedKey), static_cast<Offset>(trimmedKey.size())},
                                 {offsetOf(value), static_cast<Offset>(value.size())}});
            }
        }
    }
    std::stable_sort(table.begin(), table.end(),
                     [this](const StringEntry &left, const StringEntry &right) {
                         return compareKeys(view(left.key), view(right.key), true) < 0;
                     });
    return table;
}

std::optional<std::string_view> InfFile::lookUpString(std::string_view token) const
{
    for (const StringTable &table : m_stringTables) {
        const auto found =
            std::partition_point(table.begin(), table.end(), [&](const StringEntry &entry) {
                return compareKeys(view(entry.key), token, false) < 0;
            });
        if (found != table.end() && compareKeys(view(found->key), token, false) == 0) {
            return view(found->value);
        }
    }
    return std::nullopt;
}

std::optional<std::string> InfFile::substituteStrings(std::string_view value,
                                                      std::size_t &room) const
{
    std::string result;
    std::size_t position = 0;
    while (position < value.size() && result.size() <= room) {
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
        } else if (const auto replacement = lookUpString(token)) {
            appendUnquoted(result, *replacement);
        } else {
            result += value.substr(open, close - open + 1);
        }
        position = close + 1;
    }
    if (result.size() > room) {
        return std::nullopt;
    }
    room -= result.size();
    return result;
}

} // namespace tollen::builder
