#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavren::services {

// Reading files as bytes.
class Files {
public:
    virtual ~Files() = default;
    // At most maxBytes from the start of the file; nothing when it cannot be read.
    virtual std::optional<std::string> readPrefix(const std::string& path,
                                                  std::size_t maxBytes) = 0;
};

// Converting text in the legacy Japanese code page (Shift_JIS / CP932) to UTF-8.
class TextCodec {
public:
    virtual ~TextCodec() = default;
    // Never fails: a byte that the code page does not assign, or a lead byte and
    // its trail byte that form no assigned pair, become one U+FFFD each. A lead
    // byte followed by a byte that cannot trail it is bad on its own; the byte
    // after it is decoded afresh, so a line end is never swallowed.
    virtual std::string legacyToUtf8(const std::string& bytes) = 0;
};

struct FileFilter {
    std::string description;           // shown to the user
    std::vector<std::string> patterns; // "*.txt"
};

// The platform's "open file" dialog.
class OpenDialog {
public:
    virtual ~OpenDialog() = default;
    // The chosen path, or nothing when the user cancelled. A typed name of a file
    // that does not exist is accepted; the first filter is preselected.
    virtual std::optional<std::string> chooseFile(const std::vector<FileFilter>& filters) = 0;
};

} // namespace tavren::services
