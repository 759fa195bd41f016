#pragma once

#include "platform/services/files.h"

namespace tavren::win32 {

// Text in a Windows code page to UTF-8: by default the system's ANSI code page,
// which is CP932 (Shift_JIS) on the Japanese systems whose order files Tavren
// reads. Decoded one character at a time, so that a bad byte costs only itself:
// a byte the code page does not assign, or a lead byte and trail byte that form
// no assigned pair, become one U+FFFD each; a lead byte followed by a byte that
// cannot trail it is bad on its own, and the byte after it is decoded afresh.
class Win32TextCodec : public services::TextCodec {
public:
    explicit Win32TextCodec(unsigned codePage = 0 /* CP_ACP */) : codePage_(codePage) {}

    std::string legacyToUtf8(const std::string& bytes) override;

private:
    unsigned codePage_;
};

} // namespace tavren::win32
