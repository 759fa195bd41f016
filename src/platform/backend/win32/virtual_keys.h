#pragma once

#include "platform/services/key_sequence.h"

#include <cstdint>

namespace tavren::backend::win32 {

struct VirtualKey {
    std::uint8_t code = 0; // VK_...
    bool extended = false; // the key's scan code carries the E0 prefix
};

VirtualKey virtualKeyOf(services::NamedKey key);

} // namespace tavren::backend::win32
