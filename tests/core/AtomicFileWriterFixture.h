#pragma once
// A private folder per test for the atomic writer's tests, and what they read back from it.

#include "TestPlatform.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace tollen {

namespace fs = std::filesystem;

class AtomicFileWriterTest : public ::testing::Test
{
protected:
    static std::string read(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()));
    }

    testing::TemporaryFolder m_scratch;
    const fs::path m_folder = m_scratch.path();
};

} // namespace tollen
