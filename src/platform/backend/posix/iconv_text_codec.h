#pragma once

#include "platform/services/files.h"

namespace tavren::backend::posix {

// Converts the Japanese Windows code page (CP932, Shift_JIS with the vendor
// extensions) to UTF-8 with glibc's iconv.
class IconvTextCodec : public services::TextCodec {
public:
    std::string legacyToUtf8(const std::string& bytes) override;
};

} // namespace tavren::backend::posix
