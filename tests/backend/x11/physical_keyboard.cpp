#include "physical_keyboard.h"

#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include <stdexcept>
#include <string_view>

namespace tavren::testkeys {
namespace {

// A keyboard attached to the core keyboard that is not the XTest device of
// synthesised keys; 0 when there is none.
int physicalKeyboardId(Display* display) {
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    int core = 0, found = 0;
    for (int i = 0; i < count; ++i)
        if (devices[i].use == XIMasterKeyboard &&
            std::string_view(devices[i].name) == "Virtual core keyboard")
            core = devices[i].deviceid;
    for (int i = 0; i < count && !found; ++i)
        if (devices[i].use == XISlaveKeyboard && devices[i].attachment == core &&
            std::string_view(devices[i].name).find("XTEST") == std::string_view::npos)
            found = devices[i].deviceid;
    XIFreeDeviceInfo(devices);
    return found;
}

bool isSet(const char* bits, int keycode) {
    return bits[keycode / 8] & (1 << (keycode % 8));
}

} // namespace

PhysicalKeyboard::PhysicalKeyboard() : display_(XOpenDisplay(nullptr)) {
    if (!display_) throw std::runtime_error("cannot open the display");
    int opcode = 0, event = 0, error = 0, major = 2, minor = 2;
    const bool extensions = XQueryExtension(display_, "XInputExtension", &opcode, &event, &error) &&
                            XIQueryVersion(display_, &major, &minor) == Success &&
                            XTestQueryExtension(display_, &event, &error, &major, &minor);
    const int id = extensions ? physicalKeyboardId(display_) : 0;
    if (id != 0) device_ = XOpenDevice(display_, static_cast<XID>(id));
    if (!device_) {
        XCloseDisplay(display_);
        throw std::runtime_error("the X server has no keyboard device besides XTest's");
    }
}

PhysicalKeyboard::~PhysicalKeyboard() {
    for (int keycode = 8; keycode < 256; ++keycode)
        if (isSet(held_, keycode))
            XTestFakeDeviceKeyEvent(display_, device_, static_cast<unsigned>(keycode), False,
                                    nullptr, 0, CurrentTime);
    XSync(display_, False);
    XCloseDevice(display_, device_);
    XCloseDisplay(display_);
}

bool PhysicalKeyboard::hold(const std::string& keysymName) {
    return fake(keysymName, true);
}

bool PhysicalKeyboard::letGo(const std::string& keysymName) {
    return fake(keysymName, false);
}

bool PhysicalKeyboard::fake(const std::string& keysymName, bool down) {
    const KeySym keysym = XStringToKeysym(keysymName.c_str());
    const KeyCode keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(display_, keysym);
    if (keycode == 0) return false;
    XTestFakeDeviceKeyEvent(display_, device_, keycode, down ? True : False, nullptr, 0,
                            CurrentTime);
    XSync(display_, False);
    if (down)
        held_[keycode / 8] = static_cast<char>(held_[keycode / 8] | (1 << (keycode % 8)));
    else
        held_[keycode / 8] = static_cast<char>(held_[keycode / 8] & ~(1 << (keycode % 8)));
    return true;
}

} // namespace tavren::testkeys
