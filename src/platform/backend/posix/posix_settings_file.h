#pragma once

#include "platform/backend/ini/settings_file.h"

namespace tavren::backend::posix {

// The settings file with POSIX file calls: replaced through a temporary file
// in the same directory, flushed to disk and then renamed over the old one.
// Without any write permission bit a file counts as read-only even for root,
// who may write anything. A symbolic link is written through, so a linked
// settings file stays linked.
class PosixSettingsFile : public backend::ini::SettingsFile {
public:
    backend::ini::FileContent read(const std::string& path, std::size_t maxBytes) override;
    bool replace(const std::string& path, const std::string& bytes,
                 const std::function<void()>& beforeRename) override;
};

} // namespace tavren::backend::posix
