#pragma once

#include "platform/services/files.h"

namespace tavren::backend::win32 {

// Shift_JIS to UTF-8, as code page 932 (Microsoft's Shift_JIS, with the NEC
// and IBM extensions Japanese Windows writes). Named explicitly, not taken
// from the system's ANSI code page: that is 65001 (UTF-8) once a user turns on
// Windows' "Use Unicode UTF-8 for worldwide language support", while the order
// files and old settings written on Japanese systems stay Shift_JIS. Decoded
// one character at a time, so that a bad byte costs only itself: a byte the
// code page does not assign, or a lead byte and trail byte that form no
// assigned pair, become one U+FFFD each; a lead byte followed by a byte that
// cannot trail it is bad on its own, and the byte after it is decoded afresh.
class Win32TextCodec : public services::TextCodec {
public:
    static constexpr unsigned kShiftJis = 932;

    std::string legacyToUtf8(const std::string& bytes) override;
};

} // namespace tavren::backend::win32
