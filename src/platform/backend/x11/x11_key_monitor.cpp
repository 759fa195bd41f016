#include "platform/backend/x11/x11_key_monitor.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <stdexcept>
#include <string_view>

namespace tavren::backend::x11 {
namespace {

// The digit a keypad keysym stands for: KP_0..KP_9 and, for the same keys with
// Num Lock off, KP_Insert, KP_End, KP_Down, ... KP_Prior.
int keypadDigit(KeySym sym) {
    if (sym >= XK_KP_0 && sym <= XK_KP_9) return static_cast<int>(sym - XK_KP_0);
    switch (sym) {
    case XK_KP_Insert:
        return 0;
    case XK_KP_End:
        return 1;
    case XK_KP_Down:
        return 2;
    case XK_KP_Next:
        return 3;
    case XK_KP_Left:
        return 4;
    case XK_KP_Begin:
        return 5;
    case XK_KP_Right:
        return 6;
    case XK_KP_Home:
        return 7;
    case XK_KP_Up:
        return 8;
    case XK_KP_Prior:
        return 9;
    default:
        return -1;
    }
}

} // namespace

X11KeyMonitor::X11KeyMonitor(const char* displayName, SynthesisLedger& ledger)
    : display_(openDisplay(displayName)), ledger_(ledger) {
    Display* display = display_.get();
    int event = 0, error = 0;
    if (!XQueryExtension(display, "XInputExtension", &xiOpcode_, &event, &error))
        throw std::runtime_error("the X server lacks the XInput extension");
    int major = 2, minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success)
        throw std::runtime_error("the X server lacks XInput 2.2");
    int opcode = 0, xkbError = 0;
    XkbQueryExtension(display, &opcode, &xkbEventBase_, &xkbError, &major, &minor);
    XkbSelectEvents(display, XkbUseCoreKbd, XkbMapNotifyMask | XkbNewKeyboardNotifyMask,
                    XkbMapNotifyMask | XkbNewKeyboardNotifyMask);

    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count; ++i)
        if (devices[i].use == XISlaveKeyboard &&
            std::string_view(devices[i].name).find("XTEST") != std::string_view::npos)
            xtestDevices_.insert(devices[i].deviceid);
    XIFreeDeviceInfo(devices);

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    readKeypadLayout();
    XSync(display, False);
    // From here on every key the keyboard fakes comes back to us as an event.
    ledger_.clear();
}

services::KeyState X11KeyMonitor::query(services::KeypadDigit key) {
    // The state request is a round trip: every event the server generated
    // before answering it is in our queue when the answer is.
    const bool digits = numLockOn();
    drainEvents();
    if (layoutStale_) readKeypadLayout();
    services::KeyState state;
    for (int keycode : keycodesOfDigit_[static_cast<int>(key)]) {
        state.downNow = state.downNow || !heldBy_[keycode].empty();
        state.pressedSinceLastQuery = state.pressedSinceLastQuery || pressedSinceQuery_[keycode];
        pressedSinceQuery_[keycode] = false;
    }
    if (!digits) return {};
    return state;
}

void X11KeyMonitor::drainEvents() {
    Display* display = display_.get();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            layoutStale_ = true;
        } else if (event.type == xkbEventBase_) {
            layoutStale_ = true;
        } else if (event.xcookie.type == GenericEvent && event.xcookie.extension == xiOpcode_ &&
                   XGetEventData(display, &event.xcookie)) {
            const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
            onRawKey(event.xcookie.evtype, raw->detail, raw->sourceid);
            XFreeEventData(display, &event.xcookie);
        }
    }
}

void X11KeyMonitor::onRawKey(int type, int keycode, int sourceDevice) {
    if (keycode < 0 || keycode > 255) return;
    const bool faked = xtestDevices_.count(sourceDevice) > 0;
    const auto code = static_cast<std::uint8_t>(keycode);
    if (type == XI_RawKeyPress) {
        if (faked && ledger_.consumePress(code)) return;
        heldBy_[code].insert(sourceDevice);
        pressedSinceQuery_[code] = true;
    } else if (type == XI_RawKeyRelease) {
        if (faked && ledger_.consumeRelease(code)) return;
        heldBy_[code].erase(sourceDevice);
    }
}

void X11KeyMonitor::readKeypadLayout() {
    Display* display = display_.get();
    for (auto& keycodes : keycodesOfDigit_)
        keycodes.clear();
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym* syms =
        XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKey);
    if (syms) {
        for (int keycode = first; keycode <= last; ++keycode) {
            // The first group's two levels: the key's own keysyms.
            for (int level = 0; level < perKey && level < 2; ++level) {
                const int digit = keypadDigit(syms[(keycode - first) * perKey + level]);
                if (digit >= 0) {
                    keycodesOfDigit_[digit].push_back(keycode);
                    break;
                }
            }
        }
        XFree(syms);
    }
    numLockMask_ = XkbKeysymToModifiers(display, XK_Num_Lock);
    layoutStale_ = false;
}

bool X11KeyMonitor::numLockOn() {
    XkbStateRec state{};
    if (XkbGetState(display_.get(), XkbUseCoreKbd, &state) != Success) return false;
    return numLockMask_ != 0 && (state.locked_mods & numLockMask_);
}

} // namespace tavren::backend::x11
