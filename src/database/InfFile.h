#pragma once
// An INF file read as Windows reads one: sections of lines, each line an optional key and a list
// of values, with string tokens looked up in the file's [Strings] sections.
//
// Lines end at CR LF, LF or CR. A ";" outside double quotes starts a comment, removed first; then
// a "\" as the last non-blank character joins the next line. Section names and keys match
// ignoring the case of ASCII letters. A section named twice is one section with the lines of
// both, as Windows merges them. A line that opens a section name without closing it makes the
// whole file unreadable, as it does for Windows.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tollen::database {

/// One line of a section: the key left of the first "=" outside quotes, when there is one, and
/// the comma-separated values right of it (the whole line when there is no key). Each part has
/// its surrounding blanks trimmed and its quotes removed ("" inside quotes is one ").
struct InfLine
{
    std::optional<std::string> key;
    std::vector<std::string> values;

    bool operator==(const InfLine &) const = default;
};

class InfFile
{
public:
    /// Reads the file's decoded (UTF-8) text.
    explicit InfFile(std::string text);
    InfFile(const InfFile &) = delete;
    InfFile &operator=(const InfFile &) = delete;

    /// True when a line opens a section name with "[" and never closes it; the file then has no
    /// sections at all.
    bool hasUnclosedSectionName() const { return m_unclosedSectionName; }

    bool hasSection(std::string_view name) const;
    /// The lines of the named section in file order; empty when there is no such section.
    std::vector<InfLine> section(std::string_view name) const;

    /// `value` with each %token% replaced from [Strings], then [Strings.0409], then the first
    /// other [Strings.*] section (keys ignoring case). "%%" is one "%"; a token found nowhere
    /// stays as written; a replacement is not searched for further tokens.
    std::string substituteStrings(std::string_view value) const;

private:
    struct Section
    {
        std::vector<std::string_view> lines;
    };
    using StringTable = std::unordered_map<std::string, std::string>;

    void readLines();
    /// Adds a line to the section numbered `current`, or opens the section the line names.
    void addLine(std::string_view line, std::size_t &current);
    const Section *findSection(std::string_view name) const;
    void readStringTables();
    const std::string *lookUpString(std::string_view token) const;

    std::string m_text;
    /// Lines joined from continued lines; the sections' lines point into these or into m_text.
    std::vector<std::unique_ptr<std::string>> m_joinedLines;
    std::vector<Section> m_sections;
    /// Section names with ASCII letters lower-cased, mapped to their index in m_sections.
    std::unordered_map<std::string, std::size_t> m_sectionIndex;
    /// [Strings], [Strings.0409] and the first other [Strings.*], in look-up order.
    std::vector<StringTable> m_stringTables;
    bool m_unclosedSectionName = false;
};

} // namespace tollen::database
