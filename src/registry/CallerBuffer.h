#pragma once
// Filling a caller's buffer the way the registry API does: the whole thing or "more data".

#include "registry/RegistryStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tollen::registry {

/// Value data into `data` (`size` bytes; null asks for the size only). `size` comes back with
/// the data's size; kMoreData when the buffer is too small.
long copyValueData(const std::vector<std::uint8_t> &bytes, std::uint8_t *data, std::uint32_t &size);

/// A name and its NUL into `buffer` of `capacity` characters; kMoreData when it does not fit.
long copyName(const std::string &name, char *buffer, std::uint32_t capacity);

} // namespace tollen::registry
