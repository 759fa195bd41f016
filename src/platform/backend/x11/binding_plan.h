#pragma once

#include <X11/X.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace tavren::backend::x11 {

// Which shift level of a spare keycode a character sits on: none, Shift, the
// third-level modifier (AltGr), or both of them. `Both` binds the keycode to one
// character whatever the shift state: for typing while the user holds Shift or
// AltGr.
enum class SlotLevel { First, Second, Third, Fourth, Both };

// One place a character off the keyboard map can be bound to.
struct BindingSlot {
    unsigned char keycode = 0;
    SlotLevel level = SlotLevel::First;
    // The character bound there now; NoSymbol when free.
    KeySym resident = NoSymbol;
    // Taken by something that cannot be typed from this slot (the other level
    // of a keycode bound per level, seen as one `Both` slot).
    bool occupied = false;
};

struct SlotBinding {
    unsigned char keycode = 0;
    SlotLevel level = SlotLevel::First;
    KeySym keysym = NoSymbol;
    friend bool operator==(const SlotBinding&, const SlotBinding&) = default;
};

// A run of strokes typed with one set of bindings, and the bindings to make
// before it.
struct BindingStretch {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::vector<SlotBinding> bindings;
};

// Decides which slot types each character that is not on the keyboard map, and
// where the bindings must change.
//
// A slot may be bound anew only while no key typed with it can still be unread:
// within a stretch, only slots not used in it and not holding a character of
// an earlier order that may be unread. A stretch ends where a character finds
// no such slot; the caller then waits until the window has read everything and
// every slot is free to change again. Slots given up are chosen by when their
// character is needed next (not at all, or last), so that characters that
// return keep their bindings.
class BindingPlan {
public:
    // `needs[i]`: the character stroke i needs a slot for, NoSymbol for a
    // stroke typed with a key of the map. `earlierKeysMayBeUnread`: the slots'
    // residents were typed by an order the window may not have read yet.
    BindingPlan(std::vector<BindingSlot> slots, const std::vector<KeySym>& needs,
                bool earlierKeysMayBeUnread);

    // Empty when some stroke needs a slot and there is none.
    const std::vector<BindingStretch>& stretches() const { return stretches_; }
    bool possible() const { return possible_; }

    // The slot stroke i is typed with; nothing for strokes on the map.
    const std::optional<BindingSlot>& slotOf(std::size_t stroke) const { return slotOf_[stroke]; }

private:
    std::vector<std::optional<BindingSlot>> slotOf_;
    std::vector<BindingStretch> stretches_;
    bool possible_ = true;
};

} // namespace tavren::backend::x11
