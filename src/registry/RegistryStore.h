#pragma once
// The registry as the program sees it: eleven key and value operations with the result codes of
// the Windows registry API. cRegistry talks only to this interface; stores behind it hold a
// memory tree (also read from and written to .reg files), an offline Windows hive, or this
// machine's devices.
//
// Text handed in and out (key names, value names, string data) is UTF-8, the program's 8-bit
// code page; string data carries its terminating NUL as the Windows API stores it.

#include <cstdint>
#include <string_view>

namespace tollen::registry {

using RegistryHandle = std::uint32_t;

/// Predefined roots, as the program writes them in its 32-bit ClassKey.
inline constexpr RegistryHandle kClassesRoot = 0x80000000U;
inline constexpr RegistryHandle kCurrentUser = 0x80000001U;
inline constexpr RegistryHandle kLocalMachine = 0x80000002U;
inline constexpr RegistryHandle kUsers = 0x80000003U;
inline constexpr RegistryHandle kCurrentConfig = 0x80000005U;
inline constexpr RegistryHandle kDynData = 0x80000006U;

/// Result codes of the registry API that the program tells apart.
enum ResultCode : long {
    kSuccess = 0,
    kFileNotFound = 2,
    kAccessDenied = 5,
    kInvalidHandle = 6,
    kInvalidData = 13,
    kInvalidParameter = 87,
    kBadPath = 161,
    kMoreData = 234,
    kNoMoreItems = 259,
    kBadNetworkPath = 53,
    kRegistryCorrupt = 1015,
    kKeyDeleted = 1018,
};

/// Data types with their registry numbers.
enum ValueType : std::uint32_t {
    kNone = 0,
    kString = 1,
    kExpandString = 2,
    kBinary = 3,
    kDword = 4,
    kDwordBigEndian = 5,
    kLink = 6,
    kMultiString = 7,
    kResourceList = 8,
    kFullResourceDescriptor = 9,
    kResourceRequirementsList = 10,
    kQword = 11,
};

/// Access masks the program asks for.
inline constexpr std::uint32_t kQueryValueAccess = 0x1;
inline constexpr std::uint32_t kEnumerateSubKeysAccess = 0x8;
inline constexpr std::uint32_t kAllWriteAccess = 0x3F;

class RegistryStore
{
public:
    virtual ~RegistryStore() = default;

    /// RegOpenKeyExA: opens `path` below `root` (an open handle or a predefined root).
    virtual long openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                         RegistryHandle &key) = 0;
    /// RegCreateKeyExA: opens `path`, creating every missing key along it.
    virtual long createKey(RegistryHandle root, std::string_view path, RegistryHandle &key) = 0;
    /// RegCloseKey.
    virtual long closeKey(RegistryHandle key) = 0;
    /// RegDeleteKeyA: deletes the key `path` below `root`; a key with subkeys is refused.
    virtual long deleteKey(RegistryHandle root, std::string_view path) = 0;
    /// RegDeleteValueA.
    virtual long deleteValue(RegistryHandle key, std::string_view name) = 0;
    /// RegQueryValueExA: `size` holds the buffer size in bytes and comes back with the data
    /// size; kMoreData when the buffer is too small (`size` then holds the size needed).
    /// `data` may be null to ask for the type and size only.
    virtual long queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                            std::uint8_t *data, std::uint32_t &size) = 0;
    /// RegSetValueExA.
    virtual long setValue(RegistryHandle key, std::string_view name, std::uint32_t type,
                          const std::uint8_t *data, std::uint32_t size) = 0;
    /// RegQueryInfoKeyA: the length in characters of the longest value name, NUL not counted.
    virtual long queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName) = 0;
    /// RegEnumValueA: `length` holds the buffer length in characters (NUL counted) and comes
    /// back with the name's length (NUL not counted); kMoreData when the name does not fit,
    /// kNoMoreItems past the last value.
    virtual long enumValue(RegistryHandle key, std::uint32_t index, char *name,
                           std::uint32_t &length) = 0;
    /// RegEnumKeyA: writes the subkey name and its NUL into `name`; kMoreData when it does not
    /// fit in `length` characters, kNoMoreItems past the last subkey.
    virtual long enumKey(RegistryHandle key, std::uint32_t index, char *name,
                         std::uint32_t length) = 0;
    /// RegConnectRegistryA: the root `root` of the machine named `machine` ("\\name").
    virtual long connectRegistry(std::string_view machine, RegistryHandle root,
                                 RegistryHandle &key) = 0;
};

} // namespace tollen::registry
