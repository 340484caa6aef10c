#pragma once
// Listing a key's subkeys and values through the store operations, for code that walks a whole
// store (the .reg writer, key tree deletion).

#include "registry/RegistryStore.h"

#include <string>
#include <vector>

namespace tollen::registry {

/// Every subkey name of the open `key`; the first failure other than "no more items" is returned.
long listSubkeyNames(RegistryStore &store, RegistryHandle key, std::vector<std::string> &names);

/// Every value name of the open `key`, the same way.
long listValueNames(RegistryStore &store, RegistryHandle key, std::vector<std::string> &names);

/// Deletes the key `path` below `root` with every key below it; a missing key is no failure.
long deleteKeyTree(RegistryStore &store, RegistryHandle root, const std::string &path);

} // namespace tollen::registry
