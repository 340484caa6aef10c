#pragma once
// The names of the predefined roots as .reg files write them.

#include "registry/RegistryStore.h"

#include <optional>
#include <string_view>
#include <vector>

namespace tollen::registry {

/// The root named by a .reg file: full names and short forms (HKLM ...), any letter case.
std::optional<RegistryHandle> rootFromName(std::string_view name);

/// The full name of a predefined root ("HKEY_LOCAL_MACHINE"); "" for other handles.
std::string_view rootName(RegistryHandle root);

/// Every predefined root, in the order exports list them.
const std::vector<RegistryHandle> &predefinedRoots();

} // namespace tollen::registry
