#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // ibus calls the engine Tavren serves on a thread with an event loop of its
    // own, which wants an application object to exist, as in the program.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
