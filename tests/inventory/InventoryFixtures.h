#pragma once
// Shared by the inventory tests: fixture paths, stores loaded from .reg fixtures, list rows.

#include "TestPlatform.h"
#include "TestServers.h"
#include "controls/ListView.h"
#include "registry/MemoryStore.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tollen::inventory::test {

using Rows = std::vector<std::pair<std::string, std::string>>;
using testing::readFile;
using testing::writeFile;
using ScratchFolder = testing::TemporaryFolder;

inline std::filesystem::path fixture(const std::string &name)
{
    return std::filesystem::path(TOLLEN_SOURCE_DIR) / "tests" / "fixtures" / "inventory" / name;
}

/// A memory store holding the keys of a .reg fixture.
inline std::unique_ptr<registry::MemoryStore> storeFromReg(const std::string &fixtureName)
{
    auto store = std::make_unique<registry::MemoryStore>();
    if (const Error error = store->loadRegFile(fixture(fixtureName))) {
        throw std::runtime_error(error.message);
    }
    return store;
}

/// The rows of a list as (Device ID, Device Name) pairs.
inline Rows rows(const controls::ListView &list)
{
    Rows result;
    for (int row = 1; row <= list.rowCount(); ++row) {
        result.emplace_back(list.text(row), list.subItem(row, 1));
    }
    return result;
}

} // namespace tollen::inventory::test
