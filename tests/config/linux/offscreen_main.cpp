// The dialog tests' main: one QApplication on the offscreen platform for the whole run, made
// before any test and destroyed after all of them, while Qt's plugins are still loaded.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
