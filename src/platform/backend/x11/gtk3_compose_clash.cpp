#include "platform/backend/x11/gtk3_compose_clash.h"

#include "platform/backend/x11/x11_connection.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace tavren::backend::x11 {
namespace {

constexpr KeySym kUnicodeKeysyms = 0x01000000;

// The window's _NET_WM_PID, 0 when it has none.
long windowPid(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, atom(display, "_NET_WM_PID"), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        data) {
        if (type == XA_CARDINAL && format == 32 && count == 1) pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

// Whether the window's program runs on this machine: a pid names a process
// only there.
bool onThisMachine(Display* display, Window window) {
    XTextProperty machine{};
    if (!XGetWMClientMachine(display, window, &machine) || !machine.value) return false;
    const std::string name(reinterpret_cast<char*>(machine.value), machine.nitems);
    XFree(machine.value);
    char host[256] = {};
    return gethostname(host, sizeof host - 1) == 0 && name == host;
}

} // namespace

bool clashesWithGtk3Compose(KeySym keysym) {
    if ((keysym & 0xFF000000) != kUnicodeKeysyms) return false;
    const KeySym low = keysym & 0xFFFF;
    return low == XK_Multi_key || (low >= XK_dead_grave && low <= 0xFE8F);
}

bool runsGtk3(Display* display, Window window) {
    const long pid = windowPid(display, window);
    if (pid <= 0 || !onThisMachine(display, window)) return false;
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("/libgtk-3.so") != std::string::npos) return true;
    return false;
}

} // namespace tavren::backend::x11
