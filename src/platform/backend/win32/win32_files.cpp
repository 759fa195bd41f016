#include "win32_files.h"

#include "unique_handle.h"
#include "wide_text.h"

#include <algorithm>

namespace tavren::backend::win32 {

std::optional<std::string> Win32Files::readPrefix(const std::string& path, std::size_t maxBytes) {
    // Others may go on writing or even renaming the file while we read it.
    const UniqueHandle file(::CreateFileW(utf8ToWide(path).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;

    std::string bytes;
    constexpr std::size_t kChunk = 64 * 1024;
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(kChunk, maxBytes - bytes.size());
        const std::size_t had = bytes.size();
        bytes.resize(had + want);
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + had, static_cast<DWORD>(want), &got, nullptr))
            return std::nullopt;
        bytes.resize(had + got);
        if (got == 0) break;
    }
    return bytes;
}

} // namespace tavren::backend::win32
