#pragma once

#include <cstdint>

namespace tavren::backend::win32 {

// Carried in the extra information of every key Tavren synthesises, so that
// the key monitor can tell them from the user's.
inline constexpr std::uintptr_t kTavrenInputMarker = 0x54415652; // "TAVR"

} // namespace tavren::backend::win32
