#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Every test binary gets a QApplication so widget tests can run offscreen;
// logic tests simply ignore it.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Tests never reach the network: the host map only reads its tile cache,
    // and that cache is a throw-away folder. Tile tests serve their own.
    qputenv("KESTREL_WORK_OFFLINE", "1");
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    // Nor the user's settings: a test that remembers an offline map or a
    // window place must not leave it for the next test, or the next run.
    QTemporaryDir settings;
    qputenv("KESTREL_CONFIG_DIR", settings.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
