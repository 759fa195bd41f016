#pragma once

#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

// Helpers for tests that run against a real X server.
namespace tavren::backend::x11::testing {

// Polls a condition until it holds or a generous deadline passes. Only for
// waiting on other processes (the window manager, a target window); the
// deadline is a guard against hanging, never something a test measures.
bool waitFor(const std::function<bool()>& condition);

// A window of another process: tavren_x11_window_target, started with the
// given arguments on the given display (empty: the test's own), ended with the
// object.
class SpawnedWindow {
public:
    SpawnedWindow(std::vector<std::string> arguments, const std::string& display = {});
    ~SpawnedWindow();
    SpawnedWindow(const SpawnedWindow&) = delete;
    SpawnedWindow& operator=(const SpawnedWindow&) = delete;

    // The window's id, 0 when the program could not start.
    unsigned long id() const { return id_; }
    // Ends the program now (its window disappears).
    void end();

private:
    pid_t pid_ = -1;
    int input_ = -1;
    unsigned long id_ = 0;
};

// An extra X server without a window manager, for the tests of that mode.
class BareXServer {
public:
    BareXServer();
    ~BareXServer();
    BareXServer(const BareXServer&) = delete;
    BareXServer& operator=(const BareXServer&) = delete;

    // ":N", empty when no server could be started.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

} // namespace tavren::backend::x11::testing
