#pragma once

#include "platform/services/files.h"

namespace tavren::backend::posix {

// Reads files with open(2)/read(2). Anything that is not a readable regular
// file (a directory, a missing file, no permission) reads as nothing.
class PosixFiles : public services::Files {
public:
    std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes) override;
};

} // namespace tavren::backend::posix
