#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tavren::ini {

struct FileContent {
    enum Status {
        Read,       // bytes holds the whole file
        Missing,    // no such file
        Unreadable, // no permission, not a regular file, too large, an I/O error
    } status = Missing;
    std::string bytes;
};

FileContent readWholeFile(const std::string& path, std::size_t maxBytes);

// Replaces the file at `path` by `bytes` so that, whatever happens, the path holds
// either the old file or the whole new one: the bytes go to a temporary file in
// the same directory, which is flushed to disk and then renamed over the old one.
// Creates missing directories. Returns false, leaving the old file as it was, on
// any failure, and also when the file is one the user cannot write: a settings
// file made read-only is frozen, whatever the directory would allow. Without
// any write permission bit a file counts as read-only even for root, who may
// write anything. `beforeRename` runs once the temporary file is complete (for tests
// that stop the writer at the worst moment).
bool replaceFile(const std::string& path, const std::string& bytes,
                 const std::function<void()>& beforeRename = {});

} // namespace tavren::ini
