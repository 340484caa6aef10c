#include "cli/JsonWriter.h"

#include "core/Text.h"

namespace tollen::cli {

namespace {

constexpr std::string_view kIndent = "  ";

void appendEscaped(std::string &out, char32_t code)
{
    switch (code) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\b':
        out += "\\b";
        return;
    case '\f':
        out += "\\f";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    // Other control characters, and the two line separators that JavaScript does not allow in
    // a string, are written as escapes; everything else as its UTF-8.
    if (code < 0x20 || code == 0x7F || code == 0x2028 || code == 0x2029) {
        constexpr std::string_view kHex = "0123456789abcdef";
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) {
            out += kHex[(code >> shift) & 0xF];
        }
        return;
    }
    appendUtf8(out, code);
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char32_t code : decodeUtf8(text)) {
        appendEscaped(out, code);
    }
    return out + '"';
}

void JsonWriter::beginValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_levels.empty()) {
        m_text += m_levels.back().empty ? "\n" : ",\n";
        m_levels.back().empty = false;
        for (std::size_t i = 0; i < m_levels.size(); ++i) {
            m_text += kIndent;
        }
    }
}

void JsonWriter::open(char bracket)
{
    beginValue();
    m_text += bracket;
    m_levels.push_back(Level{});
}

void JsonWriter::close(char bracket)
{
    const bool empty = m_levels.back().empty;
    m_levels.pop_back();
    if (!empty) {
        m_text += '\n';
        for (std::size_t i = 0; i < m_levels.size(); ++i) {
            m_text += kIndent;
        }
    }
    m_text += bracket;
    if (m_levels.empty()) {
        m_text += '\n';
    }
}

void JsonWriter::beginObject()
{
    open('{');
}

void JsonWriter::endObject()
{
    close('}');
}

void JsonWriter::beginArray()
{
    open('[');
}

void JsonWriter::endArray()
{
    close(']');
}

void JsonWriter::key(std::string_view name)
{
    beginValue();
    m_text += jsonString(name);
    m_text += ": ";
    m_afterKey = true;
}

void JsonWriter::value(std::string_view text)
{
    beginValue();
    m_text += jsonString(text);
}

void JsonWriter::value(std::int64_t number)
{
    beginValue();
    m_text += std::to_string(number);
}

void JsonWriter::value(bool flag)
{
    beginValue();
    m_text += flag ? "true" : "false";
}

void JsonWriter::null()
{
    beginValue();
    m_text += "null";
}

} // namespace tollen::cli
