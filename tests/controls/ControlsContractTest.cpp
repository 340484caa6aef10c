// The events of the controls: a handler lives as long as its connection.

#include "controls/Event.h"

#include <gtest/gtest.h>
#include <vector>

namespace tollen::controls {
namespace {

TEST(Event, AHandlerStaysConnectedAsLongAsItsConnection)
{
    Event<int> event;
    std::vector<int> seen;
    {
        const Connection first = event.connect([&](int value) { seen.push_back(value); });
        event(1);
        // A handler connected in its place is not taken away when the first connection ends.
        Connection second;
        {
            const Connection replaced = event.connect([&](int value) { seen.push_back(-value); });
            second = event.connect([&](int value) { seen.push_back(value * 10); });
        }
        event(2);
    }
    event(3);
    EXPECT_EQ(seen, (std::vector<int>{1, 20}));
}

} // namespace
} // namespace tollen::controls
