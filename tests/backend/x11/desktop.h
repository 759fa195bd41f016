#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tavren::x11test {

using namespace std::chrono_literals;

// A program started for a test, with its top-level window; ended with the test.
class SpawnedWindow {
public:
    SpawnedWindow(pid_t pid, Window window) : pid_(pid), window_(window) {}
    ~SpawnedWindow();
    SpawnedWindow(const SpawnedWindow&) = delete;
    SpawnedWindow& operator=(const SpawnedWindow&) = delete;

    Window window() const { return window_; }
    pid_t pid() const { return pid_; }
    bool stillRunning() const;

private:
    pid_t pid_;
    Window window_;
};

// The virtual desktop the tests run on, seen through a connection of the test's own.
class Desktop {
public:
    Desktop();
    ~Desktop();

    Display* display() const { return display_; }

    // A fresh directory for this test's files.
    const std::string& directory() const { return directory_; }

    // Starts a program and waits for its top-level window titled `title`.
    // Nothing when it did not show up.
    std::unique_ptr<SpawnedWindow> start(const std::vector<std::string>& argv,
                                         const std::string& title);

    // The Qt target window logging committed lines to `log`.
    std::unique_ptr<SpawnedWindow> startTarget(const std::string& log, const std::string& title);
    // The GTK 3 entry logging committed lines to `log`.
    std::unique_ptr<SpawnedWindow> startGtkTarget(const std::string& log, const std::string& title);
    // An xterm under a UTF-8 locale whose reader appends every byte it is
    // handed to `log` (the terminal turns Enter into a line feed).
    std::unique_ptr<SpawnedWindow> startTerminal(const std::string& log, const std::string& title);
    // The same with `environment` ("NAME=value") set for it besides.
    std::unique_ptr<SpawnedWindow> startTerminal(const std::string& log, const std::string& title,
                                                 const std::vector<std::string>& environment);

    // Asks the window manager to activate the window and waits until it is active.
    bool activate(Window window);
    Window activeWindow();

    // The core keyboard mapping, every keycode.
    std::vector<unsigned long> keyboardMapping();
    // Waits (bounded) until the keyboard mapping is `expected` again, as it is
    // once bindings of typed characters have been given back.
    bool keyboardMappingBecomes(const std::vector<unsigned long>& expected,
                                std::chrono::milliseconds timeout = 10000ms);

    // Runs a shell command (xdotool) and waits for it.
    static int run(const std::string& command);

    static std::string readFile(const std::string& path);
    // Waits (bounded) until the file's content satisfies `done`; returns the content.
    static std::string waitForFile(const std::string& path,
                                   const std::function<bool(const std::string&)>& done,
                                   std::chrono::milliseconds timeout = 5000ms);

private:
    Window findWindow(const std::string& title);

    Display* display_;
    std::string directory_;
};

} // namespace tavren::x11test
