#include "platform/backend/x11/xtest_keyboard_state.h"

#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <string_view>

namespace tavren::backend::x11 {

XTestKeyboardState::~XTestKeyboardState() {
    if (device_) XCloseDevice(display_, device_);
}

bool XTestKeyboardState::open() {
    if (looked_) return device_ != nullptr;
    looked_ = true;
    int opcode = 0, event = 0, error = 0;
    if (!XQueryExtension(display_, "XInputExtension", &opcode, &event, &error)) return false;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display_, XIAllDevices, &count);
    if (!devices) return false;
    int core = 0, xtest = 0;
    for (int i = 0; i < count; ++i)
        if (devices[i].use == XIMasterKeyboard && core == 0) core = devices[i].deviceid;
    for (int i = 0; i < count && xtest == 0; ++i)
        if (devices[i].use == XISlaveKeyboard && devices[i].attachment == core &&
            std::string_view(devices[i].name).find("XTEST") != std::string_view::npos)
            xtest = devices[i].deviceid;
    XIFreeDeviceInfo(devices);
    if (xtest != 0) device_ = XOpenDevice(display_, static_cast<XID>(xtest));
    return device_ != nullptr;
}

std::optional<std::array<char, 32>> XTestKeyboardState::keysDown() {
    if (!open()) return std::nullopt;
    XDeviceState* state = XQueryDeviceState(display_, device_);
    if (!state) return std::nullopt;
    std::optional<std::array<char, 32>> down;
    auto* item = state->data;
    for (int i = 0; i < state->num_classes; ++i) {
        if (item->c_class == KeyClass) {
            const auto* keys = reinterpret_cast<XKeyState*>(item);
            down.emplace();
            std::copy(keys->keys, keys->keys + 32, down->begin());
        }
        item = reinterpret_cast<XInputClass*>(reinterpret_cast<char*>(item) + item->length);
    }
    XFreeDeviceState(state);
    return down;
}

} // namespace tavren::backend::x11
