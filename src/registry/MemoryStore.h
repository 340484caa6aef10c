#pragma once
// A writable registry held in memory: the predefined roots, each a tree of keys with typed
// values. Key and value names match without regard to letter case. Subkeys enumerate sorted
// without regard to case, as a Windows hive stores them; values enumerate in the order they
// were first set, as Windows keeps them. Open handles keep their key alive; a handle to a
// deleted key answers 1018 (key deleted).
//
// Remote machines are further MemoryStores owned by this one and reached by name through
// connectRegistry; an unknown name answers 53 (network path not found).
//
// .reg files load into the store and save from it (see RegFile.h for the format); string data
// is held as UTF-8 with its NUL whichever format the file used.

#include "core/Error.h"
#include "registry/RegFile.h"
#include "registry/RegistryStore.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace tollen::registry {

class MemoryStore final : public RegistryStore
{
public:
    MemoryStore();
    ~MemoryStore() override;
    MemoryStore(const MemoryStore &) = delete;
    MemoryStore &operator=(const MemoryStore &) = delete;

    /// The registry of the remote machine `name` (given without backslashes, any letter case);
    /// created empty on first use and filled like any store.
    MemoryStore &addRemoteMachine(std::string_view name);

    /// Applies a .reg file to the store. On failure the store is left exactly as it was and the
    /// message names the file and the line.
    /// Keys named from a hive's own root go below `mount` (see HiveMount).
    Error loadRegFile(const std::filesystem::path &file,
                      const std::optional<HiveMount> &mount = {});
    /// The same for the bytes of a .reg file; the message names the line.
    Error loadRegText(std::string_view bytes, const std::optional<HiveMount> &mount = {});
    /// Writes every key of the store as a .reg file, replacing `file` only when complete.
    Error saveRegFile(const std::filesystem::path &file, RegFormat format = RegFormat::Version5);

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
    struct Node;
    using NodePointer = std::shared_ptr<Node>;

    NodePointer resolveHandle(RegistryHandle handle) const;
    /// The key behind `handle`: 6 for an unknown handle, 1018 for a deleted key.
    long liveNode(RegistryHandle handle, NodePointer &node) const;
    RegistryHandle issueHandle(NodePointer node);
    std::map<RegistryHandle, NodePointer> copyRoots() const;

    std::map<RegistryHandle, NodePointer> m_roots;
    std::map<RegistryHandle, NodePointer> m_handles;
    RegistryHandle m_nextHandle = 1;
    std::map<std::string, std::unique_ptr<MemoryStore>> m_remoteMachines;
};

} // namespace tollen::registry
