#include "backend/x11/desktop.h"

#include "platform/backend/x11/input_focus.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavren::x11test {
namespace {

std::vector<Window> windowList(Display* display, const char* property) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::vector<Window> windows;
    if (XGetWindowProperty(display, DefaultRootWindow(display),
                           XInternAtom(display, property, False), 0, 4096, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        auto* ids = reinterpret_cast<unsigned long*>(data);
        windows.assign(ids, ids + count);
        XFree(data);
    }
    return windows;
}

std::string windowTitle(Display* display, Window window) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024,
                           False, XInternAtom(display, "UTF8_STRING", False), &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

SpawnedWindow::~SpawnedWindow() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
}

bool SpawnedWindow::stillRunning() const {
    int status = 0;
    return waitpid(pid_, &status, WNOHANG) == 0;
}

Desktop::Desktop() : display_(XOpenDisplay(nullptr)) {
    if (!display_) throw std::runtime_error("no X display: run under scripts/with-desktop.sh");
    XSetErrorHandler(ignoreErrors);
    char pattern[] = "/tmp/tavren-x11-XXXXXX";
    directory_ = mkdtemp(pattern);
}

Desktop::~Desktop() {
    XCloseDisplay(display_);
    std::system(("rm -rf '" + directory_ + "'").c_str());
}

Window Desktop::findWindow(const std::string& title) {
    for (Window window : windowList(display_, "_NET_CLIENT_LIST"))
        if (windowTitle(display_, window) == title) return window;
    return 0;
}

std::unique_ptr<SpawnedWindow> Desktop::start(const std::vector<std::string>& argv,
                                              const std::string& title) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const auto& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    for (int i = 0; i < 200; ++i) {
        if (Window window = findWindow(title)) {
            auto spawned = std::make_unique<SpawnedWindow>(pid, window);
            if (activate(window)) return spawned;
            return nullptr;
        }
        std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return nullptr;
}

std::unique_ptr<SpawnedWindow> Desktop::startTarget(const std::string& log,
                                                    const std::string& title) {
    return start({TAVREN_TEST_TARGET, log, title}, title);
}

std::unique_ptr<SpawnedWindow> Desktop::startGtkTarget(const std::string& log,
                                                       const std::string& title) {
    return start({TAVREN_GTK_TARGET, log, title}, title);
}

std::unique_ptr<SpawnedWindow> Desktop::startTerminal(const std::string& log,
                                                      const std::string& title) {
    return startTerminal(log, title, {});
}

std::unique_ptr<SpawnedWindow> Desktop::startTerminal(const std::string& log,
                                                      const std::string& title,
                                                      const std::vector<std::string>& environment) {
    // env execs xterm in place: the process is the terminal's, for stopping it.
    std::vector<std::string> argv = {"env", "LC_ALL=C.UTF-8"};
    argv.insert(argv.end(), environment.begin(), environment.end());
    argv.insert(argv.end(), {"xterm", "-T", title, "-e", TAVREN_TERM_READER, log});
    return start(argv, title);
}

Window Desktop::activeWindow() {
    auto active = windowList(display_, "_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active[0];
}

bool Desktop::activate(Window window) {
    for (int i = 0; i < 100; ++i) {
        if (i % 10 == 0) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = 2; // a pager's request: obeyed at once
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display_, DefaultRootWindow(display_), False,
                       SubstructureRedirectMask | SubstructureNotifyMask, &event);
            XFlush(display_);
        }
        // GTK 3 keeps the focus on a child window of its own.
        if (activeWindow() == window && backend::x11::focusIsWithin(display_, window)) {
            // A toolkit takes a moment to act on the focus it was given; keys that
            // come before are dropped.
            std::this_thread::sleep_for(300ms);
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

std::vector<unsigned long> Desktop::keyboardMapping() {
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(display_, &first, &last);
    KeySym* syms = XGetKeyboardMapping(display_, first, last - first + 1, &perKey);
    std::vector<unsigned long> mapping(syms, syms + (last - first + 1) * perKey);
    XFree(syms);
    return mapping;
}

bool Desktop::keyboardMappingBecomes(const std::vector<unsigned long>& expected,
                                     std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (keyboardMapping() == expected) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
}

int Desktop::run(const std::string& command) {
    return std::system(command.c_str());
}

std::string Desktop::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string Desktop::waitForFile(const std::string& path,
                                 const std::function<bool(const std::string&)>& done,
                                 std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string content = readFile(path);
    while (!done(content) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        content = readFile(path);
    }
    return content;
}

} // namespace tavren::x11test
