#include "platform/backend/x11/binding_plan.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

namespace tavren::backend::x11 {
namespace {

constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

// Where each character is needed, in order.
class Uses {
public:
    explicit Uses(const std::vector<KeySym>& needs) {
        for (std::size_t i = 0; i < needs.size(); ++i)
            if (needs[i] != NoSymbol) at_[needs[i]].push_back(i);
    }
    std::size_t nextFrom(KeySym keysym, std::size_t from) const {
        const auto found = at_.find(keysym);
        if (found == at_.end()) return kNever;
        const auto next = std::lower_bound(found->second.begin(), found->second.end(), from);
        return next == found->second.end() ? kNever : *next;
    }

private:
    std::map<KeySym, std::vector<std::size_t>> at_;
};

bool isFree(const BindingSlot& slot) {
    return slot.resident == NoSymbol && !slot.occupied;
}

} // namespace

BindingPlan::BindingPlan(std::vector<BindingSlot> slots, const std::vector<KeySym>& needs,
                         bool earlierKeysMayBeUnread)
    : slotOf_(needs.size()) {
    const std::size_t count = needs.size();
    const bool anyNeeded =
        std::any_of(needs.begin(), needs.end(), [](KeySym k) { return k != NoSymbol; });
    if (!anyNeeded) {
        stretches_.push_back({0, count, {}});
        return;
    }
    if (slots.empty()) {
        possible_ = false;
        return;
    }
    const Uses uses(needs);

    // A keycode that holds anything of an earlier order may have been typed
    // with at any level (Shift or AltGr held by the user reaches another level
    // than the one it was bound at): all its slots wait for those keys.
    std::set<unsigned char> heldBefore;
    for (const auto& slot : slots)
        if (!isFree(slot)) heldBefore.insert(slot.keycode);
    std::vector<bool> unsafe(slots.size(), false);
    for (std::size_t s = 0; s < slots.size(); ++s)
        unsafe[s] = earlierKeysMayBeUnread && heldBefore.count(slots[s].keycode);

    std::size_t next = 0;
    while (next < count) {
        BindingStretch stretch{next, next, {}};
        std::vector<bool> inStretch(slots.size(), false);
        std::size_t i = next;
        for (; i < count; ++i) {
            const KeySym wanted = needs[i];
            if (wanted == NoSymbol) continue;
            std::size_t chosen = slots.size();
            for (std::size_t s = 0; s < slots.size() && chosen == slots.size(); ++s)
                if (slots[s].resident == wanted) chosen = s;
            if (chosen == slots.size()) {
                // A free slot first, else the one whose character is needed last.
                std::size_t bestNextUse = 0;
                for (std::size_t s = 0; s < slots.size(); ++s) {
                    if (inStretch[s] || unsafe[s]) continue;
                    if (isFree(slots[s])) {
                        chosen = s;
                        break;
                    }
                    const std::size_t nextUse =
                        slots[s].occupied ? kNever : uses.nextFrom(slots[s].resident, i);
                    if (chosen == slots.size() || nextUse > bestNextUse) {
                        chosen = s;
                        bestNextUse = nextUse;
                    }
                }
                if (chosen == slots.size()) break;
                slots[chosen].resident = wanted;
                slots[chosen].occupied = false;
                stretch.bindings.push_back({slots[chosen].keycode, slots[chosen].level, wanted});
            }
            inStretch[chosen] = true;
            slotOf_[i] = slots[chosen];
        }
        stretch.end = i;
        stretches_.push_back(std::move(stretch));
        // The caller waits here until every key so far has been read.
        std::fill(unsafe.begin(), unsafe.end(), false);
        next = i;
    }
}

} // namespace tavren::backend::x11
