#pragma once
// The registry of the running Windows system (and of remote machines) through advapi32's
// wide-character calls. Text is converted at each call: key and value names and string data
// (types 1, 2 and 7) are UTF-8 here and UTF-16 for the system. The system's own result codes
// are passed through unchanged; key paths every store refuses (see splitKeyPath) are refused
// before they reach the system, with the codes the memory store gives. Open keys are known by small
// handles of the store's own; the predefined roots keep their numbers. Windows only.

#include "registry/RegistryStore.h"

#include <map>

namespace tollen::registry {

class WindowsStore final : public RegistryStore
{
public:
    WindowsStore() = default;
    /// Closes every key still open.
    ~WindowsStore() override;
    WindowsStore(const WindowsStore &) = delete;
    WindowsStore &operator=(const WindowsStore &) = delete;

    long openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                 RegistryHandle &key) override;
    long createKey(RegistryHandle root, std::string_view path, RegistryHandle &key) override;
    long closeKey(RegistryHandle key) override;
    long deleteKey(RegistryHandle root, std::string_view path) override;
    long deleteValue(RegistryHandle key, std::string_view name) override;
    /// String data comes back as UTF-8 with its NUL; `size` counts those bytes.
    long queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                    std::uint8_t *data, std::uint32_t &size) override;
    /// String data is given as UTF-8 and stored as UTF-16.
    long setValue(RegistryHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t *data, std::uint32_t size) override;
    /// The most bytes the UTF-8 form of the longest value name can take: three per UTF-16
    /// unit, so that a buffer of that size holds every name.
    long queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName) override;
    long enumValue(RegistryHandle key, std::uint32_t index, char *name,
                   std::uint32_t &length) override;
    long enumKey(RegistryHandle key, std::uint32_t index, char *name,
                 std::uint32_t length) override;
    long connectRegistry(std::string_view machine, RegistryHandle root,
                         RegistryHandle &key) override;

private:
    /// The system's key for a handle of this store or a predefined root; null for others.
    void *systemKey(RegistryHandle handle) const;
    RegistryHandle issueHandle(void *systemKey);

    std::map<RegistryHandle, void *> m_keys;
    RegistryHandle m_nextHandle = 1;
};

} // namespace tollen::registry
