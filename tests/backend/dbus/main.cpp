#include "private_bus.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // The bus library's connections want an application object to exist.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new tavren::dbus_tests::PrivateBus);
    return RUN_ALL_TESTS();
}
