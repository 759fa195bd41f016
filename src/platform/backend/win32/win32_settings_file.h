#pragma once

#include "platform/backend/ini/settings_file.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tavren::backend::win32 {

// The settings file on Windows, with the same contract as on POSIX systems
// (platform/backend/ini/settings_file.h): read whole, or replaced in one step so that the path
// holds either the old file or the whole new one. Paths are UTF-8.
backend::ini::FileContent readSettingsFile(const std::string& path, std::size_t maxBytes);

// How often putting the new file in place is tried while another program
// holds the old or the new file open without sharing it, as an antivirus
// scanner does for a moment with a file just written, and what happens
// between two tries.
struct ReplaceRetries {
    int attempts = 5;
    std::function<void()> pause = [] { ::Sleep(100); };
};

// Writes a temporary file beside the old one, flushes it, and puts it in the
// old one's place (ReplaceFileW, which keeps the old file's attributes and
// permissions; MoveFileExW with write-through for a new file). Creates missing
// directories. A read-only settings file is frozen: it is left as it is and
// the write fails. `beforeRename` runs once the temporary file is complete.
// A sharing violation or a denied access is tried again as `retries` says;
// when no try succeeded, the old file is as it was and the temporary file is
// removed (unless another program still holds it).
bool replaceSettingsFile(const std::string& path, const std::string& bytes,
                         const std::function<void()>& beforeRename = {},
                         const ReplaceRetries& retries = {});

class Win32SettingsFile : public backend::ini::SettingsFile {
public:
    backend::ini::FileContent read(const std::string& path, std::size_t maxBytes) override {
        return readSettingsFile(path, maxBytes);
    }
    bool replace(const std::string& path, const std::string& bytes,
                 const std::function<void()>& beforeRename) override {
        return replaceSettingsFile(path, bytes, beforeRename);
    }
};

// %APPDATA%\Tavren\QVRL2.ini, from the user's roaming application data folder:
// the same for every run, whatever the working directory, and writable by a
// standard user (the Windows directory, where the classic profile functions
// put a bare name, is not).
std::string settingsPath(const std::string& appData);
std::string defaultSettingsPath();

// Where an older build's settings file may be: the copy that file
// virtualization made for a 32-bit program (VirtualStore\Windows\QVRL2.ini
// under %LOCALAPPDATA%, written last, so preferred), then the Windows directory.
std::vector<std::string> legacySettingsPaths(const std::string& localAppData,
                                             const std::string& windowsDirectory);
std::vector<std::string> defaultLegacySettingsPaths();

// When `path` does not exist yet, copies the first legacy file found there:
// UTF-8 as it is, anything else converted from Shift_JIS, in which the old
// build wrote it on the Japanese systems it served, whatever the ANSI code
// page is now. The legacy file is left alone. True when a file was imported.
bool importLegacySettings(const std::string& path, const std::vector<std::string>& legacyPaths);

} // namespace tavren::backend::win32
