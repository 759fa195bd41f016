#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace tavren::controls {

// A list of callbacks. Controls and their observers live as long as the program,
// so connections are never broken and need no handles.
template <class... Args> class Signal {
public:
    using Slot = std::function<void(Args...)>;

    void connect(Slot slot) { slots_.push_back(std::move(slot)); }

    void raise(Args... args) const {
        // A slot may connect further slots while we iterate: walk by index over a
        // count taken up front, so new slots wait for the next raise.
        const auto count = slots_.size();
        for (std::size_t i = 0; i < count; ++i)
            slots_[i](args...);
    }

    bool empty() const { return slots_.empty(); }

private:
    std::vector<Slot> slots_;
};

} // namespace tavren::controls
