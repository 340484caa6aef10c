#pragma once
// The control set a SYSTEM hive is used with. A running system shows it as CurrentControlSet;
// an offline hive, and a .reg export of one, hold only ControlSetNNN keys, and the set in use is
// the one Select\Current names (ControlSet001 on every hive seen). An export of part of a hive may
// hold no Select key, or a Select key naming a set the export left out: then the only, or the
// lowest-numbered, ControlSetNNN is the one.

#include "registry/RegistryStore.h"

#include <optional>
#include <string>
#include <string_view>

namespace tollen::registry {

/// The name of the control set in use among the subkeys of `systemKey`, the key below
/// HKEY_LOCAL_MACHINE that holds the SYSTEM hive: CurrentControlSet when it is there, else the
/// ControlSetNNN that the DWORD Select\Current names, else the lowest-numbered ControlSetNNN.
/// nullopt when there is no control set.
std::optional<std::string> controlSetInUse(RegistryStore &store, std::string_view systemKey);

} // namespace tollen::registry
