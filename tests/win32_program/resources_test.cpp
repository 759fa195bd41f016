// What Windows reads from tavren.exe before it runs a line of it: the version
// Explorer shows, the icon, and the manifest that picks common controls 6, DPI
// awareness and the execution level, without a UTF-8 code page.
#include <windows.h>

#include <gtest/gtest.h>

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

TEST_F(TavrenExeResources, ManifestAsksForCommonControlsDpiAwarenessAndNoElevation) {
    const std::string manifest = resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, system<"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm<"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    // The IRC client and the order files are ANSI: the code page stays the system's.
    EXPECT_EQ(manifest.find("<activeCodePage"), std::string::npos);
}

} // namespace
