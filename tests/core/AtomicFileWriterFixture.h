#pragma once
// A private folder per test for the atomic writer's tests.

#include "TestPlatform.h"
#include "TestServers.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tollen {

namespace fs = std::filesystem;
using testing::readFile;

class AtomicFileWriterTest : public ::testing::Test
{
protected:
    std::ptrdiff_t entries() const
    {
        return std::distance(fs::directory_iterator(m_folder), fs::directory_iterator());
    }

    testing::TemporaryFolder m_scratch;
    const fs::path m_folder = m_scratch.path();
};

} // namespace tollen
