#include "core/ProgramEdge.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace tollen {
namespace {

TEST(ProgramEdge, AThrowEndsAsAMessageAndTheFailureCode)
{
    std::string reported;
    const auto report = [&](const std::string &message) { reported = message; };
    EXPECT_EQ(runAtProgramEdge([] { return 3; }, report, 1), 3);
    EXPECT_EQ(reported, "");
    EXPECT_EQ(runAtProgramEdge([]() -> int { throw std::runtime_error("no key"); }, report, 1), 1);
    EXPECT_EQ(reported, "unexpected failure: no key");
    EXPECT_EQ(runAtProgramEdge([]() -> int { throw 7; }, report, 2), 2);
    EXPECT_EQ(reported, "unexpected failure");
}

} // namespace
} // namespace tollen
