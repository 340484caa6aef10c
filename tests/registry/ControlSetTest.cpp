#include "registry/ControlSet.h"

#include "registry/MemoryStore.h"

#include <gtest/gtest.h>

using namespace tollen::registry;

namespace {

TEST(ControlSet, TheSetInUseIsCurrentThenTheSelectedThenTheLowestNumbered)
{
    struct Row
    {
        const char *keys; // .reg sections below HKEY_LOCAL_MACHINE\SYSTEM
        std::optional<std::string> inUse;
    };
    const Row rows[] = {
        {"[S\\ControlSet001]\n[S\\CurrentControlSet]\n[S\\Select]\n\"Current\"=dword:1\n",
         "CurrentControlSet"},
        {"[S\\ControlSet001]\n[S\\ControlSet002]\n[S\\Select]\n\"Current\"=dword:2\n",
         "ControlSet002"},
        {"[S\\ControlSet001]\n", "ControlSet001"},
        {"[S\\ControlSet003]\n[S\\ControlSet002]\n", "ControlSet002"},
        // Select names a set the export left out, or is no DWORD.
        {"[S\\ControlSet002]\n[S\\Select]\n\"Current\"=dword:1\n", "ControlSet002"},
        {"[S\\ControlSet010]\n[S\\controlset9]\n[S\\Select]\n\"Current\"=\"10\"\n", "controlset9"},
        {"[S\\ControlSet]\n[S\\ControlSet1x]\n[S\\ControlSet-1]\n[S\\ControlSet99999999999]\n",
         std::nullopt},
        {"", std::nullopt},
    };
    for (const Row &row : rows) {
        std::string text = std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SYSTEM]\n") + row.keys;
        for (auto at = text.find("[S\\"); at != std::string::npos; at = text.find("[S\\")) {
            text.replace(at, 2, "[HKEY_LOCAL_MACHINE\\SYSTEM");
        }
        MemoryStore store;
        ASSERT_FALSE(store.loadRegText(text)) << text;
        EXPECT_EQ(controlSetInUse(store, "SYSTEM"), row.inUse) << row.keys;
    }
}

} // namespace
