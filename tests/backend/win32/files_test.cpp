#include "platform/backend/win32/unique_handle.h"
#include "platform/backend/win32/wide_text.h"
#include "platform/backend/win32/win32_files.h"
#include "platform/backend/win32/win32_text_codec.h"

#include <gtest/gtest.h>

namespace tavren::backend::win32 {
namespace {

// A directory of its own under %TEMP%, removed with what it holds.
class ScratchDirectory {
public:
    ScratchDirectory() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        path_ = std::wstring(temp) + L"tavren-files-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchDirectory() {
        for (const auto& f : files_)
            DeleteFileW(f.c_str());
        for (auto it = dirs_.rbegin(); it != dirs_.rend(); ++it)
            RemoveDirectoryW(it->c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::string file(const std::wstring& name, const std::string& bytes) {
        const std::wstring full = path_ + L"\\" + name;
        const UniqueHandle h(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        files_.push_back(full);
        return wideToUtf8(full);
    }
    std::string directory(const std::wstring& name) {
        const std::wstring full = path_ + L"\\" + name;
        CreateDirectoryW(full.c_str(), nullptr);
        dirs_.push_back(full);
        return wideToUtf8(full);
    }
    std::string missing() const { return wideToUtf8(path_ + L"\\missing.txt"); }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
    std::vector<std::wstring> dirs_;
};

TEST(Win32Files, ReadsTheWholeFileAsBytes) {
    ScratchDirectory dir;
    const std::string bytes("a,FF0000\r\n\x8D\x55\x8C\x82\0end", 17);
    Win32Files files;
    EXPECT_EQ(files.readPrefix(dir.file(L"tavren.txt", bytes), 1 << 20), bytes);
}

TEST(Win32Files, ReadsNoMoreThanAsked) {
    ScratchDirectory dir;
    Win32Files files;
    EXPECT_EQ(files.readPrefix(dir.file(L"long.txt", std::string(200000, 'x')), 70000),
              std::string(70000, 'x'));
}

TEST(Win32Files, FindsAFileWhoseNameIsJapanese) {
    ScratchDirectory dir;
    Win32Files files;
    EXPECT_EQ(files.readPrefix(dir.file(L"命令ファイル.txt", "order"), 100), "order");
}

TEST(Win32Files, EmptyFileReadsAsEmptyText) {
    ScratchDirectory dir;
    Win32Files files;
    EXPECT_EQ(files.readPrefix(dir.file(L"empty.txt", ""), 100), std::string());
}

TEST(Win32Files, MissingFileAndDirectoryReadAsNothing) {
    ScratchDirectory dir;
    Win32Files files;
    EXPECT_FALSE(files.readPrefix(dir.missing(), 100).has_value());
    EXPECT_FALSE(files.readPrefix(dir.directory(L"folder"), 100).has_value());
}

TEST(Win32TextCodec, ConvertsShiftJisWithTheVendorExtensions) {
    Win32TextCodec codec;
    // 攻撃 (two double-byte characters), half-width katakana ｱ, the NEC
    // extension ① and the yen sign position of JIS X 0201 as backslash.
    EXPECT_EQ(codec.legacyToUtf8("\x8D\x55\x8C\x82\xB1\x87\x40\\"), "攻撃ｱ①\\");
}

TEST(Win32TextCodec, BadBytesCostOnlyThemselves) {
    Win32TextCodec codec;
    EXPECT_EQ(codec.legacyToUtf8("ok\x81"), "ok\uFFFD");           // a lead byte cut off
    EXPECT_EQ(codec.legacyToUtf8("\x82\r\n"), "\uFFFD\r\n");       // the line end survives
    EXPECT_EQ(codec.legacyToUtf8("\x85\x40\x82\xA0"), "\uFFFDあ"); // an unassigned pair
}

TEST(Win32TextCodec, KeepsAscii) {
    Win32TextCodec codec;
    EXPECT_EQ(codec.legacyToUtf8("plain,0000FF\r*TOP=on"), "plain,0000FF\r*TOP=on");
    EXPECT_EQ(codec.legacyToUtf8(""), "");
}

} // namespace
} // namespace tavren::backend::win32
