#include "console_output.h"

#include "platform/backend/win32/wide_text.h"

#include <windows.h>

namespace tavren::program {

namespace {

DWORD handleId(Stream stream) {
    return stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
}

bool usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The handle to write to: the inherited one when the parent gave one, else the
// parent's console, opened once.
HANDLE target(Stream stream) {
    HANDLE handle = GetStdHandle(handleId(stream));
    if (usable(handle)) return handle;
    static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    if (!attached) return nullptr;
    static HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    return usable(console) ? console : nullptr;
}

} // namespace

void writeText(Stream stream, std::string_view utf8) {
    HANDLE handle = target(stream);
    if (handle == nullptr) return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = backend::win32::utf8ToWide(utf8);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::size_t done = 0;
    while (done < utf8.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, utf8.data() + done, static_cast<DWORD>(utf8.size() - done), &written,
                       nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

} // namespace tavren::program
