#include "platform/backend/x11/x11_keyboard.h"

#include "platform/backend/x11/gtk3_compose_clash.h"
#include "platform/backend/x11/ignored_x_errors.h"
#include "platform/backend/x11/input_method.h"
#include "platform/backend/x11/input_method_guard.h"
#include "platform/backend/x11/keyboard_map.h"
#include "platform/backend/x11/keysyms.h"
#include "platform/backend/x11/lingering_bindings.h"
#include "platform/backend/x11/target_window.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tavren::backend::x11 {
namespace {

using services::KeySequence;
using services::KeyStroke;
using services::TypeResult;

constexpr std::array<unsigned, 8> kRealModifiers = {ShiftMask, LockMask, ControlMask, Mod1Mask,
                                                    Mod2Mask,  Mod3Mask, Mod4Mask,    Mod5Mask};

// Presses and releases keys through XTest, noting each in the ledger.
class KeyPresser {
public:
    KeyPresser(Display* display, SynthesisLedger& ledger) : display_(display), ledger_(ledger) {}
    void press(KeyCode keycode) {
        ledger_.recordPress(keycode);
        XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
    }
    void release(KeyCode keycode) {
        ledger_.recordRelease(keycode);
        XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    }

private:
    Display* display_;
    SynthesisLedger& ledger_;
};

bool isDown(const std::array<char, 32>& keys, KeyCode keycode) {
    return keys[keycode / 8] & (1 << (keycode % 8));
}

// Whether the core keyboard has the key down, whichever device holds it.
bool isDownNow(Display* display, KeyCode keycode) {
    std::array<char, 32> keys{};
    XQueryKeymap(display, keys.data());
    return isDown(keys, keycode);
}

// How long a key the user holds may keep its stroke waiting: a tap's press is
// over in a tenth of a second, and a key held longer than this repeats for the
// user anyway.
constexpr auto kHeldKeyPatience = std::chrono::milliseconds(1000);
constexpr auto kHeldKeyPoll = std::chrono::milliseconds(2);

// The server serves this connection alone while the object lives: nothing that
// another client asks for (a window manager's focus change above all) can come
// between the requests made meanwhile. Kept to a few requests, since every other
// program waits.
class ServerGrab {
public:
    explicit ServerGrab(Display* display) : display_(display) { XGrabServer(display_); }
    ~ServerGrab() {
        XUngrabServer(display_);
        XFlush(display_);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* display_;
};

// Modifier keys that were down when typing began are released for its duration
// and pressed again afterwards. Keys held on a physical keyboard cannot be
// released from here (XTest acts on its own device), and are left alone: a
// release and press of their own on the XTest device would leave that one
// holding them once the user lets go, and Shift typed later would do nothing.
// Those stay down and `stillHeld()` reports their modifiers.
class HeldModifierRelease {
public:
    HeldModifierRelease(Display* display, KeyPresser& presser, const KeyboardMap& map,
                        XTestKeyboardState& xtest)
        : display_(display), presser_(presser) {
        std::array<char, 32> keys{};
        XQueryKeymap(display_, keys.data());
        const XkbDescRec& xkb = map.description();
        std::vector<KeyCode> down;
        for (int code = xkb.min_key_code; code <= xkb.max_key_code; ++code) {
            const auto keycode = static_cast<KeyCode>(code);
            if (isDown(keys, keycode) && xkb.map->modmap[keycode] != 0 &&
                keycode != map.modifierKey(LockMask).value_or(0))
                down.push_back(keycode);
        }
        if (down.empty()) return;
        if (const auto synthesised = xtest.keysDown())
            for (KeyCode keycode : down)
                if (isDown(*synthesised, keycode)) {
                    presser_.release(keycode);
                    released_.push_back(keycode);
                }
        XSync(display_, False);
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        stillHeld_ = state.base_mods | state.latched_mods;
    }
    ~HeldModifierRelease() {
        for (KeyCode keycode : released_)
            presser_.press(keycode);
        XFlush(display_);
    }
    HeldModifierRelease(const HeldModifierRelease&) = delete;
    HeldModifierRelease& operator=(const HeldModifierRelease&) = delete;

    unsigned stillHeld() const { return stillHeld_; }

private:
    Display* display_;
    KeyPresser& presser_;
    std::vector<KeyCode> released_;
    unsigned stillHeld_ = 0;
};

// The real modifiers locked now (Caps Lock, Num Lock, a locked AltGr).
unsigned lockedModifiers(Display* display) {
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return 0;
    return state.locked_mods;
}

// Caps Lock off while typing, back on afterwards.
class CapsLockOff {
public:
    explicit CapsLockOff(Display* display) : display_(display) {
        XkbStateRec state{};
        if (XkbGetState(display_, XkbUseCoreKbd, &state) == Success &&
            (state.locked_mods & LockMask)) {
            XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, 0);
            wasOn_ = true;
        }
    }
    ~CapsLockOff() {
        if (wasOn_) XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, LockMask);
        XFlush(display_);
    }
    CapsLockOff(const CapsLockOff&) = delete;
    CapsLockOff& operator=(const CapsLockOff&) = delete;

private:
    Display* display_;
    bool wasOn_ = false;
};

// Modifier keys pressed around one key; released on leaving the scope.
class ModifiersDown {
public:
    ModifiersDown(KeyPresser& presser, std::vector<KeyCode> keys)
        : presser_(presser), keys_(std::move(keys)) {
        for (KeyCode keycode : keys_)
            presser_.press(keycode);
    }
    ~ModifiersDown() {
        for (auto it = keys_.rbegin(); it != keys_.rend(); ++it)
            presser_.release(*it);
    }
    ModifiersDown(const ModifiersDown&) = delete;
    ModifiersDown& operator=(const ModifiersDown&) = delete;

private:
    KeyPresser& presser_;
    std::vector<KeyCode> keys_;
};

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

// An order being typed: no binding goes away meanwhile. `read` tells at the end
// whether the window provably read every key of it (nothing typed: trivially).
struct OrderInProgress {
    explicit OrderInProgress(LingeringBindings& bindings) : bindings(bindings) {
        bindings.beginOrder();
    }
    ~OrderInProgress() { bindings.endOrder(read, unreadFor); }
    OrderInProgress(const OrderInProgress&) = delete;
    OrderInProgress& operator=(const OrderInProgress&) = delete;

    LingeringBindings& bindings;
    bool read = true;
    std::chrono::milliseconds unreadFor{0}; // beyond the bindings' idle time
};

// How many strokes go out under one server grab. Every other client waits
// meanwhile, the window manager included: a few hundred key events keep the
// server for about a millisecond, and one focus check covers them all.
constexpr std::size_t kStrokesPerGrab = 64;

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

// What one call of type() does, start to end.
class TypingRun {
public:
    TypingRun(Display* display, SynthesisLedger& ledger, LingeringBindings& bindings,
              XTestKeyboardState& xtest, InputMethod* inputMethod, Window target)
        : display_(display), presser_(display, ledger), bindings_(bindings), xtest_(xtest),
          inputMethod_(inputMethod), target_(display, target) {}

    TypeResult run(const KeySequence& keys) {
        // From before the map is read: bindings it shows must still be there
        // when the keys are typed with them.
        OrderInProgress order(bindings_);
        if (!target_.isForeground()) return TypeResult::Interrupted;
        auto map = KeyboardMap::fetch(display_);
        if (!map) return TypeResult::Failed;
        // Keycodes bound for earlier orders: their characters are on the map
        // now, but may be bound anew in the middle of this order.
        const std::map<KeyCode, BoundLevels> bound = bindings_.bound();

        HeldModifierRelease held(display_, presser_, *map, xtest_);
        // Ctrl, Alt or Super held on a physical keyboard would turn characters into
        // shortcuts: typing nothing is the only safe answer.
        if (held.stillHeld() & ~(ShiftMask | LockMask | Mod5Mask | map->numLockMask()))
            return TypeResult::Failed;
        // A held or locked Shift or AltGr changes the level of every key on the
        // map; keys bound to spare keycodes at a single level are immune to it.
        const auto levelThree = map->levelThree();
        const unsigned levelModifiers =
            ShiftMask | Mod5Mask | (levelThree ? levelThree->modifier : 0u);
        const bool avoidLevels = (held.stillHeld() | lockedModifiers(display_)) & levelModifiers;

        CapsLockOff capsLock(display_);
        InputMethodGuard inputMethod(inputMethod_, target_);
        std::optional<bool> gtk3;
        std::vector<PlannedStroke> plan;
        bool settleNext = false;
        const auto keysymOf = [](const InputMethodKey& key) {
            return XStringToKeysym(key.keysym.c_str());
        };
        const auto modifiersOf = [](const InputMethodKey& key) {
            return (key.control ? ControlMask : 0u) | (key.shift ? ShiftMask : 0u) |
                   (key.alt ? Mod1Mask : 0u);
        };
        const auto onMap = [&](KeySym keysym) -> std::optional<KeyLocation> {
            auto location = map->find(keysym);
            if (location && bound.count(location->keycode)) return std::nullopt;
            return location;
        };
        const auto add = [&](KeySym keysym, unsigned modifiers, bool named) {
            PlannedStroke planned{keysym, modifiers, {}, std::exchange(settleNext, false)};
            if (!(avoidLevels && !named)) planned.location = onMap(keysym);
            plan.push_back(planned);
        };
        if (const auto key = inputMethod.directKey()) {
            if (const KeySym keysym = keysymOf(*key); keysym != NoSymbol)
                add(keysym, modifiersOf(*key), true);
            else
                inputMethod.turnNow();
        }
        for (const KeyStroke& stroke : keys) {
            const KeySym keysym = keysymFor(stroke);
            if (!stroke.isNamed && stroke.modifiers == 0 && clashesWithGtk3Compose(keysym) &&
                !onMap(keysym) && !inputMethod.handsCharactersOnAsText()) {
                if (!gtk3) gtk3 = runsGtk3(display_, target_.window());
                if (*gtk3) {
                    // GTK's own Unicode entry: Ctrl+Shift+U, the code point,
                    // space. An input method in between hands the entry's keys
                    // and the keys around them back to GTK in an order of its
                    // own: every earlier key goes through first, and the entry
                    // before any later one.
                    settleNext = true;
                    add(XK_u, ControlMask | ShiftMask, false);
                    for (char digit : hexDigits(keysym & 0xFFFFFF))
                        add(static_cast<KeySym>(digit), 0, false);
                    add(XK_space, 0, false);
                    settleNext = true;
                    continue;
                }
            }
            add(keysym, realModifiers(stroke.modifiers), stroke.isNamed);
        }
        bool giveBackInBand = false;
        if (const auto key = inputMethod.giveBackKey()) {
            if (const KeySym keysym = keysymOf(*key); keysym != NoSymbol) {
                add(keysym, modifiersOf(*key), true);
                giveBackInBand = true;
            }
        }
        std::map<unsigned, KeyCode> modifierKeys;
        for (unsigned bit : kRealModifiers)
            if (auto key = map->modifierKey(bit)) modifierKeys[bit] = *key;
        if (levelThree) modifierKeys[levelThree->modifier] = levelThree->key;
        for (const auto& planned : plan) {
            const unsigned needed =
                planned.modifiers | (planned.location ? planned.location->levelModifiers : 0);
            for (unsigned bit : kRealModifiers)
                if ((needed & bit) && !modifierKeys.count(bit)) return TypeResult::Failed;
        }
        std::vector<KeySym> needs;
        for (const auto& planned : plan)
            needs.push_back(planned.location ? NoSymbol : planned.keysym);
        const bool perLevel = !avoidLevels && modifierKeys.count(ShiftMask);
        if (perLevel && levelThree) fourLevelType_ = levelThree->keyType;
        const BindingPlan bindingPlan(
            bindingSlots(map->spareKeycodes(), bound, perLevel, fourLevelType_ >= 0), needs,
            bindings_.earlierKeysMayBeUnread());
        if (!bindingPlan.possible()) return TypeResult::Failed;
        const unsigned levelThreeModifier = levelThree ? levelThree->modifier : 0u;
        for (std::size_t i = 0; i < plan.size(); ++i)
            if (const auto& slot = bindingPlan.slotOf(i))
                plan[i].location = locationOf(*slot, levelThreeModifier);

        TypeResult result = typeStretches(plan, bindingPlan, modifierKeys, inputMethod);
        const auto handled = inputMethod.finished(result, typedAny_, giveBackInBand);
        order.read = typedAny_ ? target_.waitUntilProcessed() : true;
        // An input method reading a terminal's keys through XIM looks them up
        // in the keyboard map when it gets to them, seconds behind after a
        // long order, and hands keys it passes on back to the terminal, which
        // looks them up again; neither can be asked how far it got.
        if (inputMethod.runs()) order.unreadFor = InputMethodGuard::kInputMethodPatience;
        // Keys the input method never got to are keys lost.
        if (handled && !*handled) result = TypeResult::Failed;
        return result;
    }

private:
    TypeResult typeStretches(const std::vector<PlannedStroke>& plan, const BindingPlan& bindingPlan,
                             const std::map<unsigned, KeyCode>& modifierKeys,
                             InputMethodGuard& inputMethod) {
        bool first = true;
        for (const BindingStretch& stretch : bindingPlan.stretches()) {
            // The keys typed so far must be read with the map they were typed
            // with: their keycodes are bound anew only once that is so.
            if (!first)
                bindings_.waitUntilRebindable(typedAny_ ? target_.waitUntilProcessed() : true);
            first = false;
            if (!bindings_.bind(stretch.bindings, fourLevelType_)) return TypeResult::Failed;
            const TypeResult result =
                typeStrokes(plan, stretch.begin, stretch.end, modifierKeys, inputMethod);
            if (result != TypeResult::Typed) return result;
        }
        return TypeResult::Typed;
    }

    // Strokes into the target and nowhere else.
    //
    // The foreground check and the keys after it are one step under a server
    // grab: a focus change that is under way is a request of the window
    // manager, so it is either done before the check, which then sees it, or
    // waits until the keys have been delivered where the check found the focus.
    //
    // A key that is already down on the core keyboard (the user holding it, as
    // Enter is still held when it sends the send box) would be dropped by the
    // server: the stroke waits, bounded, for the user to let go. Waiting rather
    // than releasing the key from here leaves the user's own press and release
    // as they were and the devices' key states in agreement.
    TypeResult typeStrokes(const std::vector<PlannedStroke>& plan, std::size_t next,
                           std::size_t end, const std::map<unsigned, KeyCode>& modifierKeys,
                           InputMethodGuard& inputMethod) {
        std::size_t waitedAt = end;
        std::size_t settledAt = end;
        auto giveUp = std::chrono::steady_clock::now();
        while (next < end) {
            const std::size_t batchEnd = std::min(end, next + kStrokesPerGrab);
            bool heldDown = false;
            bool settle = false;
            {
                ServerGrab grab(display_);
                if (!target_.isForeground()) return TypeResult::Interrupted;
                std::array<char, 32> down{};
                XQueryKeymap(display_, down.data());
                for (; next < batchEnd; ++next) {
                    const auto& planned = plan[next];
                    if (planned.settleBefore && typedAny_ && settledAt != next) {
                        settle = true;
                        break;
                    }
                    if (isDown(down, planned.location->keycode)) {
                        heldDown = true;
                        break;
                    }
                    tap(*planned.location, planned.modifiers, modifierKeys);
                }
            }
            if (settle) {
                // Outside the grab: the window and the input method answer.
                settledAt = next;
                inputMethod.catchUp();
                continue;
            }
            if (!heldDown) continue;
            if (waitedAt != next) {
                waitedAt = next;
                giveUp = std::chrono::steady_clock::now() + kHeldKeyPatience;
            }
            // Outside the grab: the user's release may come through another client.
            while (isDownNow(display_, plan[next].location->keycode)) {
                if (std::chrono::steady_clock::now() >= giveUp) return TypeResult::Failed;
                std::this_thread::sleep_for(kHeldKeyPoll);
            }
        }
        return TypeResult::Typed;
    }

    // Sent with the grab's end.
    void tap(const KeyLocation& location, unsigned strokeModifiers,
             const std::map<unsigned, KeyCode>& modifierKeys) {
        std::vector<KeyCode> modifiers;
        const unsigned needed = strokeModifiers | location.levelModifiers;
        for (unsigned bit : kRealModifiers)
            if (needed & bit) modifiers.push_back(modifierKeys.at(bit));
        {
            ModifiersDown down(presser_, modifiers);
            presser_.press(location.keycode);
            presser_.release(location.keycode);
        }
        typedAny_ = true;
    }

    Display* display_;
    KeyPresser presser_;
    LingeringBindings& bindings_;
    XTestKeyboardState& xtest_;
    InputMethod* inputMethod_;
    TargetWindow target_;
    bool typedAny_ = false;
    // The key type of spare keycodes bound at four levels; -1: two at most.
    int fourLevelType_ = -1;
};

} // namespace

X11Keyboard::X11Keyboard(const char* displayName, SynthesisLedger& ledger, InputMethod* inputMethod)
    : display_(openDisplay(displayName)), ledger_(ledger), inputMethod_(inputMethod),
      bindings_(std::make_unique<LingeringBindings>(displayName, kBindingIdleTime)),
      xtest_(std::make_unique<XTestKeyboardState>(display_.get())) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_.get(), &eventBase, &errorBase, &major, &minor))
        throw std::runtime_error("the X server lacks the XTest extension");
}

services::TypeResult X11Keyboard::type(services::WindowHandle target,
                                       const services::KeySequence& keys) {
    if (target == 0) return TypeResult::Interrupted;
    IgnoredXErrors ignoreErrors(display_.get());
    TypingRun run(display_.get(), ledger_, *bindings_, *xtest_, inputMethod_,
                  static_cast<Window>(target));
    return run.run(keys);
}

} // namespace tavren::backend::x11
