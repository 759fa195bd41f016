#pragma once

#include "platform/services/profile_store.h"
#include "settings_file.h"

#include <functional>
#include <string>

namespace tavren::backend::ini {

// The settings file as an INI file, on whichever file system `file` reaches. Every read looks at
// the file as it is now; every write edits the current file and replaces it in one atomic step.
//
// Written here rather than with an INI library: the libraries at hand rewrite
// the whole file from their own model (dropping lines they do not understand and
// comments at the end, merging duplicate sections, letting the last duplicate key
// win, reformatting, and writing a value with a line break as extra lines), while
// the profile semantics need untouched lines kept as they are.
class IniProfileStore : public services::ProfileStore {
public:
    // Values are cut to this many bytes when read.
    static constexpr std::size_t kMaxValueBytes = 254;
    // A larger file is not a settings file: it reads as empty and is never replaced.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

    struct Hooks {
        std::function<void()> beforeRename;
    };

    IniProfileStore(std::string path, SettingsFile& file, Hooks hooks = {});

    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) override;
    bool write(const std::vector<services::ProfileEntry>& entries) override;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    SettingsFile& file_;
    Hooks hooks_;
};

} // namespace tavren::backend::ini
