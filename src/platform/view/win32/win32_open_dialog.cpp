#include "platform/view/win32/win32_open_dialog.h"

#include "platform/backend/win32/wide_text.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

namespace tavren::view::win32 {

std::wstring openDialogFilterText(const std::vector<services::FileFilter>& filters) {
    std::wstring text;
    for (const auto& filter : filters) {
        text += backend::win32::utf8ToWide(filter.description);
        text.push_back(L'\0');
        std::string patterns;
        for (const auto& pattern : filter.patterns) {
            if (!patterns.empty()) patterns += ';';
            patterns += pattern;
        }
        text += backend::win32::utf8ToWide(patterns);
        text.push_back(L'\0');
    }
    text.push_back(L'\0');
    return text;
}

std::optional<std::string>
Win32OpenDialog::chooseFile(const std::vector<services::FileFilter>& filters) {
    const std::wstring filterText = openDialogFilterText(filters);
    // Long enough for any path the wide API takes.
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.lpstrFilter = filters.empty() ? nullptr : filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_HIDEREADONLY;
    if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
    return backend::win32::wideToUtf8(path.data());
}

} // namespace tavren::view::win32
