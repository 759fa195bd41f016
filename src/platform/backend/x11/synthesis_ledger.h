#pragma once

#include <array>
#include <cstdint>

namespace tavren::backend::x11 {

// The keys this program synthesises, so that the global key monitor can tell them
// from keys pressed by the user or by other programs. The keyboard records every
// fake press and release before sending it; the monitor, which sees each of them
// come back exactly once as a raw event of the XTest device, consumes the entry.
// Raw events of the XTest device that find no entry come from another program.
//
// Shared by one keyboard and one monitor on the same thread; it does no locking.
class SynthesisLedger {
public:
    void recordPress(std::uint8_t keycode) { ++presses_[keycode]; }
    void recordRelease(std::uint8_t keycode) { ++releases_[keycode]; }
    // True (and forgets one entry) when the event is one of ours.
    bool consumePress(std::uint8_t keycode) { return consume(presses_[keycode]); }
    bool consumeRelease(std::uint8_t keycode) { return consume(releases_[keycode]); }
    // Forgets everything: for a monitor that starts listening now, earlier
    // entries would never be matched.
    void clear();

private:
    static bool consume(std::uint32_t& count);
    std::array<std::uint32_t, 256> presses_{};
    std::array<std::uint32_t, 256> releases_{};
};

} // namespace tavren::backend::x11
