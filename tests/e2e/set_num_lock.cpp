// Sets Num Lock on or off, whatever it was: keypad keys are digits only while it
// is on, and a key press would only toggle it.
// Usage: tavren_set_num_lock on|off
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "on") != 0 && std::strcmp(argv[1], "off") != 0)) {
        std::fprintf(stderr, "usage: %s on|off\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const unsigned mask = XkbKeysymToModifiers(display, XK_Num_Lock);
    const bool on = std::strcmp(argv[1], "on") == 0;
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    const bool nowOn = mask != 0 && (state.locked_mods & mask) != 0;
    XCloseDisplay(display);
    return nowOn == on ? 0 : 1;
}
