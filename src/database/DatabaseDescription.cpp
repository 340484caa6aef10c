#include "database/DatabaseDescription.h"

#include "core/Text.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <set>

namespace tollen::database {
namespace {

/// Objects and arrays a later builder may nest in members this one does not know.
constexpr std::size_t kDeepestNesting = 16;

/// Reads the JSON text from start to end; the first surprise stops it with a problem.
class JsonReader
{
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    const std::string &problem() const { return m_problem; }
    bool failed() const { return !m_problem.empty(); }
    bool atEnd()
    {
        skipSpace();
        return m_position == m_text.size();
    }

    /// True, and consumed, when the next character after white space is `character`.
    bool take(char character)
    {
        skipSpace();
        if (m_position < m_text.size() && m_text[m_position] == character) {
            ++m_position;
            return true;
        }
        return false;
    }
    bool expect(char character)
    {
        if (!take(character)) {
            fail(std::string("expected ") + character);
        }
        return !failed();
    }

    std::optional<std::string> string();
    /// A number's text as the JSON grammar spells it.
    std::optional<std::string_view> number();
    /// Reads past a value of any kind, at most `depth` levels deep.
    bool skipValue(std::size_t depth);

    void fail(const std::string &what)
    {
        if (!failed()) {
            m_problem = what + " at byte " + std::to_string(m_position);
        }
    }

private:
    void skipSpace()
    {
        while (m_position < m_text.size() &&
               std::string_view(" \t\r\n").find(m_text[m_position]) != std::string_view::npos) {
            ++m_position;
        }
    }
    bool isDigitAt(std::size_t position) const
    {
        return position < m_text.size() && m_text[position] >= '0' && m_text[position] <= '9';
    }
    std::size_t digitsFrom(std::size_t position) const
    {
        while (isDigitAt(position)) {
            ++position;
        }
        return position;
    }
    std::optional<char32_t> codeUnit();
    bool skipMembers(std::size_t depth, char close, bool keyed);

    std::string_view m_text;
    std::size_t m_position = 0;
    std::string m_problem;
};

std::optional<char32_t> JsonReader::codeUnit()
{
    const auto unit = m_position + 4 <= m_text.size()
                          ? wholeNumber<std::uint16_t>(m_text.substr(m_position, 4), 16)
                          : std::nullopt;
    if (!unit) {
        fail("a \\u escape without four hexadecimal digits");
        return std::nullopt;
    }
    m_position += 4;
    return *unit;
}

std::optional<std::string> JsonReader::string()
{
    if (!expect('"')) {
        return std::nullopt;
    }
    std::string value;
    while (m_position < m_text.size()) {
        const char character = m_text[m_position++];
        if (character == '"') {
            if (!isValidUtf8(value)) {
                fail("a string that is not UTF-8 text");
                return std::nullopt;
            }
            return value;
        }
        if (static_cast<unsigned char>(character) < 0x20) {
            fail("a control character in a string");
            return std::nullopt;
        }
        if (character != '\\') {
            value += character;
            continue;
        }
        const char escaped = m_position < m_text.size() ? m_text[m_position++] : '\0';
        constexpr std::string_view kEscapes = "\"\\/bfnrt";
        constexpr std::string_view kMeanings = "\"\\/\b\f\n\r\t";
        if (const std::size_t found = kEscapes.find(escaped); found != std::string_view::npos) {
            value += kMeanings[found];
            continue;
        }
        std::optional<char32_t> code = escaped == 'u' ? codeUnit() : std::nullopt;
        if (code && *code >= 0xD800 && *code < 0xDC00 && m_text.substr(m_position, 2) == "\\u") {
            m_position += 2;
            const std::optional<char32_t> low = codeUnit();
            code = low && *low >= 0xDC00 && *low < 0xE000
                       ? std::optional(0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00))
                       : std::nullopt;
        }
        if (!code || (*code >= 0xD800 && *code < 0xE000)) {
            fail("a bad escape in a string");
            return std::nullopt;
        }
        appendUtf8(value, *code);
    }
    fail("a string without its closing quote");
    return std::nullopt;
}

std::optional<std::string_view> JsonReader::number()
{
    skipSpace();
    const std::size_t start = m_position;
    std::size_t position = start + (m_position < m_text.size() && m_text[start] == '-' ? 1 : 0);
    if (!isDigitAt(position)) {
        fail("expected a value");
        return std::nullopt;
    }
    position = m_text[position] == '0' ? position + 1 : digitsFrom(position);
    if (position < m_text.size() && m_text[position] == '.') {
        if (!isDigitAt(position + 1)) {
            fail("a number without digits after its point");
            return std::nullopt;
        }
        position = digitsFrom(position + 1);
    }
    if (position < m_text.size() && (m_text[position] == 'e' || m_text[position] == 'E')) {
        position += position + 1 < m_text.size() &&
                            (m_text[position + 1] == '+' || m_text[position + 1] == '-')
                        ? 2
                        : 1;
        if (!isDigitAt(position)) {
            fail("a number without digits in its exponent");
            return std::nullopt;
        }
        position = digitsFrom(position);
    }
    m_position = position;
    return m_text.substr(start, position - start);
}

bool JsonReader::skipMembers(std::size_t depth, char close, bool keyed)
{
    if (take(close)) {
        return true;
    }
    do {
        if (keyed && (!string() || !expect(':'))) {
            return false;
        }
        if (!skipValue(depth - 1)) {
            return false;
        }
    } while (take(','));
    return expect(close);
}

bool JsonReader::skipValue(std::size_t depth)
{
    if (depth == 0) {
        fail("values nested too deeply");
        return false;
    }
    skipSpace();
    const std::string_view rest = m_text.substr(m_position);
    if (rest.starts_with('"')) {
        return string().has_value();
    }
    if (take('{')) {
        return skipMembers(depth, '}', true);
    }
    if (take('[')) {
        return skipMembers(depth, ']', false);
    }
    for (const std::string_view literal : {"true", "false", "null"}) {
        if (rest.starts_with(literal)) {
            m_position += literal.size();
            return true;
        }
    }
    return number().has_value();
}

/// Whether `text` is a time as utcTimeText writes it.
bool isUtcTimeText(std::string_view text)
{
    constexpr std::string_view kShape = "0000-00-00T00:00:00Z";
    if (text.size() != kShape.size()) {
        return false;
    }
    for (std::size_t index = 0; index < text.size(); ++index) {
        const bool digitWanted = kShape[index] == '0';
        const bool digit = text[index] >= '0' && text[index] <= '9';
        if (digitWanted ? !digit : text[index] != kShape[index]) {
            return false;
        }
    }
    return true;
}

bool isPrintable(std::string_view text)
{
    for (const char character : text) {
        if (static_cast<unsigned char>(character) < 0x20 || character == 0x7f) {
            return false;
        }
    }
    return true;
}

/// The JSON string of a text the builder writes: its quote, backslash and control characters
/// escaped.
std::string jsonText(std::string_view text)
{
    std::string quoted = "\"";
    for (const char character : text) {
        if (character == '"' || character == '\\') {
            quoted += '\\';
            quoted += character;
        } else if (static_cast<unsigned char>(character) < 0x20) {
            std::array<char, 8> escape{};
            std::snprintf(escape.data(), escape.size(), "\\u%04x",
                          static_cast<unsigned>(static_cast<unsigned char>(character)));
            quoted += escape.data();
        } else {
            quoted += character;
        }
    }
    return quoted + "\"";
}

/// Reads the members of the top object into `description`; the names it met in `named`.
void readMembers(JsonReader &reader, DatabaseDescription &description, std::set<std::string> &named)
{
    const std::array<std::pair<std::string_view, std::uint64_t *>, 5> counts = {{
        {"format", &description.format},
        {"packages", &description.packages},
        {"infFiles", &description.infFiles},
        {"lines", &description.lines},
        {"indexFiles", &description.indexFiles},
    }};
    if (!reader.expect('{') || reader.take('}')) {
        return;
    }
    do {
        const std::optional<std::string> name = reader.string();
        if (!name || !reader.expect(':')) {
            return;
        }
        if (!named.insert(*name).second) {
            reader.fail("the member \"" + *name + "\" named twice");
            return;
        }
        const auto count = std::find_if(counts.begin(), counts.end(),
                                        [&](const auto &entry) { return entry.first == *name; });
        if (count != counts.end()) {
            const std::optional<std::string_view> digits = reader.number();
            const auto value = digits ? wholeNumber<std::uint64_t>(*digits) : std::nullopt;
            if (!value) {
                reader.fail("\"" + *name + "\" is not a whole number");
                return;
            }
            *count->second = *value;
        } else if (*name == "builder" || *name == "built") {
            std::optional<std::string> text = reader.string();
            if (!text) {
                return;
            }
            (*name == "builder" ? description.builder : description.built) = std::move(*text);
        } else if (!reader.skipValue(kDeepestNesting)) {
            return;
        }
    } while (reader.take(','));
    reader.expect('}');
}

} // namespace

std::string writeDatabaseDescription(const DatabaseDescription &description)
{
    const auto member = [](std::string_view name, const std::string &value, bool last = false) {
        return "  \"" + std::string(name) + "\": " + value + (last ? "\r\n" : ",\r\n");
    };
    return "{\r\n" + member("format", std::to_string(description.format)) +
           member("builder", jsonText(description.builder)) +
           member("built", jsonText(description.built)) +
           member("packages", std::to_string(description.packages)) +
           member("infFiles", std::to_string(description.infFiles)) +
           member("lines", std::to_string(description.lines)) +
           member("indexFiles", std::to_string(description.indexFiles), true) + "}\r\n";
}

DescriptionReading readDatabaseDescription(std::string_view text)
{
    if (text.size() > kLargestDescription) {
        return {std::nullopt,
                "the description is larger than " + std::to_string(kLargestDescription) + " bytes"};
    }
    JsonReader reader(text);
    DatabaseDescription description;
    std::set<std::string> named;
    readMembers(reader, description, named);
    if (!reader.failed() && !reader.atEnd()) {
        reader.fail("text after the object");
    }
    if (reader.failed()) {
        return {std::nullopt, "the description is not JSON as written: " + reader.problem()};
    }
    for (const char *required :
         {"format", "builder", "built", "packages", "infFiles", "lines", "indexFiles"}) {
        if (!named.contains(required)) {
            return {std::nullopt, "the description has no \"" + std::string(required) + "\""};
        }
    }
    if (description.format != kDescriptionFormat) {
        return {std::nullopt, "the description is of format " + std::to_string(description.format) +
                                  ", which this program " + "cannot read (it reads format " +
                                  std::to_string(kDescriptionFormat) + ")"};
    }
    if (!isUtcTimeText(description.built) || !isPrintable(description.builder)) {
        return {std::nullopt, "the description's \"built\" or \"builder\" is not as written"};
    }
    return {std::move(description), {}};
}

std::string utcTimeText(std::int64_t time)
{
    using namespace std::chrono;
    const sys_seconds moment{seconds(time)};
    const sys_days day = floor<days>(moment);
    const year_month_day date(day);
    const hh_mm_ss clock(moment - day);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text.data();
}

} // namespace tollen::database
