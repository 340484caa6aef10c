#pragma once
// Shared by the inventory tests: fixture paths, stores loaded from .reg fixtures, list rows.

#include "controls/ListView.h"
#include "registry/MemoryStore.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tollen::inventory::test {

using Rows = std::vector<std::pair<std::string, std::string>>;

inline std::filesystem::path fixture(const std::string &name)
{
    return std::filesystem::path(TOLLEN_SOURCE_DIR) / "tests" / "fixtures" / "inventory" / name;
}

/// A memory store holding the keys of a .reg fixture.
std::unique_ptr<registry::MemoryStore> storeFromReg(const std::string &fixtureName);

/// The rows of a list as (Device ID, Device Name) pairs.
Rows rows(const controls::ListView &list);

/// A fresh private folder under the temporary directory for files a test writes; removed with
/// the object.
class ScratchFolder
{
public:
    explicit ScratchFolder(const std::string &name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    std::filesystem::path operator/(const std::string &name) const { return m_path / name; }
    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::filesystem::path &file, const std::string &bytes);
std::string readFile(const std::filesystem::path &file);

} // namespace tollen::inventory::test
