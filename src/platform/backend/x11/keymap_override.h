#pragma once

#include "platform/backend/x11/binding_plan.h"
#include "platform/backend/x11/keyboard_map.h"

#include <X11/Xlib.h>

#include <array>
#include <map>
#include <vector>

namespace tavren::backend::x11 {

// What a spare keycode is bound to: the character of each of its shift levels
// (first, Shift, third-level modifier, both). Only the first: one level, the
// same with Shift; the first two alone: two levels, the third-level modifier
// ignored; the same character at the first two also types it whatever the
// shift state. A third or fourth makes four levels; the others may be
// NoSymbol, typing nothing.
using BoundLevels = std::array<KeySym, 4>;

// Binds keysyms that are not on the keyboard map to spare keycodes and puts the
// map back as it was. Each binding is one XKB request covering every key of the
// chunk, so clients (window managers first) re-read the map once per chunk, not
// once per character. The keys between the spare ones that the request spans are
// sent back exactly as they were fetched.
class KeymapOverride {
public:
    // `display` is borrowed. Nothing changes until bind().
    explicit KeymapOverride(Display* display);
    ~KeymapOverride() { restore(); }
    KeymapOverride(const KeymapOverride&) = delete;
    KeymapOverride& operator=(const KeymapOverride&) = delete;

    // Binds each keysym to its keycode and level, in one request; a keycode
    // bound before keeps its other levels. `fourLevelType` is the key type of
    // keycodes with a third or fourth level (LevelThree::keyType; -1: there is
    // none, and binding either fails). False when the map could not be fetched
    // or changed.
    bool bind(const std::vector<SlotBinding>& bindings, int fourLevelType = -1);

    // Puts back every keycode bound so far (one request). Safe to call twice.
    void restore();

    bool active() const { return touchedFirst_ != 0; }

    // Every keycode bound now.
    const std::map<KeyCode, BoundLevels>& bound() const { return bound_; }

private:
    Display* display_;
    XkbDescHandle original_;
    XkbDescHandle working_;
    std::map<KeyCode, BoundLevels> bound_;
    int touchedFirst_ = 0;
    int touchedLast_ = 0;
};

} // namespace tavren::backend::x11
