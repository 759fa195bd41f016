#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tavren::backend::x11 {

struct XkbDescDeleter {
    void operator()(XkbDescPtr desc) const { XkbFreeKeyboard(desc, XkbAllComponentsMask, True); }
};
using XkbDescHandle = std::unique_ptr<XkbDescRec, XkbDescDeleter>;

// The key types, keysyms and modifier map of the core keyboard, as fetched.
XkbDescHandle fetchKeyboardDescription(Display* display);

// Where a keysym sits on the keyboard: the key, and the real modifiers that
// select its shift level.
struct KeyLocation {
    KeyCode keycode = 0;
    unsigned levelModifiers = 0;
};

// What a key needs to type four characters: the key type whose levels Shift and
// the third-level modifier (AltGr) select, and a key that sets that modifier.
struct LevelThree {
    int keyType = 0;       // index among the map's key types
    unsigned modifier = 0; // one real modifier, Mod5Mask on most maps
    KeyCode key = 0;
};

// Where each keysym of a keyboard map is typed.
using KeyPlaces = std::unordered_map<KeySym, KeyLocation>;

// The key type of four levels: none, Shift, `modifier`, Shift and `modifier`.
std::optional<int> fourLevelKeyType(const XkbDescRec& xkb, unsigned modifier);

// A snapshot of the keyboard map, in the keyboard group that is active now,
// answering where keysyms and modifiers are.
class KeyboardMap {
public:
    // Nothing when the server does not answer.
    static std::optional<KeyboardMap> fetch(Display* display);

    // The key and level that type each keysym with at most Shift and the
    // third-level modifier (AltGr) held, preferring fewer modifiers, then lower
    // keycodes. Levels that need a modifier the map has no key for are left out.
    KeyPlaces places() const;

    // A key that sets the single real modifier `mask` (ShiftMask, ControlMask,
    // Mod1Mask, Mod5Mask) while held, not a lock key.
    std::optional<KeyCode> modifierKey(unsigned mask) const;

    // The modifier ISO_Level3_Shift sets, its key and the four-level key type;
    // nothing when the map lacks one of them.
    std::optional<LevelThree> levelThree() const;

    // Keys without any keysym and outside the modifier map: free to bind.
    std::vector<KeyCode> spareKeycodes() const;

    // The real modifiers that the Num Lock key locks (0 if none).
    unsigned numLockMask() const { return numLockMask_; }

    const XkbDescRec& description() const { return *desc_; }

private:
    KeyboardMap(XkbDescHandle desc, unsigned group, unsigned numLockMask);
    std::optional<unsigned> modifiersForLevel(const XkbKeyTypeRec& type, int level) const;
    unsigned groupOf(KeyCode keycode) const;

    XkbDescHandle desc_;
    unsigned group_ = 0;
    unsigned numLockMask_ = 0;
};

} // namespace tavren::backend::x11
