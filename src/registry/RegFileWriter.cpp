// Writing .reg files and applying parsed ones: both go through the store operations only, so
// any store can be exported and any writable store can take a file.

#include "core/Text.h"
#include "core/Utf16.h"
#include "registry/KeyPath.h"
#include "registry/RegFile.h"
#include "registry/RegRoots.h"
#include "registry/StoreWalk.h"

#include <cstdio>

namespace tollen::registry {

namespace {

constexpr std::size_t kLineWidth = 80;

/// A failure while writing; the message names the key or value.
struct WriteError
{
    std::string message;
};

std::string escaped(std::string_view text)
{
    std::string result;
    for (const char character : text) {
        if (character == '\\' || character == '"') {
            result.push_back('\\');
        }
        result.push_back(character);
    }
    return result;
}

/// Names and texts go into the file between quotes or brackets, one line each.
bool fitsOnALine(std::string_view text)
{
    return isValidUtf8(text) && text.find_first_of("\r\n") == std::string_view::npos;
}

bool isPlainText(std::uint32_t type, const std::vector<std::uint8_t> &data)
{
    if (type != kString || data.empty() || data.back() != 0) {
        return false;
    }
    const std::string_view text(reinterpret_cast<const char *>(data.data()), data.size() - 1);
    return text.find('\0') == std::string_view::npos && fitsOnALine(text);
}

std::string hexByte(std::uint8_t byte)
{
    constexpr std::string_view kDigits = "0123456789abcdef";
    return {kDigits[byte >> 4], kDigits[byte & 0xF]};
}

class Writer
{
public:
    Writer(RegistryStore &store, RegFormat format) : m_store(store), m_format(format) {}

    std::string run()
    {
        m_text =
            std::string(m_format == RegFormat::Version5 ? kRegVersion5Header : kRegedit4Header) +
            "\r\n";
        for (const auto root : predefinedRoots()) {
            writeKey(root, std::string(rootName(root)), 0);
        }
        return m_text;
    }

private:
    /// Writes the key at `depth` below its root (0 for the root itself) with all below it.
    void writeKey(RegistryHandle key, const std::string &section, std::size_t depth)
    {
        if (!fitsOnALine(section)) {
            throw WriteError{"the key \"" + section + "\" cannot be written on one line"};
        }
        std::vector<std::string> values;
        std::vector<std::string> children;
        if (listValueNames(m_store, key, values) != kSuccess ||
            listSubkeyNames(m_store, key, children) != kSuccess) {
            throw WriteError{"the key \"" + section + "\" cannot be listed"};
        }
        // Every key gets its own section, so that empty keys survive and each key's parents
        // are present before it.
        if (depth > 0 || !values.empty()) {
            m_text += "\r\n[" + section + "]\r\n";
            for (const auto &name : values) {
                writeValue(key, section, name);
            }
        }
        for (const auto &child : children) {
            // The walk opens each child by its name below the open key, so a listed name that
            // is not one key name (an empty one opens the key itself), or a store deeper than
            // the registry allows, would never end it.
            if (!isKeyName(child)) {
                throw WriteError{"the key \"" + section +
                                 "\" lists a subkey whose name cannot be written: \"" + child +
                                 "\""};
            }
            if (depth == kMaxKeyDepth) {
                throw WriteError{"the key \"" + section + "\" has subkeys deeper than " +
                                 std::to_string(kMaxKeyDepth) + " keys"};
            }
            RegistryHandle childKey = 0;
            if (m_store.openKey(key, child, kQueryValueAccess | kEnumerateSubKeysAccess,
                                childKey) != kSuccess) {
                throw WriteError{"the key \"" + section + "\\" + child + "\" cannot be opened"};
            }
            try {
                writeKey(childKey, section + "\\" + child, depth + 1);
            } catch (...) {
                m_store.closeKey(childKey);
                throw;
            }
            m_store.closeKey(childKey);
        }
    }

    void writeValue(RegistryHandle key, const std::string &section, const std::string &name)
    {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        std::vector<std::uint8_t> data;
        auto result = m_store.queryValue(key, name, type, nullptr, size);
        if (result == kSuccess) {
            data.resize(size);
            result = m_store.queryValue(key, name, type, data.data(), size);
            data.resize(size);
        }
        if (result != kSuccess || !fitsOnALine(name)) {
            throw WriteError{"the value \"" + name + "\" of \"" + section +
                             "\" cannot be read or written"};
        }
        const auto prefix = name.empty() ? std::string("@=") : "\"" + escaped(name) + "\"=";
        if (isPlainText(type, data)) {
            const std::string_view text(reinterpret_cast<const char *>(data.data()),
                                        data.size() - 1);
            m_text += prefix + "\"" + escaped(text) + "\"\r\n";
        } else if (type == kDword && data.size() == 4) {
            char digits[9];
            std::snprintf(digits, sizeof digits, "%08x",
                          static_cast<unsigned>(data[0] | (data[1] << 8) | (data[2] << 16) |
                                                (static_cast<unsigned>(data[3]) << 24)));
            m_text += prefix + "dword:" + digits + "\r\n";
        } else {
            writeHex(prefix, type, fileBytes(type, data, section, name));
        }
    }

    /// 5.00 files hold string data as UTF-16LE; REGEDIT4 files as the stored 8-bit bytes.
    std::vector<std::uint8_t> fileBytes(std::uint32_t type, const std::vector<std::uint8_t> &data,
                                        const std::string &section, const std::string &name) const
    {
        const bool stringType = type == kString || type == kExpandString || type == kMultiString;
        if (!stringType || m_format == RegFormat::Regedit4) {
            return data;
        }
        const std::string_view text(reinterpret_cast<const char *>(data.data()), data.size());
        if (!isValidUtf8(text)) {
            throw WriteError{"the value \"" + name + "\" of \"" + section +
                             "\" holds text that is not UTF-8, which a 5.00 file cannot hold "
                             "(save as REGEDIT4)"};
        }
        return utf8ToUtf16le(text);
    }

    void writeHex(const std::string &prefix, std::uint32_t type,
                  const std::vector<std::uint8_t> &bytes)
    {
        std::string line = prefix;
        if (type == kBinary) {
            line += "hex:";
        } else {
            char number[16];
            std::snprintf(number, sizeof number, "hex(%x):", type);
            line += number;
        }
        for (std::size_t index = 0; index < bytes.size(); ++index) {
            const auto item = hexByte(bytes[index]) + (index + 1 < bytes.size() ? "," : "");
            if (line.size() + item.size() + 1 > kLineWidth) {
                m_text += line + "\\\r\n";
                line = "  ";
            }
            line += item;
        }
        m_text += line + "\r\n";
    }

    RegistryStore &m_store;
    RegFormat m_format;
    std::string m_text;
};

long applyEdit(const RegEdit &edit, RegistryStore &store)
{
    if (edit.kind == RegEdit::Kind::DeleteKeyTree) {
        return deleteKeyTree(store, edit.root, edit.path);
    }
    RegistryHandle key = 0;
    auto result = edit.kind == RegEdit::Kind::DeleteValue
                      ? store.openKey(edit.root, edit.path, kAllWriteAccess, key)
                      : store.createKey(edit.root, edit.path, key);
    if (result == kFileNotFound && edit.kind == RegEdit::Kind::DeleteValue) {
        return kSuccess;
    }
    if (result != kSuccess) {
        return result;
    }
    if (edit.kind == RegEdit::Kind::SetValue) {
        result = store.setValue(key, edit.name, edit.type, edit.data.data(),
                                static_cast<std::uint32_t>(edit.data.size()));
    } else if (edit.kind == RegEdit::Kind::DeleteValue) {
        result = store.deleteValue(key, edit.name);
        result = result == kFileNotFound ? kSuccess : result;
    }
    store.closeKey(key);
    return result;
}

} // namespace

Error applyRegEdits(const std::vector<RegEdit> &edits, RegistryStore &store)
{
    for (const auto &edit : edits) {
        if (const auto result = applyEdit(edit, store); result != kSuccess) {
            return {1, "line " + std::to_string(edit.line) +
                           ": the registry refused the change (code " + std::to_string(result) +
                           ")"};
        }
    }
    return {};
}

RegFileText writeRegFile(RegistryStore &store, RegFormat format)
{
    std::string text;
    try {
        text = Writer(store, format).run();
    } catch (const WriteError &failure) {
        return {{}, {1, failure.message}};
    }
    if (format == RegFormat::Regedit4) {
        return {std::move(text), {}};
    }
    const auto wide = utf8ToUtf16le(text);
    std::string bytes(kUtf16LeByteOrderMark);
    bytes.append(wide.begin(), wide.end());
    return {std::move(bytes), {}};
}

} // namespace tollen::registry
