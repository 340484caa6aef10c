// The ui tests' main: Qt tests draw on the offscreen platform, chosen before the application
// object exists, so the tests (and their discovery) need no display.

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
