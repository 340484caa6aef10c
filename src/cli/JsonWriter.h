#pragma once
// A small writer of one JSON document, indented for reading. Strings go out as UTF-8 whatever
// bytes they were given: control characters are escaped, and bytes that are not well-formed
// UTF-8 become U+FFFD, so the document always parses.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::cli {

class JsonWriter
{
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    /// The name of the next member of the object being written.
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char *text) { value(std::string_view(text)); }
    void value(std::int64_t number);
    void value(int number) { value(std::int64_t{number}); }
    void value(bool flag);
    void null();

    /// The document so far; complete once every object and array has been ended.
    const std::string &text() const { return m_text; }

private:
    /// Starts a value: the comma and line break before it, unless it follows its key.
    void beginValue();
    void open(char bracket);
    void close(char bracket);
    void writeString(std::string_view text);

    struct Level
    {
        bool empty = true;
    };
    std::string m_text;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

/// `text` as a JSON string with its quotes.
std::string jsonString(std::string_view text);

} // namespace tollen::cli
