#include "platform/backend/x11/keyboard_map.h"

#include <X11/keysym.h>

#include <bit>

namespace tavren::backend::x11 {
namespace {

constexpr unsigned kLevelModifiers = ShiftMask | Mod5Mask;

bool isLockKeysym(KeySym sym) {
    return sym == XK_Caps_Lock || sym == XK_Shift_Lock || sym == XK_Num_Lock ||
           sym == XK_Scroll_Lock;
}

// Such a key sits in the modifier map (Mode_switch shares Mod5 with AltGr on
// the usual maps), but XKB has it switch the group instead of setting its
// modifier.
bool switchesGroup(KeySym sym) {
    return sym == XK_Mode_switch || sym == XK_ISO_Group_Latch || sym == XK_ISO_Group_Lock ||
           sym == XK_ISO_Next_Group || sym == XK_ISO_Prev_Group || sym == XK_ISO_First_Group ||
           sym == XK_ISO_Last_Group;
}

} // namespace

std::optional<int> fourLevelKeyType(const XkbDescRec& xkb, unsigned modifier) {
    const unsigned both = ShiftMask | modifier;
    for (int t = 0; t < xkb.map->num_types; ++t) {
        const XkbKeyTypeRec& type = xkb.map->types[t];
        if (type.num_levels != 4 || type.mods.mask != both || type.preserve) continue;
        // Every combination of the two picks its own level, as documented.
        unsigned found = 0;
        for (int i = 0; i < type.map_count; ++i) {
            const auto& entry = type.map[i];
            if (!entry.active) continue;
            const unsigned mask = entry.mods.mask;
            if ((mask == ShiftMask && entry.level == 1) || (mask == modifier && entry.level == 2) ||
                (mask == both && entry.level == 3))
                found |= 1u << entry.level;
            else
                found |= 1u; // anything else: not this type
        }
        if (found == 0b1110) return t;
    }
    return std::nullopt;
}

XkbDescHandle fetchKeyboardDescription(Display* display) {
    return XkbDescHandle(
        XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask, XkbUseCoreKbd));
}

std::optional<KeyboardMap> KeyboardMap::fetch(Display* display) {
    auto desc = fetchKeyboardDescription(display);
    if (!desc || !desc->map) return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
    const unsigned numLock = XkbKeysymToModifiers(display, XK_Num_Lock);
    return KeyboardMap(std::move(desc), state.group, numLock);
}

KeyboardMap::KeyboardMap(XkbDescHandle desc, unsigned group, unsigned numLockMask)
    : desc_(std::move(desc)), group_(group), numLockMask_(numLockMask) {}

unsigned KeyboardMap::groupOf(KeyCode keycode) const {
    const unsigned groups = XkbKeyNumGroups(desc_.get(), keycode);
    if (groups == 0) return 0;
    return group_ < groups ? group_ : group_ % groups;
}

std::optional<unsigned> KeyboardMap::modifiersForLevel(const XkbKeyTypeRec& type, int level) const {
    if (level == 0) return 0u;
    std::optional<unsigned> best;
    for (int i = 0; i < type.map_count; ++i) {
        const auto& entry = type.map[i];
        if (!entry.active || entry.level != level) continue;
        const unsigned mask = entry.mods.mask;
        if (mask & ~kLevelModifiers) continue;
        if (!best || std::popcount(mask) < std::popcount(*best)) best = mask;
    }
    return best;
}

KeyPlaces KeyboardMap::places() const {
    unsigned pressable = 0;
    for (unsigned bit = 1; bit <= Mod5Mask; bit <<= 1)
        if (modifierKey(bit)) pressable |= bit;
    KeyPlaces places;
    XkbDescPtr xkb = desc_.get();
    for (int code = xkb->min_key_code; code <= xkb->max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (XkbKeyNumGroups(xkb, keycode) == 0) continue;
        const unsigned group = groupOf(keycode);
        const XkbKeyTypeRec* type = XkbKeyKeyType(xkb, keycode, group);
        for (int level = 0; level < type->num_levels; ++level) {
            const KeySym keysym = XkbKeySymEntry(xkb, keycode, level, group);
            if (keysym == NoSymbol) continue;
            const auto mods = modifiersForLevel(*type, level);
            if (!mods || (*mods & ~pressable)) continue;
            const auto [place, added] = places.try_emplace(keysym, KeyLocation{keycode, *mods});
            if (!added && std::popcount(*mods) < std::popcount(place->second.levelModifiers))
                place->second = KeyLocation{keycode, *mods};
        }
    }
    return places;
}

std::optional<KeyCode> KeyboardMap::modifierKey(unsigned mask) const {
    XkbDescPtr xkb = desc_.get();
    for (int code = xkb->min_key_code; code <= xkb->max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (!(xkb->map->modmap[keycode] & mask)) continue;
        if (XkbKeyNumGroups(xkb, keycode) == 0) continue;
        const KeySym sym = XkbKeySymEntry(xkb, keycode, 0, groupOf(keycode));
        if (isLockKeysym(sym) || switchesGroup(sym)) continue;
        return keycode;
    }
    return std::nullopt;
}

std::optional<LevelThree> KeyboardMap::levelThree() const {
    XkbDescPtr xkb = desc_.get();
    for (int code = xkb->min_key_code; code <= xkb->max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (XkbKeyNumGroups(xkb, keycode) == 0) continue;
        if (XkbKeySymEntry(xkb, keycode, 0, groupOf(keycode)) != XK_ISO_Level3_Shift) continue;
        const unsigned modifier = xkb->map->modmap[keycode];
        if (std::popcount(modifier) != 1 || modifier == ShiftMask || modifier == LockMask) continue;
        const auto type = fourLevelKeyType(*xkb, modifier);
        if (!type) return std::nullopt;
        return LevelThree{*type, modifier, keycode};
    }
    return std::nullopt;
}

std::vector<KeyCode> KeyboardMap::spareKeycodes() const {
    std::vector<KeyCode> spare;
    XkbDescPtr xkb = desc_.get();
    // The lowest keycode is left alone: some toolkits take 8 for "no key".
    for (int code = xkb->min_key_code + 1; code <= xkb->max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (XkbKeyNumGroups(xkb, keycode) == 0 && xkb->map->modmap[keycode] == 0)
            spare.push_back(keycode);
    }
    return spare;
}

} // namespace tavren::backend::x11
