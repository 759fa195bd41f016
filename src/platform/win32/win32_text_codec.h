#pragma once

#include "platform/services/files.h"

namespace tavren::win32 {

// Text in a Windows code page to UTF-8: by default the system's ANSI code page,
// which is CP932 (Shift_JIS) on the Japanese systems whose order files Tavren
// reads. Bytes that are not valid in the code page make the whole text invalid,
// rather than turning into replacement characters.
class Win32TextCodec : public services::TextCodec {
public:
    explicit Win32TextCodec(unsigned codePage = 0 /* CP_ACP */) : codePage_(codePage) {}

    std::optional<std::string> legacyToUtf8(const std::string& bytes) override;

private:
    unsigned codePage_;
};

} // namespace tavren::win32
