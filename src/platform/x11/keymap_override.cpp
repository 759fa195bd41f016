#include "platform/x11/keymap_override.h"

#include <algorithm>

namespace tavren::x11 {
namespace {

bool sendKeysyms(Display* display, XkbDescPtr desc, int first, int last) {
    XkbMapChangesRec changes{};
    changes.changed = XkbKeySymsMask;
    changes.first_key_sym = static_cast<KeyCode>(first);
    changes.num_key_syms = static_cast<unsigned char>(last - first + 1);
    return XkbChangeMap(display, desc, &changes);
}

} // namespace

KeymapOverride::KeymapOverride(Display* display) : display_(display) {}

bool KeymapOverride::bind(const std::vector<std::pair<KeyCode, KeySym>>& bindings) {
    if (bindings.empty()) return true;
    if (!original_) {
        // Two copies: one to edit, one kept intact to restore from.
        original_ = fetchKeyboardDescription(display_);
        working_ = fetchKeyboardDescription(display_);
        if (!original_ || !working_) {
            original_.reset();
            working_.reset();
            return false;
        }
    }
    int first = 255, last = 0;
    for (const auto& [keycode, keysym] : bindings) {
        int oneLevel[XkbNumKbdGroups] = {XkbOneLevelIndex, XkbOneLevelIndex, XkbOneLevelIndex,
                                         XkbOneLevelIndex};
        if (XkbChangeTypesOfKey(working_.get(), keycode, 1, XkbGroup1Mask, oneLevel, nullptr) !=
            Success)
            return false;
        XkbKeySymsPtr(working_.get(), keycode)[0] = keysym;
        first = std::min<int>(first, keycode);
        last = std::max<int>(last, keycode);
    }
    touchedFirst_ = touchedFirst_ ? std::min(touchedFirst_, first) : first;
    touchedLast_ = std::max(touchedLast_, last);
    return sendKeysyms(display_, working_.get(), first, last);
}

void KeymapOverride::restore() {
    if (!active()) return;
    sendKeysyms(display_, original_.get(), touchedFirst_, touchedLast_);
    XSync(display_, False);
    touchedFirst_ = touchedLast_ = 0;
    original_.reset();
    working_.reset();
}

} // namespace tavren::x11
