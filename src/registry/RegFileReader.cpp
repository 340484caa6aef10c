// Reading .reg files: the text is decoded and split into lines, each line (with its
// continuations) becomes one edit, and the edits are applied only when the whole file parsed.

#include "core/Text.h"
#include "core/Utf16.h"
#include "registry/KeyPath.h"
#include "registry/RegFile.h"
#include "registry/RegRoots.h"

#include <cctype>
#include <optional>

namespace tollen::registry {

namespace {

struct Line
{
    std::size_t number = 0;
    std::string_view text;
};

/// A failure while reading one line; the message is completed with the line's number.
struct LineError
{
    std::string message;
};

std::optional<std::string> decodeFile(std::string_view bytes)
{
    if (bytes.starts_with(kUtf16LeByteOrderMark)) {
        bytes.remove_prefix(kUtf16LeByteOrderMark.size());
        if (bytes.size() % 2 != 0) {
            return std::nullopt;
        }
        return utf16leToUtf8(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    }
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    return decodeFileText(bytes);
}

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t number = 1;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back({number++, line});
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

/// Reads a quoted text starting after its opening quote; `text` is left after the closing one.
std::string readQuoted(std::string_view &text, const char *what)
{
    std::string result;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char character = text[index];
        if (character == '"') {
            text.remove_prefix(index + 1);
            return result;
        }
        if (character == '\\' && index + 1 < text.size() &&
            (text[index + 1] == '\\' || text[index + 1] == '"')) {
            ++index;
        }
        result.push_back(text[index]);
    }
    throw LineError{std::string("the ") + what + " has no closing quote"};
}

std::uint32_t readHexNumber(std::string_view digits, const char *what)
{
    if (digits.empty() || digits.size() > 8 ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
        throw LineError{std::string("\"") + std::string(digits) + "\" is not a valid " + what};
    }
    return static_cast<std::uint32_t>(std::stoul(std::string(digits), nullptr, 16));
}

std::vector<std::uint8_t> readByteList(std::string_view list)
{
    std::vector<std::uint8_t> bytes;
    list = trimBlanks(list);
    while (!list.empty()) {
        const auto comma = list.find(',');
        const auto item = trimBlanks(list.substr(0, comma));
        if (item.size() > 2) {
            throw LineError{"\"" + std::string(item) + "\" is not a byte"};
        }
        bytes.push_back(static_cast<std::uint8_t>(readHexNumber(item, "byte")));
        if (comma == std::string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
        if (trimBlanks(list).empty()) {
            throw LineError{"the byte list ends with a comma"};
        }
    }
    return bytes;
}

class Parser
{
public:
    Parser(std::vector<Line> lines, const std::optional<HiveMount> &mount)
        : m_lines(std::move(lines)), m_mount(mount)
    {
    }

    RegFileParse run()
    {
        RegFileParse result;
        std::size_t index = 0;
        while (index < m_lines.size() && trimBlanks(m_lines[index].text).empty()) {
            ++index;
        }
        if (index == m_lines.size()) {
            result.error = {1, "line 1: the file is empty, not a registry file"};
            return result;
        }
        const auto header = trimBlanks(m_lines[index].text);
        if (header == kRegVersion5Header) {
            m_format = RegFormat::Version5;
        } else if (header == kRegedit4Header) {
            m_format = RegFormat::Regedit4;
        } else {
            result.error = {1, "line " + std::to_string(m_lines[index].number) +
                                   ": not a registry file (expected \"" +
                                   std::string(kRegVersion5Header) + "\" or \"" +
                                   std::string(kRegedit4Header) + "\")"};
            return result;
        }
        for (++index; index < m_lines.size(); ++index) {
            const auto number = m_lines[index].number;
            try {
                readLine(index);
            } catch (const LineError &failure) {
                result.error = {1, "line " + std::to_string(number) + ": " + failure.message};
                return result;
            }
        }
        result.edits = std::move(m_edits);
        return result;
    }

private:
    void readLine(std::size_t &index)
    {
        const auto text = trimBlanks(m_lines[index].text);
        if (text.empty() || text.front() == ';') {
            return;
        }
        m_lineNumber = m_lines[index].number;
        if (text.front() == '[') {
            readSection(text);
        } else if (text.front() == '@' || text.front() == '"') {
            readValue(index);
        } else {
            throw LineError{"\"" + std::string(text.substr(0, 40)) +
                            "\" is neither a key, a value nor a comment"};
        }
    }

    void readSection(std::string_view text)
    {
        const auto close = text.rfind(']');
        if (close == std::string_view::npos || close + 1 != text.size()) {
            throw LineError{"the key name does not end with \"]\""};
        }
        auto name = text.substr(1, close - 1);
        const bool deletion = !name.empty() && name.front() == '-';
        if (deletion) {
            name.remove_prefix(1);
        }
        const auto separator = name.find('\\');
        const auto rootName = name.substr(0, separator);
        // A key named from the hive's own root goes below the mount: "\\ControlSet001" becomes
        // "SYSTEM\\ControlSet001", and "\\" alone the mount's key itself.
        const bool fromHiveRoot = rootName.empty() && separator == 0 && m_mount;
        const auto root = fromHiveRoot ? std::optional(m_mount->root) : rootFromName(rootName);
        if (!root) {
            throw LineError{"\"" + std::string(rootName) + "\" is not a registry root"};
        }
        std::string mounted;
        if (fromHiveRoot) {
            mounted = m_mount->path + std::string(name);
        }
        std::string_view path = fromHiveRoot                          ? std::string_view(mounted)
                                : separator == std::string_view::npos ? std::string_view()
                                                                      : name.substr(separator + 1);
        // A carriage return inside a line would split the key's line when the store is saved.
        if (path.find('\r') != std::string_view::npos) {
            throw LineError{"the key path holds a carriage return"};
        }
        if (!splitKeyPath(path)) {
            throw LineError{"the key path is empty in part, has a name longer than 255 "
                            "characters or holding a NUL, or is deeper than 512 keys"};
        }
        // "[HKEY_CURRENT_USER\Software\Foo\]" names Foo: the trailing backslash goes here, once,
        // so that paths built from this one below (a deleted key's subkeys) stay well-formed.
        if (!path.empty() && path.back() == '\\') {
            path.remove_suffix(1);
        }
        if (deletion && path.empty()) {
            throw LineError{"a registry root cannot be deleted"};
        }
        m_deletedSection = deletion;
        m_root = *root;
        m_path = path;
        m_edits.push_back({deletion ? RegEdit::Kind::DeleteKeyTree : RegEdit::Kind::CreateKey,
                           m_lineNumber,
                           m_root,
                           m_path,
                           {},
                           0,
                           {}});
    }

    void readValue(std::size_t &index)
    {
        if (m_root == 0 || m_deletedSection) {
            throw LineError{m_root == 0 ? "a value comes before any key"
                                        : "a value follows a key deletion"};
        }
        auto text = trimBlanks(m_lines[index].text);
        RegEdit edit{RegEdit::Kind::SetValue, m_lineNumber, m_root, m_path, {}, 0, {}};
        if (text.front() == '@') {
            text.remove_prefix(1);
        } else {
            text.remove_prefix(1);
            edit.name = readQuoted(text, "value name");
            if (edit.name.find('\r') != std::string::npos) {
                throw LineError{"the value name holds a carriage return"};
            }
            if (utf16Length(edit.name) > kMaxValueNameLength) {
                throw LineError{"the value name is longer than 16383 characters"};
            }
        }
        text = trimBlanks(text);
        if (text.empty() || text.front() != '=') {
            throw LineError{"\"=\" is missing after the value name"};
        }
        text = trimBlanks(text.substr(1));
        if (text == "-") {
            edit.kind = RegEdit::Kind::DeleteValue;
        } else if (!text.empty() && text.front() == '"') {
            text.remove_prefix(1);
            const auto data = readQuoted(text, "text");
            if (!trimBlanks(text).empty()) {
                throw LineError{"text follows the closing quote"};
            }
            edit.type = kString;
            edit.data.assign(data.begin(), data.end());
            edit.data.push_back(0);
        } else if (startsWithIgnoringCase(text, "dword:")) {
            const auto number32 = readHexNumber(text.substr(6), "DWORD (1 to 8 hex digits)");
            edit.type = kDword;
            for (int shift = 0; shift < 32; shift += 8) {
                edit.data.push_back(static_cast<std::uint8_t>(number32 >> shift));
            }
        } else if (startsWithIgnoringCase(text, "hex")) {
            readHexValue(text.substr(3), index, edit);
        } else {
            throw LineError{"the data is neither text, dword:, hex: nor hex(N):"};
        }
        m_edits.push_back(std::move(edit));
    }

    void readHexValue(std::string_view text, std::size_t &index, RegEdit &edit)
    {
        edit.type = kBinary;
        if (!text.empty() && text.front() == '(') {
            const auto close = text.find(')');
            if (close == std::string_view::npos) {
                throw LineError{"hex( has no closing parenthesis"};
            }
            edit.type = readHexNumber(text.substr(1, close - 1), "type number");
            text.remove_prefix(close + 1);
        }
        if (text.empty() || text.front() != ':') {
            throw LineError{"\":\" is missing after hex"};
        }
        text.remove_prefix(1);
        // A byte list ending in a backslash continues on the next line.
        std::string list(text);
        while (!list.empty() && list.back() == '\\') {
            list.pop_back();
            if (++index == m_lines.size()) {
                throw LineError{"the byte list continues past the end of the file"};
            }
            list += trimBlanks(m_lines[index].text);
        }
        edit.data = readByteList(list);
        const bool stringType =
            edit.type == kString || edit.type == kExpandString || edit.type == kMultiString;
        if (stringType && m_format == RegFormat::Version5) {
            const auto text8 = utf16leToUtf8(edit.data.data(), edit.data.size());
            edit.data.assign(text8.begin(), text8.end());
        }
    }

    std::vector<Line> m_lines;
    std::optional<HiveMount> m_mount;
    std::vector<RegEdit> m_edits;
    RegFormat m_format = RegFormat::Version5;
    std::size_t m_lineNumber = 0;
    RegistryHandle m_root = 0;
    std::string m_path;
    bool m_deletedSection = false;
};

} // namespace

RegFileParse parseRegFile(std::string_view bytes, const std::optional<HiveMount> &mount)
{
    const auto text = decodeFile(bytes);
    if (!text) {
        return {{}, {1, "line 1: the UTF-16 file ends in the middle of a character"}};
    }
    return Parser(splitLines(*text), mount).run();
}

} // namespace tollen::registry
