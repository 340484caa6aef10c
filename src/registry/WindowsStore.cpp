#include "registry/WindowsStore.h"

#include "core/Utf16.h"
#include "core/WideText.h"
#include "registry/CallerBuffer.h"
#include "registry/KeyPath.h"

#include <cstdint>
#include <vector>
#include <windows.h>

namespace tollen::registry {
namespace {

/// Longest value name the registry allows, in UTF-16 units, with its NUL.
constexpr DWORD kValueNameCapacity = 16384;
/// Longest key name, with its NUL.
constexpr DWORD kKeyNameCapacity = 256;

HKEY toKey(void *key)
{
    return static_cast<HKEY>(key);
}

bool isStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

/// A value name with a NUL would reach the system cut short, naming another value.
bool holdsNul(std::string_view name)
{
    return name.find('\0') != std::string_view::npos;
}

bool isPredefinedRoot(RegistryHandle handle)
{
    return handle >= kClassesRoot && handle <= kDynData;
}

/// The system's handle of a predefined root: its 32-bit number, sign-extended as the headers
/// define HKEY_LOCAL_MACHINE and the others.
HKEY predefinedKey(RegistryHandle root)
{
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<std::int32_t>(root))));
}

/// The whole data of a value, read until the buffer is large enough (another writer may grow
/// the value between two reads).
LSTATUS readValue(HKEY key, const std::wstring &name, DWORD &type, std::vector<BYTE> &bytes)
{
    DWORD size = 0;
    LSTATUS result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        bytes.resize(size);
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
        if (result == ERROR_SUCCESS) {
            bytes.resize(size);
            return result;
        }
    }
    return result;
}

} // namespace

WindowsStore::~WindowsStore()
{
    for (const auto &[handle, key] : m_keys) {
        RegCloseKey(toKey(key));
    }
}

void *WindowsStore::systemKey(RegistryHandle handle) const
{
    if (const auto open = m_keys.find(handle); open != m_keys.end()) {
        return open->second;
    }
    return isPredefinedRoot(handle) ? predefinedKey(handle) : nullptr;
}

RegistryHandle WindowsStore::issueHandle(void *systemKey)
{
    // Handles stay below the predefined roots' numbers, and a number is not given out twice
    // while its key is open.
    while (m_keys.count(m_nextHandle) != 0 || m_nextHandle == 0 || isPredefinedRoot(m_nextHandle)) {
        ++m_nextHandle;
    }
    const RegistryHandle handle = m_nextHandle++;
    m_keys.emplace(handle, systemKey);
    return handle;
}

long WindowsStore::openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                           RegistryHandle &key)
{
    void *parent = systemKey(root);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    // Paths every store refuses (an empty name, a NUL that the system would take for the end of
    // the path) are refused here too, before the system reads a shorter path than was asked.
    if (!splitKeyPath(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    HKEY opened = nullptr;
    const LSTATUS result =
        RegOpenKeyExW(toKey(parent), wideFromUtf8(path).c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) {
        key = issueHandle(opened);
    }
    return result;
}

long WindowsStore::createKey(RegistryHandle root, std::string_view path, RegistryHandle &key)
{
    void *parent = systemKey(root);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (!splitKeyPath(path)) {
        return ERROR_BAD_PATHNAME;
    }
    HKEY created = nullptr;
    const LSTATUS result =
        RegCreateKeyExW(toKey(parent), wideFromUtf8(path).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, kAllWriteAccess, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS) {
        key = issueHandle(created);
    }
    return result;
}

long WindowsStore::closeKey(RegistryHandle key)
{
    const auto open = m_keys.find(key);
    if (open == m_keys.end()) {
        return isPredefinedRoot(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    }
    const LSTATUS result = RegCloseKey(toKey(open->second));
    m_keys.erase(open);
    return result;
}

long WindowsStore::deleteKey(RegistryHandle root, std::string_view path)
{
    void *parent = systemKey(root);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (!splitKeyPath(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return RegDeleteKeyW(toKey(parent), wideFromUtf8(path).c_str());
}

long WindowsStore::deleteValue(RegistryHandle key, std::string_view name)
{
    void *open = systemKey(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (holdsNul(name)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return RegDeleteValueW(toKey(open), wideFromUtf8(name).c_str());
}

long WindowsStore::queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                              std::uint8_t *data, std::uint32_t &size)
{
    void *open = systemKey(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (holdsNul(name)) {
        return ERROR_FILE_NOT_FOUND;
    }
    DWORD storedType = 0;
    std::vector<BYTE> bytes;
    const LSTATUS result = readValue(toKey(open), wideFromUtf8(name), storedType, bytes);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    type = storedType;
    if (isStringType(storedType)) {
        // An odd last byte, which no UTF-16 character can hold, is dropped.
        const std::string text = utf16leToUtf8(bytes.data(), bytes.size());
        bytes.assign(text.begin(), text.end());
    }
    return copyValueData(bytes, data, size);
}

long WindowsStore::setValue(RegistryHandle key, std::string_view name, std::uint32_t type,
                            const std::uint8_t *data, std::uint32_t size)
{
    void *open = systemKey(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (holdsNul(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<std::uint8_t> bytes(data, data + size);
    if (isStringType(type)) {
        bytes = utf8ToUtf16le(std::string_view(reinterpret_cast<const char *>(data), size));
    }
    return RegSetValueExW(toKey(open), wideFromUtf8(name).c_str(), 0, type, bytes.data(),
                          static_cast<DWORD>(bytes.size()));
}

long WindowsStore::queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName)
{
    void *open = systemKey(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    DWORD longestUnits = 0;
    const LSTATUS result =
        RegQueryInfoKeyW(toKey(open), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longestUnits, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        longestValueName = 3 * longestUnits;
    }
    return result;
}

long WindowsStore::enumValue(RegistryHandle key, std::uint32_t index, char *name,
                             std::uint32_t &length)
{
    void *open = systemKey(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    std::wstring buffer(kValueNameCapacity, L'\0');
    DWORD units = kValueNameCapacity;
    const LSTATUS result = RegEnumValueW(toKey(open), index, buffer.data(), &units, nullptr,
                                         nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    const std::string text = utf8FromWide(std::wstring_view(buffer.data(), units));
    const long copied = copyName(text, name, length);
    if (copied == kSuccess) {
        length = static_cast<std::uint32_t>(text.size());
    }
    return copied;
}

long WindowsStore::enumKey(RegistryHandle key, std::uint32_t index, char *name,
                           std::uint32_t length)
{
    void *open = systemKey(key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    std::wstring buffer(kKeyNameCapacity, L'\0');
    DWORD units = kKeyNameCapacity;
    const LSTATUS result = RegEnumKeyExW(toKey(open), index, buffer.data(), &units, nullptr,
                                         nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    return copyName(utf8FromWide(std::wstring_view(buffer.data(), units)), name, length);
}

long WindowsStore::connectRegistry(std::string_view machine, RegistryHandle root,
                                   RegistryHandle &key)
{
    if (!isPredefinedRoot(root)) {
        return ERROR_INVALID_HANDLE;
    }
    HKEY connected = nullptr;
    const LSTATUS result =
        RegConnectRegistryW(wideFromUtf8(machine).c_str(), predefinedKey(root), &connected);
    if (result == ERROR_SUCCESS) {
        key = issueHandle(connected);
    }
    return result;
}

} // namespace tollen::registry
