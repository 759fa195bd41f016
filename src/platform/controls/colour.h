#pragma once

#include <cstdint>

namespace tavren::controls {

// Colours as the order file and the stored designs write them: red + 256 * green +
// 65536 * blue. Values with the top bit set name a system colour by its index in
// the low byte, so themes decide what "button face" looks like.
using Colour = std::uint32_t;

inline constexpr Colour kButtonFace = 0x8000000F;
inline constexpr Colour kWindowBackground = 0x80000005;
inline constexpr Colour kWindowText = 0x80000008;
inline constexpr Colour kRed = 0x000000FF;

constexpr bool isSystemColour(Colour c) {
    return (c & 0x80000000u) != 0;
}
constexpr int systemColourIndex(Colour c) {
    return static_cast<int>(c & 0xFFu);
}
constexpr int red(Colour c) {
    return static_cast<int>(c & 0xFFu);
}
constexpr int green(Colour c) {
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int blue(Colour c) {
    return static_cast<int>((c >> 16) & 0xFFu);
}
constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

} // namespace tavren::controls
