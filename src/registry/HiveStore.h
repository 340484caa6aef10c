#pragma once
// An offline Windows registry, read-only: a SYSTEM hive (and, when given, a SOFTWARE hive) seen as
// HKEY_LOCAL_MACHINE\SYSTEM and HKEY_LOCAL_MACHINE\SOFTWARE. SYSTEM\CurrentControlSet leads to the
// control set in use (see ControlSet.h) and is listed among SYSTEM's subkeys. Keys enumerate in the
// hive's stored order (sorted without regard to case); names match without regard to case. Keys of
// a damaged hive that no path reaches, or that another key's list claims as well, are not listed,
// so every walk of the key tree ends. Value types and bytes are given as stored, except string data
// (types 1, 2, 7), which the hive holds as UTF-16LE (or, from some programs, as 8-bit text: see
// HiveStringData.h) and this store gives as UTF-8 with its NUL. Every write answers 5 (access
// denied). Other predefined roots are empty keys.

#include "core/Error.h"
#include "registry/RegistryStore.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollen::registry {

class HiveStore;

struct HiveStoreOpen
{
    std::unique_ptr<HiveStore> store;
    Error error;
};

class HiveStore final : public RegistryStore
{
public:
    /// Opens the hives; an error names the file that is missing or not a readable hive.
    static HiveStoreOpen open(const std::filesystem::path &systemHive,
                              const std::filesystem::path &softwareHive = {});
    ~HiveStore() override;
    HiveStore(const HiveStore &) = delete;
    HiveStore &operator=(const HiveStore &) = delete;

    long openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                 RegistryHandle &key) override;
    long createKey(RegistryHandle root, std::string_view path, RegistryHandle &key) override;
    long closeKey(RegistryHandle key) override;
    long deleteKey(RegistryHandle root, std::string_view path) override;
    long deleteValue(RegistryHandle key, std::string_view name) override;
    long queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                    std::uint8_t *data, std::uint32_t &size) override;
    long setValue(RegistryHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t *data, std::uint32_t size) override;
    long queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName) override;
    long enumValue(RegistryHandle key, std::uint32_t index, char *name,
                   std::uint32_t &length) override;
    long enumKey(RegistryHandle key, std::uint32_t index, char *name,
                 std::uint32_t length) override;
    long connectRegistry(std::string_view machine, RegistryHandle root,
                         RegistryHandle &key) override;

private:
    struct Hives;
    struct Position;
    explicit HiveStore(std::unique_ptr<Hives> hives);

    const Position *resolveHandle(RegistryHandle handle) const;
    std::optional<Position> child(const Position &parent, std::string_view name) const;
    const std::vector<std::string> &childNames(const Position &position) const;

    std::unique_ptr<Hives> m_hives;
    std::map<RegistryHandle, std::unique_ptr<Position>> m_roots;
    std::map<RegistryHandle, std::unique_ptr<Position>> m_handles;
    RegistryHandle m_nextHandle = 1;
};

} // namespace tollen::registry
