#include "platform/backend/x11/keyboard_state.h"

#include <X11/XKBlib.h>

namespace tavren::backend::x11 {

std::optional<KeyboardState> readKeyboardState(Display* display, XTestKeyboardState& xtest) {
    const auto map = KeyboardMap::fetch(display);
    if (!map) return std::nullopt;
    KeyboardState state;
    state.places = map->places();
    for (unsigned bit = ShiftMask; bit <= Mod5Mask; bit <<= 1)
        if (const auto key = map->modifierKey(bit)) state.modifierKeys[bit] = *key;
    state.levelThree = map->levelThree();
    state.spareKeycodes = map->spareKeycodes();
    state.numLockMask = map->numLockMask();
    const XkbDescRec& xkb = map->description();
    bool modifierDown = false;
    XQueryKeymap(display, state.down.data());
    for (int code = xkb.min_key_code; code <= xkb.max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        state.modifierMap[keycode] = xkb.map->modmap[keycode];
        if (state.modifierMap[keycode] != 0 && isDown(state.down, keycode)) modifierDown = true;
    }
    if (modifierDown) state.synthesisedDown = xtest.keysDown();
    XkbStateRec modifiers{};
    if (XkbGetState(display, XkbUseCoreKbd, &modifiers) == Success) {
        state.baseModifiers = modifiers.base_mods;
        state.latchedModifiers = modifiers.latched_mods;
        state.lockedModifiers = modifiers.locked_mods;
    }
    return state;
}

} // namespace tavren::backend::x11
