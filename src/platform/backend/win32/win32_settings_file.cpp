#include "win32_settings_file.h"

#include "text/utf8.h"
#include "unique_handle.h"
#include "wide_text.h"
#include "win32_text_codec.h"

#include <shlobj.h>

namespace tavren::backend::win32 {

namespace {

constexpr const char* kFileName = "QVRL2.ini";

std::wstring parentOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool makeDirectories(const std::wstring& dir) {
    if (dir.empty()) return true;
    const DWORD attributes = ::GetFileAttributesW(dir.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::wstring parent = parentOf(dir);
    // A drive ("C:") or share root has no parent to make.
    if (parent != dir && parent.size() > 2 && !makeDirectories(parent)) return false;
    return ::CreateDirectoryW(dir.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// What another program's open handle causes, for as long as it keeps it:
// sharing refused, access denied (a file being deleted or scanned), or the old
// file not removable (ReplaceFileW; the files keep their names).
bool heldByAnotherProgram(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// One try at putting the temporary file in the file's place; `passing` says
// whether a call failed for a reason that goes away by itself.
bool putInPlace(const std::wstring& temp, const std::wstring& path, bool exists, bool& passing) {
    passing = false;
    if (exists) {
        if (::ReplaceFileW(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                           nullptr, nullptr))
            return true;
        passing = heldByAnotherProgram(::GetLastError());
    }
    if (::MoveFileExW(temp.c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    passing = passing || heldByAnotherProgram(::GetLastError());
    return false;
}

bool fileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        result = wideToUtf8(path);
    ::CoTaskMemFree(path);
    return result;
}

} // namespace

backend::ini::FileContent readSettingsFile(const std::string& path, std::size_t maxBytes) {
    backend::ini::FileContent result;
    const UniqueHandle file(::CreateFileW(utf8ToWide(path).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = ::GetLastError();
        result.status = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                            ? backend::ini::FileContent::Missing
                            : backend::ini::FileContent::Unreadable;
        return result;
    }
    result.status = backend::ini::FileContent::Unreadable;
    LARGE_INTEGER size{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.get(), &size) ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return result;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                        &got, nullptr))
            return result;
        if (got == 0) break; // shorter than it was a moment ago
        done += got;
    }
    bytes.resize(done);
    result.status = backend::ini::FileContent::Read;
    result.bytes = std::move(bytes);
    return result;
}

bool replaceSettingsFile(const std::string& requestedPath, const std::string& bytes,
                         const std::function<void()>& beforeRename, const ReplaceRetries& retries) {
    const std::wstring path = utf8ToWide(requestedPath);
    if (!makeDirectories(parentOf(path))) return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;

    // The name carries the process id, so two running copies never share one.
    const std::wstring temp = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    {
        const UniqueHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        if (!writeAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
            ::DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (beforeRename) beforeRename();
    // A scanner opens a file just written, and the replace fails while it
    // reads: that passes within moments, so it is tried again a few times.
    bool placed = false;
    for (int attempt = 1;; ++attempt) {
        bool passing = false;
        placed = putInPlace(temp, path, exists, passing);
        if (placed || !passing || attempt >= retries.attempts) break;
        if (retries.pause) retries.pause();
    }
    if (!placed) ::DeleteFileW(temp.c_str());
    return placed;
}

std::string settingsPath(const std::string& appData) {
    return appData + "\\Tavren\\" + kFileName;
}

std::string defaultSettingsPath() {
    return settingsPath(knownFolder(FOLDERID_RoamingAppData));
}

std::vector<std::string> legacySettingsPaths(const std::string& localAppData,
                                             const std::string& windowsDirectory) {
    std::vector<std::string> paths;
    if (!localAppData.empty())
        paths.push_back(localAppData + "\\VirtualStore\\Windows\\" + kFileName);
    if (!windowsDirectory.empty()) paths.push_back(windowsDirectory + "\\" + kFileName);
    return paths;
}

std::vector<std::string> defaultLegacySettingsPaths() {
    wchar_t windows[MAX_PATH];
    const UINT n = ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string windowsDirectory =
        n > 0 && n < MAX_PATH ? wideToUtf8(std::wstring(windows, n)) : std::string();
    return legacySettingsPaths(knownFolder(FOLDERID_LocalAppData), windowsDirectory);
}

bool importLegacySettings(const std::string& path, const std::vector<std::string>& legacyPaths) {
    if (fileExists(utf8ToWide(path))) return false;
    constexpr std::size_t kMaxLegacyBytes = 16 * 1024 * 1024;
    for (const auto& legacy : legacyPaths) {
        const backend::ini::FileContent old = readSettingsFile(legacy, kMaxLegacyBytes);
        if (old.status != backend::ini::FileContent::Read) continue;
        if (text::isValidUtf8(old.bytes)) return replaceSettingsFile(path, old.bytes);
        return replaceSettingsFile(path, Win32TextCodec().legacyToUtf8(old.bytes));
    }
    return false;
}

} // namespace tavren::backend::win32
