#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavren::services {

struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// An INI settings file with the classic profile semantics: section and key names
// compared without regard to case, values cut to 254 bytes, other content kept.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The stored value with trailing blanks removed, or `fallback` when the file,
    // the section or the key is missing.
    virtual std::string read(std::string_view section, std::string_view key,
                             std::string_view fallback) = 0;
    // Writes all entries in one go, keeping every other section, key and comment.
    // Either the whole new file is in place afterwards or the old one is untouched.
    virtual bool write(const std::vector<ProfileEntry>& entries) = 0;
};

} // namespace tavren::services
