// A window of another program for the window-list tests: it sets the title
// properties it is told to, prints its window id and stays until its standard
// input closes (so it never outlives the test that started it).
//
// Usage: tavren_x11_window_target [--net-name UTF8] [--wm-name BYTES]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    const char* netName = nullptr;
    const char* wmName = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--net-name") == 0) netName = argv[i + 1];
        if (std::strcmp(argv[i], "--wm-name") == 0) wmName = argv[i + 1];
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 100, 240,
                                              120, 1, 0, 0xFFFFFF);
    if (netName)
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(netName),
                        static_cast<int>(std::strlen(netName)));
    if (wmName)
        XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(wmName),
                        static_cast<int>(std::strlen(wmName)));
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    XSelectInput(display, window, StructureNotifyMask | FocusChangeMask);
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("%lu\n", window);
    std::fflush(stdout);

    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        if (poll(fds, 2, -1) < 0) break;
        if (fds[1].revents) {
            char buffer[64];
            if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) break;
        }
        if (fds[0].revents & (POLLHUP | POLLERR)) break;
    }
    XCloseDisplay(display);
    return 0;
}
