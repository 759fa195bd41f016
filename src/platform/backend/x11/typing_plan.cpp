#include "platform/backend/x11/typing_plan.h"

#include "platform/backend/x11/gtk3_compose_clash.h"
#include "platform/backend/x11/keysyms.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

namespace tavren::backend::x11 {
namespace {

using services::KeyStroke;

constexpr std::array<unsigned, 8> kRealModifiers = {ShiftMask, LockMask, ControlMask, Mod1Mask,
                                                    Mod2Mask,  Mod3Mask, Mod4Mask,    Mod5Mask};

std::string hexDigits(unsigned long value) {
    char digits[16] = {};
    std::snprintf(digits, sizeof digits, "%lx", value);
    return digits;
}

unsigned realModifiers(std::uint8_t strokeModifiers) {
    unsigned mask = 0;
    if (strokeModifiers & services::kShift) mask |= ShiftMask;
    if (strokeModifiers & services::kControl) mask |= ControlMask;
    if (strokeModifiers & services::kAlt) mask |= Mod1Mask;
    return mask;
}

// One stroke resolved against the keyboard map.
struct PlannedStroke {
    KeySym keysym = NoSymbol;
    unsigned modifiers = 0;              // the stroke's own Shift/Ctrl/Alt
    std::optional<KeyLocation> location; // nothing: needs a spare keycode
    // The window and its input method act on every earlier key first.
    bool settleBefore = false;
};

// Whether the keycode types its one character whatever the shift state.
bool typesOneCharacter(const BoundLevels& levels) {
    if (levels[2] == NoSymbol && levels[3] == NoSymbol)
        return levels[1] == NoSymbol || levels[1] == levels[0];
    return std::all_of(levels.begin(), levels.end(), [&](KeySym k) { return k == levels[0]; });
}

// The slots spare keycodes offer, free ones and those still bound from earlier
// orders: first levels before second ones, and those before third and fourth
// ones, so that most characters need no modifier and the rest Shift alone.
// While the user holds Shift or AltGr a keycode is one slot, bound at one level.
std::vector<BindingSlot> bindingSlots(const std::vector<KeyCode>& free,
                                      const std::map<KeyCode, BoundLevels>& bound, bool perLevel,
                                      bool fourLevels) {
    std::vector<BindingSlot> slots;
    std::vector<std::pair<KeyCode, BoundLevels>> keys;
    for (KeyCode keycode : free)
        keys.emplace_back(keycode, BoundLevels{NoSymbol, NoSymbol, NoSymbol, NoSymbol});
    for (const auto& entry : bound)
        keys.push_back(entry);
    std::sort(keys.begin(), keys.end());
    if (!perLevel) {
        for (const auto& [keycode, levels] : keys) {
            const bool one = typesOneCharacter(levels);
            slots.push_back({keycode, SlotLevel::Both, one ? levels[0] : NoSymbol, !one});
        }
        return slots;
    }
    constexpr std::array<SlotLevel, 4> kLevels = {SlotLevel::First, SlotLevel::Second,
                                                  SlotLevel::Third, SlotLevel::Fourth};
    for (std::size_t level = 0; level < (fourLevels ? 4u : 2u); ++level)
        for (const auto& [keycode, levels] : keys)
            slots.push_back({keycode, kLevels[level], levels[level], false});
    return slots;
}

KeyLocation locationOf(const BindingSlot& slot, unsigned levelThreeModifier) {
    switch (slot.level) {
    case SlotLevel::Second:
        return {slot.keycode, ShiftMask};
    case SlotLevel::Third:
        return {slot.keycode, levelThreeModifier};
    case SlotLevel::Fourth:
        return {slot.keycode, ShiftMask | levelThreeModifier};
    default:
        return {slot.keycode, 0u};
    }
}

// Ctrl, Alt or Super among modifiers held: characters would be shortcuts.
bool shortcutModifiers(unsigned held, const KeyboardState& keyboard) {
    return held & ~(ShiftMask | LockMask | Mod5Mask | keyboard.numLockMask);
}

TypingPlan impossible(Impossible reason) {
    TypingPlan plan;
    plan.impossible = reason;
    return plan;
}

// The strokes of the order with the input method's keys around them, each on
// its key of the map where it has one that may be used.
class StrokeList {
public:
    StrokeList(const KeyboardState& keyboard, bool avoidLevels)
        : keyboard_(keyboard), avoidLevels_(avoidLevels) {}

    // Where the map types the keysym, unless a binding of an earlier order
    // holds that keycode now: it may be bound anew in the middle of this one.
    std::optional<KeyLocation> onMap(KeySym keysym) const {
        const auto found = keyboard_.places.find(keysym);
        if (found == keyboard_.places.end() || keyboard_.bound.count(found->second.keycode))
            return std::nullopt;
        return found->second;
    }
    // A held or locked Shift or AltGr changes the level of every key on the
    // map; keys bound to spare keycodes at a single level are immune to it.
    // Named keys are the same at every level.
    void add(KeySym keysym, unsigned modifiers, bool named) {
        PlannedStroke planned{keysym, modifiers, {}, std::exchange(settleNext_, false)};
        if (!(avoidLevels_ && !named)) planned.location = onMap(keysym);
        strokes_.push_back(planned);
    }
    void settleNext() { settleNext_ = true; }
    std::vector<PlannedStroke>& strokes() { return strokes_; }

private:
    const KeyboardState& keyboard_;
    bool avoidLevels_;
    bool settleNext_ = false;
    std::vector<PlannedStroke> strokes_;
};

// The order's strokes with the input method's keys around them.
std::vector<PlannedStroke> strokesOf(const services::KeySequence& keys,
                                     const KeyboardState& keyboard,
                                     const InputMethodKeys& inputMethod, bool avoidLevels,
                                     const std::function<bool()>& targetRunsGtk3) {
    StrokeList list(keyboard, avoidLevels);
    if (inputMethod.direct)
        list.add(inputMethod.direct->keysym, inputMethod.direct->modifiers, true);
    std::optional<bool> gtk3;
    for (const KeyStroke& stroke : keys) {
        const KeySym keysym = keysymFor(stroke);
        if (!stroke.isNamed && stroke.modifiers == 0 && clashesWithGtk3Compose(keysym) &&
            !list.onMap(keysym) && !inputMethod.handsCharactersOnAsText) {
            if (!gtk3) gtk3 = targetRunsGtk3();
            if (*gtk3) {
                // GTK's own Unicode entry: Ctrl+Shift+U, the code point, space.
                // An input method in between hands the entry's keys and the
                // keys around them back to GTK in an order of its own: every
                // earlier key goes through first, and the entry before any
                // later one.
                list.settleNext();
                list.add(XK_u, ControlMask | ShiftMask, false);
                for (char digit : hexDigits(keysym & 0xFFFFFF))
                    list.add(static_cast<KeySym>(digit), 0, false);
                list.add(XK_space, 0, false);
                list.settleNext();
                continue;
            }
        }
        list.add(keysym, realModifiers(stroke.modifiers), stroke.isNamed);
    }
    if (inputMethod.giveBack)
        list.add(inputMethod.giveBack->keysym, inputMethod.giveBack->modifiers, true);
    return std::move(list.strokes());
}

// Each stretch's bindings and keys.
void addStretches(std::vector<TypingStep>& steps, const std::vector<PlannedStroke>& strokes,
                  const BindingPlan& bindingPlan, const std::map<unsigned, KeyCode>& modifierKeys) {
    for (const BindingStretch& stretch : bindingPlan.stretches()) {
        // The keys typed so far must be read with the map they were typed
        // with: their keycodes are bound anew only once that is so.
        if (&stretch != &bindingPlan.stretches().front()) steps.push_back(WaitForRead{});
        if (!stretch.bindings.empty()) steps.push_back(Bind{stretch.bindings});
        for (std::size_t i = stretch.begin; i < stretch.end; ++i) {
            const PlannedStroke& planned = strokes[i];
            if (planned.settleBefore) steps.push_back(CatchUp{});
            Key key{planned.location->keycode, {}};
            const unsigned needed = planned.modifiers | planned.location->levelModifiers;
            for (unsigned bit : kRealModifiers)
                if (needed & bit) key.modifiers.push_back(modifierKeys.at(bit));
            steps.push_back(std::move(key));
        }
    }
}

} // namespace

std::optional<ModifiedKey> typeable(const std::optional<InputMethodKey>& key) {
    if (!key) return std::nullopt;
    const KeySym keysym = XStringToKeysym(key->keysym.c_str());
    if (keysym == NoSymbol) return std::nullopt;
    return ModifiedKey{keysym, (key->control ? ControlMask : 0u) | (key->shift ? ShiftMask : 0u) |
                                   (key->alt ? Mod1Mask : 0u)};
}

HeldModifiers heldModifiers(const KeyboardState& keyboard) {
    const auto lock = keyboard.modifierKeys.find(LockMask);
    const KeyCode lockKey = lock == keyboard.modifierKeys.end() ? 0 : lock->second;
    HeldModifiers held;
    bool any = false;
    unsigned released = 0;
    for (unsigned code = 0; code < keyboard.modifierMap.size(); ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        const unsigned modifiers = keyboard.modifierMap[keycode];
        if (!isDown(keyboard.down, keycode) || modifiers == 0 || keycode == lockKey) continue;
        any = true;
        if (keyboard.synthesisedDown && isDown(*keyboard.synthesisedDown, keycode)) {
            held.released.push_back(keycode);
            released |= modifiers;
        }
    }
    if (!any) return held;
    // A modifier stays set while any other key down sets it too; the server
    // drops a key's press on the core keyboard once one device lets go of it.
    unsigned kept = 0;
    for (unsigned code = 0; code < keyboard.modifierMap.size(); ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        if (isDown(keyboard.down, keycode) &&
            std::find(held.released.begin(), held.released.end(), keycode) == held.released.end())
            kept |= keyboard.modifierMap[keycode];
    }
    held.stillHeld = keyboard.latchedModifiers | (keyboard.baseModifiers & ~(released & ~kept));
    return held;
}

bool heldAsShortcut(const KeyboardState& keyboard) {
    return shortcutModifiers(heldModifiers(keyboard).stillHeld, keyboard);
}

TypingPlan planTyping(const services::KeySequence& keys, const KeyboardState& keyboard,
                      const InputMethodKeys& inputMethod,
                      const std::function<bool()>& targetRunsGtk3) {
    const HeldModifiers held = heldModifiers(keyboard);
    if (shortcutModifiers(held.stillHeld, keyboard))
        return impossible(Impossible::ShortcutModifierHeld);
    const auto& levelThree = keyboard.levelThree;
    const unsigned levelModifiers = ShiftMask | Mod5Mask | (levelThree ? levelThree->modifier : 0u);
    const bool avoidLevels = (held.stillHeld | keyboard.lockedModifiers) & levelModifiers;
    std::vector<PlannedStroke> strokes =
        strokesOf(keys, keyboard, inputMethod, avoidLevels, targetRunsGtk3);

    std::map<unsigned, KeyCode> modifierKeys = keyboard.modifierKeys;
    if (levelThree) modifierKeys[levelThree->modifier] = levelThree->key;
    for (const auto& planned : strokes) {
        const unsigned needed =
            planned.modifiers | (planned.location ? planned.location->levelModifiers : 0);
        for (unsigned bit : kRealModifiers)
            if ((needed & bit) && !modifierKeys.count(bit))
                return impossible(Impossible::NoModifierKey);
    }

    TypingPlan plan;
    plan.giveBackInBand = inputMethod.giveBack.has_value();
    const bool perLevel = !avoidLevels && modifierKeys.count(ShiftMask);
    if (perLevel && levelThree) plan.fourLevelType = levelThree->keyType;
    std::vector<KeySym> needs;
    for (const auto& planned : strokes)
        needs.push_back(planned.location ? NoSymbol : planned.keysym);
    const BindingPlan bindingPlan(
        bindingSlots(keyboard.spareKeycodes, keyboard.bound, perLevel, plan.fourLevelType >= 0),
        needs, keyboard.earlierKeysMayBeUnread);
    if (!bindingPlan.possible()) return impossible(Impossible::NoSpareKeycode);
    const unsigned levelThreeModifier = levelThree ? levelThree->modifier : 0u;
    for (std::size_t i = 0; i < strokes.size(); ++i)
        if (const auto& slot = bindingPlan.slotOf(i))
            strokes[i].location = locationOf(*slot, levelThreeModifier);

    for (KeyCode keycode : held.released)
        plan.steps.push_back(ReleaseModifier{keycode});
    if (keyboard.lockedModifiers & LockMask) plan.steps.push_back(UnlockCapsLock{});
    addStretches(plan.steps, strokes, bindingPlan, modifierKeys);
    return plan;
}

} // namespace tavren::backend::x11
