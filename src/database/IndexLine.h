#pragma once
// The line format of the driver database's index files, shared by the query that reads them and
// the builder that writes them, so the two can never disagree.
//
// An index file holds one driver package per line. A line ends at a carriage return or a
// carriage return and line feed; a lone line feed is part of the line. Its nine fields are
// separated by the double-quote character, with no quoting or escaping.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tollen::database {

inline constexpr char kFieldSeparator = '"';
inline constexpr std::size_t kFieldCount = 9;

/// The Type of a package whose Remote Path runs through an archive; only this exact word marks
/// one. Any other Type (the builder writes "Folder") is a plain folder.
inline constexpr std::string_view kArchivedType = "Archived";

/// The fields in the order a line holds them.
enum class IndexField : std::size_t {
    Type,
    Manufacturer,
    DeviceName,
    HardwareId,
    Class,
    Decoration,
    Version,
    Date,
    RemotePath,
};

class IndexFields
{
public:
    const std::string &operator[](IndexField field) const
    {
        return m_fields[static_cast<std::size_t>(field)];
    }
    std::string &operator[](IndexField field) { return m_fields[static_cast<std::size_t>(field)]; }

    bool operator==(const IndexFields &) const = default;

private:
    std::array<std::string, kFieldCount> m_fields;
};

/// The nine fields of a line, taken one after the other: a field is the text before the next
/// separator and the rest follows that separator; when no separator is left, the field and the
/// rest are both the whole remaining text. So a line with fewer than eight separators repeats
/// its last field in the later ones, and anything after the ninth separator is ignored.
IndexFields splitIndexLine(std::string_view line);

/// The line that splits back into `fields`: in each field a double quote becomes "'" and a
/// carriage return or line feed a space, then the fields are joined by the separator. No line
/// end is added.
std::string joinIndexLine(const IndexFields &fields);

/// Walks the lines of an index file's text without copying them.
class IndexLineReader
{
public:
    explicit IndexLineReader(std::string_view text) : m_text(text) {}

    /// The next line without its end mark; false after the last line. Text after the last end
    /// mark is a line of its own, an end mark at the very end of the text starts none.
    bool next(std::string_view &line);

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

} // namespace tollen::database
