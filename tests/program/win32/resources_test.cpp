// What Windows reads from tavren.exe before it runs a line of it: the version
// Explorer shows, the icon, and the manifest that picks common controls 6, DPI
// awareness and the execution level, without a UTF-8 code page; and the icon
// its windows show.
#include "platform/controls/form.h"
#include "platform/view/win32/win32_view.h"
#include "resources/resource_ids.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::wstring tavrenExe() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, n);
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"tavren.exe";
}

class TavrenExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(tavrenExe().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    std::string resource(LPCWSTR type, LPCWSTR name) {
        HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) return {};
        const void* data = LockResource(LoadResource(module_, found));
        return std::string(static_cast<const char*>(data), SizeofResource(module_, found));
    }
    HMODULE module_ = nullptr;
};

TEST_F(TavrenExeResources, VersionIsTheProjects) {
    const std::wstring path = tavrenExe();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1u);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 3u);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 1u);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, L"1.3.1");
}

TEST_F(TavrenExeResources, HasAnIconWithASmallAndALargeSize) {
    HICON small =
        static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
    HICON large =
        static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(1), IMAGE_ICON, 256, 256, 0));
    EXPECT_NE(small, nullptr);
    EXPECT_NE(large, nullptr);
    if (small) DestroyIcon(small);
    if (large) DestroyIcon(large);
}

// An icon as drawn at `size` pixels over a background no icon has.
std::vector<std::uint32_t> drawn(HICON icon, int size) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, magenta);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> copy(pixels, pixels + size * size);
    DeleteObject(magenta);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return copy;
}

// Wine reads no icon of another process, so the view that draws tavren.exe's
// windows shows them here, with tavren.exe's icon as tavren.exe gives it.
TEST_F(TavrenExeResources, TheWindowsShowTheIconBigAndSmall) {
    tavren::controls::Form form{"frm_nick", "nick"};
    form.setGeometry({1440, 1440, 1690, 2230});
    tavren::view::win32::Win32View view{tavren::controls::TwipsScale::forDpi(96, 96)};
    view.setProgramIcon(module_, TAVREN_ICON);
    view.addForm(form);
    form.setVisible(true);
    HWND window = view.windowFor(form);
    ASSERT_NE(window, nullptr);
    for (const auto& [which, metric] :
         {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const auto shown = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
        ASSERT_NE(shown, nullptr) << "no icon of size " << which;
        const int size = GetSystemMetrics(metric);
        const auto tavrens = static_cast<HICON>(
            LoadImageW(module_, MAKEINTRESOURCEW(TAVREN_ICON), IMAGE_ICON, size, size, 0));
        ASSERT_NE(tavrens, nullptr);
        EXPECT_EQ(drawn(shown, size), drawn(tavrens, size)) << size << " pixels";
        DestroyIcon(tavrens);
    }
}

TEST_F(TavrenExeResources, ManifestAsksForCommonControlsDpiAwarenessAndNoElevation) {
    const std::string manifest = resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find(">system</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    // The IRC client and the order files are ANSI: the code page stays the system's.
    EXPECT_EQ(manifest.find("<activeCodePage"), std::string::npos);
}

} // namespace
