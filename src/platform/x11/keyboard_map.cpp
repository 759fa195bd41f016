#include "platform/x11/keyboard_map.h"

#include <X11/keysym.h>

#include <bit>

namespace tavren::x11 {
namespace {

constexpr unsigned kLevelModifiers = ShiftMask | Mod5Mask;

bool isLockKeysym(KeySym sym) {
    return sym == XK_Caps_Lock || sym == XK_Shift_Lock || sym == XK_Num_Lock ||
           sym == XK_Scroll_Lock;
}

} // namespace

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

std::optional<KeyLocation> KeyboardMap::find(KeySym keysym) const {
    std::optional<KeyLocation> best;
    XkbDescPtr xkb = desc_.get();
    for (int code = xkb->min_key_code; code <= xkb->max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (XkbKeyNumGroups(xkb, keycode) == 0) continue;
        const unsigned group = groupOf(keycode);
        const XkbKeyTypeRec* type = XkbKeyKeyType(xkb, keycode, group);
        for (int level = 0; level < type->num_levels; ++level) {
            if (XkbKeySymEntry(xkb, keycode, level, group) != keysym) continue;
            const auto mods = modifiersForLevel(*type, level);
            if (!mods) continue;
            bool pressable = true;
            for (unsigned bit = 1; bit <= Mod5Mask; bit <<= 1)
                if ((*mods & bit) && !modifierKey(bit)) pressable = false;
            if (!pressable) continue;
            if (!best || std::popcount(*mods) < std::popcount(best->levelModifiers))
                best = KeyLocation{keycode, *mods};
        }
    }
    return best;
}

std::optional<KeyCode> KeyboardMap::modifierKey(unsigned mask) const {
    XkbDescPtr xkb = desc_.get();
    for (int code = xkb->min_key_code; code <= xkb->max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (!(xkb->map->modmap[keycode] & mask)) continue;
        if (XkbKeyNumGroups(xkb, keycode) == 0) continue;
        if (isLockKeysym(XkbKeySymEntry(xkb, keycode, 0, groupOf(keycode)))) continue;
        return keycode;
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

} // namespace tavren::x11
