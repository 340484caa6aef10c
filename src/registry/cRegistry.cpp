#include "registry/cRegistry.h"

#include "core/Environment.h"
#include "core/Text.h"
#include "registry/ExecutableName.h"
#include "registry/RegistryError.h"

#include <array>

namespace tollen::registry {

namespace {

constexpr std::uint32_t kProbeSize = 2048;
constexpr std::uint32_t kSectionNameLength = 255;
constexpr std::int32_t kRegistryFailure = 26001;
constexpr std::int32_t kValueWriteFailure = -2147194455;  // 0x800469A9
constexpr std::int32_t kEnumerationFailure = -2147194454; // 0x800469AA

/// Closes a key handle when the operation that opened it ends, also when it raises.
class OpenedKey
{
public:
    explicit OpenedKey(RegistryStore &store) : m_store(store) {}
    ~OpenedKey()
    {
        if (m_open) {
            m_store.closeKey(m_handle);
        }
    }
    OpenedKey(const OpenedKey &) = delete;
    OpenedKey &operator=(const OpenedKey &) = delete;

    long open(RegistryHandle root, std::string_view path, std::uint32_t access)
    {
        return track(m_store.openKey(root, path, access, m_handle));
    }
    long create(RegistryHandle root, std::string_view path)
    {
        return track(m_store.createKey(root, path, m_handle));
    }
    long connect(std::string_view machine, RegistryHandle root)
    {
        return track(m_store.connectRegistry(machine, root, m_handle));
    }
    RegistryHandle handle() const { return m_handle; }

private:
    long track(long result)
    {
        m_open = result == kSuccess;
        return result;
    }

    RegistryStore &m_store;
    RegistryHandle m_handle = 0;
    bool m_open = false;
};

/// A text write is stored as REG_EXPAND_SZ when a second "%" begins at least two characters
/// after the first, so that something stands between them.
bool holdsEnvironmentReference(std::string_view text)
{
    const auto first = text.find('%');
    return first != std::string_view::npos && text.find('%', first + 2) != std::string_view::npos;
}

/// The first four bytes (missing ones taken as 0), least significant first.
std::uint32_t littleEndianDword(const ByteArray &bytes)
{
    std::uint32_t number = 0;
    for (std::size_t index = 0; index < 4 && index < bytes.size(); ++index) {
        number |= static_cast<std::uint32_t>(bytes[index]) << (8 * index);
    }
    return number;
}

std::uint32_t reverseDwordBytes(std::uint32_t number)
{
    return ((number & 0xFFU) << 24) | ((number & 0xFF00U) << 8) | ((number >> 8) & 0xFF00U) |
           (number >> 24);
}

/// String data less its terminating NUL. Data without a terminator keeps its last character.
std::string storedText(const ByteArray &bytes)
{
    std::string text(bytes.begin(), bytes.end());
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

TaggedValue convertRead(std::uint32_t type, const ByteArray &bytes)
{
    switch (type) {
    case kString:
    case kMultiString:
        return storedText(bytes);
    case kExpandString:
        return expandEnvironmentReferences(storedText(bytes));
    case kDword:
        return static_cast<std::int32_t>(littleEndianDword(bytes));
    case kDwordBigEndian:
        return static_cast<std::int32_t>(reverseDwordBytes(littleEndianDword(bytes)));
    default:
        return bytes;
    }
}

} // namespace

cRegistry::cRegistry(RegistryStore &store) : m_store(store) {}

void cRegistry::setMachine(std::string_view sMachine)
{
    if (sMachine.size() < 3) {
        m_machine.clear();
    } else if (sMachine.substr(0, 2) != "\\\\") {
        m_machine = "\\\\" + std::string(sMachine);
    } else {
        m_machine = sMachine;
    }
}

bool cRegistry::KeyExists() const
{
    OpenedKey key(m_store);
    return key.open(static_cast<RegistryHandle>(m_classKey), m_sectionKey, kQueryValueAccess) ==
           kSuccess;
}

bool cRegistry::CreateKey()
{
    OpenedKey key(m_store);
    if (key.create(static_cast<RegistryHandle>(m_classKey), m_sectionKey) != kSuccess) {
        raise(kRegistryFailure, "Failed to create registry");
    }
    return true;
}

bool cRegistry::DeleteKey()
{
    if (m_store.deleteKey(static_cast<RegistryHandle>(m_classKey), m_sectionKey) != kSuccess) {
        raise(kRegistryFailure, "Failed to delete registry");
    }
    return true;
}

bool cRegistry::DeleteValue()
{
    const auto classKey = std::to_string(m_classKey);
    OpenedKey key(m_store);
    if (key.open(static_cast<RegistryHandle>(m_classKey), m_sectionKey, kAllWriteAccess) !=
        kSuccess) {
        raise(kRegistryFailure, "Failed to open key '" + classKey + "',Section: '" + m_sectionKey +
                                    "' for delete access");
    }
    if (m_store.deleteValue(key.handle(), m_valueKey) != kSuccess) {
        raise(kRegistryFailure, "Failed to delete registry Key: '" + classKey + "',Section: '" +
                                    m_sectionKey + "',Key: '" + m_valueKey);
    }
    return true;
}

TaggedValue cRegistry::Value()
{
    auto root = static_cast<RegistryHandle>(m_classKey);
    OpenedKey remote(m_store);
    if (!m_machine.empty()) {
        if (remote.connect(m_machine, root) != kSuccess) {
            return m_default;
        }
        root = remote.handle();
    }
    OpenedKey key(m_store);
    if (key.open(root, m_sectionKey, kQueryValueAccess) != kSuccess) {
        return m_default;
    }
    // The probe learns the type and the exact size; a value larger than the probe answers
    // "more data" with the size it needs, which is all the probe is for.
    ByteArray probe(kProbeSize);
    std::uint32_t type = 0;
    std::uint32_t size = kProbeSize;
    const auto probed = m_store.queryValue(key.handle(), m_valueKey, type, probe.data(), size);
    if (probed != kSuccess && probed != kMoreData) {
        return m_default;
    }
    ByteArray data(size);
    std::uint32_t readType = 0;
    if (m_store.queryValue(key.handle(), m_valueKey, readType, data.data(), size) != kSuccess) {
        return m_default;
    }
    data.resize(size);
    m_valueType = static_cast<std::int32_t>(type);
    return convertRead(type, data);
}

void cRegistry::setValue(const TaggedValue &vValue)
{
    auto root = static_cast<RegistryHandle>(m_classKey);
    OpenedKey remote(m_store);
    if (!m_machine.empty()) {
        if (remote.connect(m_machine, root) != kSuccess) {
            return;
        }
        root = remote.handle();
    }
    const auto classKey = std::to_string(m_classKey);
    OpenedKey key(m_store);
    if (key.create(root, m_sectionKey) != kSuccess) {
        raise(kRegistryFailure, "Failed to set registry Value Key: '" + classKey + "',Section: '" +
                                    m_sectionKey + "',Key:");
    }
    long result = kInvalidData;
    switch (m_valueType) {
    case kString:
    case kExpandString: {
        const auto text = toText(vValue);
        const auto type = holdsEnvironmentReference(text) ? kExpandString : kString;
        result = m_store.setValue(key.handle(), m_valueKey, type,
                                  reinterpret_cast<const std::uint8_t *>(text.c_str()),
                                  static_cast<std::uint32_t>(text.size() + 1));
        break;
    }
    case kBinary: {
        const auto *bytes = std::get_if<ByteArray>(&vValue);
        if (bytes == nullptr) {
            throw RegistryError(kRegistryFailure, "", "");
        }
        result = m_store.setValue(key.handle(), m_valueKey, kBinary, bytes->data(),
                                  static_cast<std::uint32_t>(bytes->size()));
        break;
    }
    case kDword:
    case kDwordBigEndian: {
        if (!isInteger(vValue)) {
            return;
        }
        const auto number = static_cast<std::uint32_t>(std::holds_alternative<std::int16_t>(vValue)
                                                           ? std::get<std::int16_t>(vValue)
                                                           : std::get<std::int32_t>(vValue));
        const std::array<std::uint8_t, 4> bytes{
            static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
        result = m_store.setValue(key.handle(), m_valueKey, kDword, bytes.data(), 4);
        break;
    }
    default:
        break;
    }
    if (result != kSuccess) {
        raise(kValueWriteFailure, "Failed to set registry value Key: '" + classKey + "',Section:");
    }
}

bool cRegistry::EnumerateValues(std::vector<std::string> &sKeyNames, std::int32_t &iKeyCount) const
{
    iKeyCount = 0;
    sKeyNames.clear();
    OpenedKey key(m_store);
    if (key.open(static_cast<RegistryHandle>(m_classKey), m_sectionKey, kQueryValueAccess) !=
        kSuccess) {
        return true;
    }
    std::uint32_t longest = 0;
    if (m_store.queryInfoKey(key.handle(), longest) != kSuccess) {
        return true;
    }
    std::string buffer;
    for (std::uint32_t index = 0;; ++index) {
        buffer.assign(std::size_t{longest} + 1, '\0');
        auto length = longest + 1;
        if (m_store.enumValue(key.handle(), index, buffer.data(), length) != kSuccess) {
            break;
        }
        sKeyNames.push_back(buffer.substr(0, std::min<std::size_t>(length, longest)));
        ++iKeyCount;
    }
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string> &sSect, std::int32_t &iSectCount) const
{
    try {
        iSectCount = 0;
        sSect.clear();
        OpenedKey key(m_store);
        if (key.open(static_cast<RegistryHandle>(m_classKey), m_sectionKey,
                     kEnumerateSubKeysAccess) != kSuccess) {
            return true;
        }
        std::array<char, kSectionNameLength> buffer{};
        for (std::uint32_t index = 0;; ++index) {
            buffer.fill('\0');
            if (m_store.enumKey(key.handle(), index, buffer.data(), kSectionNameLength) !=
                kSuccess) {
                break;
            }
            const std::string_view name(buffer.data(), buffer.size());
            sSect.emplace_back(name.substr(0, name.find('\0')));
            ++iSectCount;
        }
        return true;
    } catch (const std::exception &failure) {
        raise(kEnumerationFailure, failure.what());
    }
}

TaggedValue cRegistry::ValueEx(std::int32_t eKey, std::string_view sSectionKey,
                               std::string_view sValueKey, std::int32_t eValueType,
                               const TaggedValue &vDefault)
{
    m_classKey = eKey;
    m_sectionKey = sSectionKey;
    m_valueKey = sValueKey;
    m_valueType = eValueType;
    m_default = vDefault;
    return Value();
}

void cRegistry::setValueEx(std::int32_t eKey, std::string_view sSectionKey,
                           std::string_view sValueKey, std::int32_t eValueType,
                           const TaggedValue &vDefault, TaggedValue &NewValue)
{
    m_classKey = eKey;
    m_sectionKey = sSectionKey;
    m_valueKey = sValueKey;
    m_valueType = eValueType;
    m_default = vDefault;
    if (m_valueType == kString && toText(NewValue).empty()) {
        NewValue = m_default;
    }
    setValue(NewValue);
}

void cRegistry::raise(std::int32_t number, std::string description) const
{
    throw RegistryError(number, executableBaseName() + ".cRegistry", std::move(description));
}

} // namespace tollen::registry
