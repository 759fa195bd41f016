#pragma once

#include "platform/services/files.h"

namespace tavren::backend::win32 {

// Reads files through the wide API (paths are UTF-8 in the program). Anything
// that is not a readable file on disk (a directory, a missing file, a pipe or a
// device such as CON) reads as nothing.
class Win32Files : public services::Files {
public:
    std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes) override;
};

} // namespace tavren::backend::win32
