#pragma once

#include <QProcess>

#include <gtest/gtest.h>

namespace tavren::dbus_tests {

// Makes sure a session bus exists for the tests: the one in the environment, or
// else a bus daemon of our own for the length of the run.
class PrivateBus : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    QProcess daemon_;
};

} // namespace tavren::dbus_tests
