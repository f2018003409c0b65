#include <gtest/gtest.h>

#include <QApplication>

// Every test binary gets a QApplication so widget tests can run offscreen;
// logic tests simply ignore it.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
