#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tavren::backend::ini {

struct FileContent {
    enum Status {
        Read,       // bytes holds the whole file
        Missing,    // no such file
        Unreadable, // no permission, not a regular file, too large, an I/O error
    } status = Missing;
    std::string bytes;
};

// The settings file on the platform's file system.
class SettingsFile {
public:
    virtual ~SettingsFile() = default;

    virtual FileContent read(const std::string& path, std::size_t maxBytes) = 0;

    // Replaces the file at `path` by `bytes` so that, whatever happens, the path
    // holds either the old file or the whole new one. Creates missing
    // directories. Returns false, leaving the old file as it was, on any
    // failure, and also when the file is one the user cannot write: a settings
    // file made read-only is frozen, whatever the directory would allow.
    // `beforeRename` runs once the new content is complete but not yet in place
    // (for tests that stop the writer at the worst moment).
    virtual bool replace(const std::string& path, const std::string& bytes,
                         const std::function<void()>& beforeRename) = 0;
};

} // namespace tavren::backend::ini
