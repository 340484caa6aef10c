#include "InventoryFixtures.h"

#include "TestPlatform.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tollen::inventory::test {

std::unique_ptr<registry::MemoryStore> storeFromReg(const std::string &fixtureName)
{
    auto store = std::make_unique<registry::MemoryStore>();
    if (const Error error = store->loadRegFile(fixture(fixtureName))) {
        throw std::runtime_error(error.message);
    }
    return store;
}

Rows rows(const controls::ListView &list)
{
    Rows result;
    for (int row = 1; row <= list.rowCount(); ++row) {
        result.emplace_back(list.text(row), list.subItem(row, 1));
    }
    return result;
}

ScratchFolder::ScratchFolder(const std::string &)
    : m_path(testing::makeTestFolder()) // a fresh name nobody else holds
{
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void writeFile(const std::filesystem::path &file, const std::string &bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path &file)
{
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

} // namespace tollen::inventory::test
