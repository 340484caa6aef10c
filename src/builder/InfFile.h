#pragma once
// An INF file read as Windows reads one: sections of lines, each line an optional key and a list
// of values, with string tokens looked up in the file's [Strings] sections.
//
// Lines end at CR LF, LF or CR. A ";" outside double quotes starts a comment, removed first; then
// a "\" as the last non-blank character joins the next line. Section names and keys match
// ignoring the case of ASCII letters. A section named twice is one section with the lines of
// both, as Windows merges them. A line that opens a section name without closing it makes the
// whole file unreadable, as it does for Windows.
//
// The file keeps its text and little else: its lines are rewritten in place without comments,
// continuations and blanks, and the sections and strings are found through small tables of
// offsets into that text. A line is split into its key and values only when it is read, so a
// file costs about its own size however many lines it has.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::builder {

/// One line of a section: the key left of the first "=" outside quotes, when there is one, and
/// the comma-separated values right of it (the whole line when there is no key). Each part has
/// its surrounding blanks trimmed and its quotes removed ("" inside quotes is one ").
struct InfLine
{
    std::optional<std::string> key;
    std::vector<std::string> values;

    bool operator==(const InfLine &) const = default;
};

/// Receives the lines of a section one at a time; returns false to stop. The line is valid only
/// during the call.
using InfLineVisitor = std::function<bool(const InfLine &)>;

class InfFile
{
public:
    /// Reads the file's decoded (UTF-8) text. Text past 4 GiB is not read: no INF file is near
    /// that size, and the tables hold 32-bit offsets.
    explicit InfFile(std::string text);
    InfFile(const InfFile &) = delete;
    InfFile &operator=(const InfFile &) = delete;

    /// True when a line opens a section name with "[" and never closes it; the file then has no
    /// sections at all.
    bool hasUnclosedSectionName() const { return m_unclosedSectionName; }

    bool hasSection(std::string_view name) const;
    /// Gives the lines of the named section to `visit` in file order, until it returns false;
    /// false when it did. A missing section has no lines.
    bool forEachLine(std::string_view section, const InfLineVisitor &visit) const;

    /// `value` with each %token% replaced from [Strings], then [Strings.0409], then the first
    /// other [Strings.*] section (keys ignoring case). "%%" is one "%"; a token found nowhere
    /// stays as written; a replacement is not searched for further tokens. `room` is the most
    /// bytes the result may have: it is reduced by the result's size, or nullopt comes back as
    /// soon as the result would pass it, before more of it is built.
    std::optional<std::string> substituteStrings(std::string_view value, std::size_t &room) const;

private:
    using Offset = std::uint32_t;
    /// A piece of m_text.
    struct Span
    {
        Offset begin = 0;
        Offset size = 0;
    };
    /// One "[name]" line and the lines after it up to the next one.
    struct SectionPart
    {
        Span name;
        Span lines;
    };
    /// One "key = value" line of a [Strings] section: the key trimmed, the value as written.
    struct StringEntry
    {
        Span key;
        Span value;
    };
    /// Entries sorted by key, the first line of a key before later ones.
    using StringTable = std::vector<StringEntry>;

    std::string_view view(Span span) const { return {m_text.data() + span.begin, span.size}; }
    /// Rewrites m_text as its logical lines and notes the section parts.
    void readLines();
    /// Notes a logical line that starts a section part; false when its name is not closed.
    bool addSectionName(std::string_view line, Offset linesBegin);
    /// The parts of the named section, in file order.
    std::pair<std::vector<SectionPart>::const_iterator, std::vector<SectionPart>::const_iterator>
    findSection(std::string_view name) const;
    void readStringTables();
    StringTable readStringTable(std::string_view section) const;
    /// The value of the token's first entry in the first table that has it, as written.
    std::optional<std::string_view> lookUpString(std::string_view token) const;

    /// The logical lines, each ended by "\n"; lines before the first section are dropped.
    std::string m_text;
    /// Sorted by name, ignoring case, each name's parts in file order.
    std::vector<SectionPart> m_sections;
    /// [Strings], [Strings.0409] and the first other [Strings.*], in look-up order.
    std::vector<StringTable> m_stringTables;
    bool m_unclosedSectionName = false;
};

} // namespace tollen::builder
