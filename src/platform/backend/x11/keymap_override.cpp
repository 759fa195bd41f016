#include "platform/backend/x11/keymap_override.h"

#include <algorithm>

namespace tavren::backend::x11 {
namespace {

bool sendKeysyms(Display* display, XkbDescPtr desc, int first, int last) {
    XkbMapChangesRec changes{};
    changes.changed = XkbKeySymsMask;
    changes.first_key_sym = static_cast<KeyCode>(first);
    changes.num_key_syms = static_cast<unsigned char>(last - first + 1);
    return XkbChangeMap(display, desc, &changes);
}

// Gives the key one, two or four levels, chosen by Shift and the third-level
// modifier alone (Caps Lock and Num Lock do not reach them), and its
// characters. Set by hand: Xlib's XkbChangeTypesOfKey crashes on keys it
// changed before.
bool setKey(XkbDescPtr desc, KeyCode keycode, const BoundLevels& levels, int fourLevelType) {
    const bool four = levels[2] != NoSymbol || levels[3] != NoSymbol;
    if (four && fourLevelType < 0) return false;
    const int width = four ? 4 : levels[1] != NoSymbol ? 2 : 1;
    KeySym* syms = XkbResizeKeySyms(desc, keycode, width);
    if (!syms) return false;
    XkbSymMapPtr key = &desc->map->key_sym_map[keycode];
    key->kt_index[0] = static_cast<unsigned char>(four         ? fourLevelType
                                                  : width == 2 ? XkbTwoLevelIndex
                                                               : XkbOneLevelIndex);
    key->group_info = XkbSetNumGroups(0, 1);
    key->width = static_cast<unsigned char>(width);
    std::copy(levels.begin(), levels.begin() + width, syms);
    return true;
}

} // namespace

KeymapOverride::KeymapOverride(Display* display) : display_(display) {}

bool KeymapOverride::bind(const std::vector<SlotBinding>& bindings, int fourLevelType) {
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
    std::map<KeyCode, BoundLevels> changed;
    for (const auto& binding : bindings) {
        const auto keycode = static_cast<KeyCode>(binding.keycode);
        auto known = changed.find(keycode);
        if (known == changed.end()) {
            const auto held = bound_.find(keycode);
            known = changed
                        .emplace(keycode, held == bound_.end()
                                              ? BoundLevels{NoSymbol, NoSymbol, NoSymbol, NoSymbol}
                                              : held->second)
                        .first;
        }
        BoundLevels& levels = known->second;
        switch (binding.level) {
        case SlotLevel::Both:
            // Two levels rather than one: narrowing a key of two levels to
            // one crashes Xlib's XkbChangeTypesOfKey.
            levels = {binding.keysym, binding.keysym, NoSymbol, NoSymbol};
            break;
        case SlotLevel::First:
            // A key of one level types its character with Shift too: it keeps
            // doing so until its second level is bound.
            levels[0] = binding.keysym;
            break;
        case SlotLevel::Second:
            if (levels[0] == NoSymbol) levels[0] = binding.keysym;
            levels[1] = binding.keysym;
            break;
        case SlotLevel::Third:
            levels[2] = binding.keysym;
            break;
        case SlotLevel::Fourth:
            levels[3] = binding.keysym;
            break;
        }
    }
    for (const auto& [keycode, levels] : changed) {
        if (!setKey(working_.get(), keycode, levels, fourLevelType)) return false;
        bound_[keycode] = levels;
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
    bound_.clear();
    original_.reset();
    working_.reset();
}

} // namespace tavren::backend::x11
