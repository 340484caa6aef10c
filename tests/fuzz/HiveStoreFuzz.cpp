// Fuzzes the offline hive store: a file that opens as a hive is walked whole; the walk ends,
// sizes asked for are the sizes given, and every write is refused.

#include "FuzzSupport.h"
#include "registry/HiveStore.h"
#include "registry/StoreWalk.h"

#include <string>
#include <vector>

using namespace tollen::registry;
using tollen::fuzz::require;

namespace {

struct Walk
{
    HiveStore &store;
    std::size_t keysLeft;

    void values(RegistryHandle key)
    {
        std::vector<std::string> names;
        if (listValueNames(store, key, names) != kSuccess) {
            return;
        }
        for (const std::string &name : names) {
            std::uint32_t type = 0;
            std::uint32_t size = 0;
            if (store.queryValue(key, name, type, nullptr, size) != kSuccess) {
                continue;
            }
            std::vector<std::uint8_t> bytes(size);
            std::uint32_t given = size;
            require(store.queryValue(key, name, type, bytes.data(), given) == kSuccess);
            require(given == size);
        }
    }

    void keys(RegistryHandle key, int depth)
    {
        // A hive's keys lie in its bytes, so no walk may visit more of them than it holds.
        require(keysLeft > 0 && depth < 512);
        --keysLeft;
        values(key);
        std::vector<std::string> names;
        if (listSubkeyNames(store, key, names) != kSuccess) {
            return;
        }
        for (const std::string &name : names) {
            RegistryHandle child = 0;
            if (store.openKey(key, name, kQueryValueAccess | kEnumerateSubKeysAccess, child) ==
                kSuccess) {
                keys(child, depth + 1);
                require(store.closeKey(child) == kSuccess);
            }
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto file = tollen::fuzz::writeInput("system.hiv", tollen::fuzz::bytesOf(data, size));
    HiveStoreOpen opened = HiveStore::open(file);
    if (!opened.store) {
        require(static_cast<bool>(opened.error));
        return 0;
    }
    HiveStore &store = *opened.store;
    // Every key is a cell of at least 80 bytes. The current control set is reached twice (once
    // through its alias); the roots come on top.
    Walk walk{store, 2 * (size / 80) + 8};
    walk.keys(kLocalMachine, 0);

    RegistryHandle created = 0;
    require(store.createKey(kLocalMachine, "SYSTEM\\Fuzz", created) == kAccessDenied);
    require(store.deleteKey(kLocalMachine, "SYSTEM\\Select") == kAccessDenied);
    return 0;
}
