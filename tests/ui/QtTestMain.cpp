// The ui tests' main: Qt tests draw on the offscreen platform, chosen before the application
// object exists, so the tests (and their discovery) need no display.

#include "TestServers.h"

#include <QApplication>
#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session's runtime folder Qt makes /tmp/runtime-<user>, a fixed name another
    // user may hold; the tests give it a private one (Qt wants it readable by its owner only).
    const tollen::testing::TemporaryFolder runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
        qputenv("XDG_RUNTIME_DIR", runtime.path().c_str());
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
